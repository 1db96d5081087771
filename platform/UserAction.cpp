#include "platform/UserAction.h"

#include "platform/ActionOutcome.h"

#include "platform/MessageBox.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QList>
#include <QObject>
#include <QPointer>

namespace {

quint64 s_action = 1;
quint64 s_step = 1;
quint64 s_failedAction = 0;
quint64 s_unknownAction = 0;
quint64 s_toldStep = 0;
CActionFailureText* s_innermost = nullptr;

struct CStepHook {
    QPointer<QObject> owner;
    UserAction::StepHook hook;
};
QList<CStepHook>& StepHooks()
{
    static QList<CStepHook> hooks;
    return hooks;
}

bool RunStepHooks(QObject* receiver, QEvent* event)
{
    StepHooks().removeIf([](const CStepHook& h) { return h.owner.isNull(); });
    // A copy: a hook may add or end others.
    const QList<CStepHook> hooks = StepHooks();
    for (const CStepHook& h : hooks)
        if (h.owner && h.hook(receiver, event))
            return true;
    return false;
}

// The loop waits: what runs after is a new action of the same step.
void NextTurn()
{
    if (!MessageBoxShown())
        ++s_action;
}

class CActionWatch : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (MessageBoxShown())
                break;
            UserAction::Next();
            if (RunStepHooks(watched, event))
                return true;
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

namespace UserAction {

quint64 Current()
{
    return s_action;
}

void Next()
{
    ++s_action;
    ++s_step;
}

void Install(QCoreApplication* app)
{
    static QPointer<QObject> s_watch;
    if (!app || s_watch)
        return;
    auto* watch = new CActionWatch(app);
    s_watch = watch;
    app->installEventFilter(watch);
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance(app->thread()))
        QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, watch, &NextTurn);
}

void AddStepHook(QObject* owner, StepHook hook)
{
    StepHooks().append({owner, std::move(hook)});
}

void NoteFailure()
{
    s_failedAction = s_action;
}

bool FailureNoted()
{
    return s_failedAction == s_action;
}

void NoteOutcomeUnknown()
{
    s_unknownAction = s_action;
}

bool OutcomeUnknown()
{
    return s_unknownAction == s_action;
}

bool LeaveOutAsConsequence()
{
    if (!FailureNoted())
        return false;
    if (s_toldStep == s_step)
        return true;
    s_toldStep = s_step;
    return false;
}

} // namespace UserAction

CActionFailureText::CActionFailureText(QString text)
    : m_text(std::move(text))
    , m_outer(s_innermost)
{
    s_innermost = this;
}

CActionFailureText::~CActionFailureText()
{
    s_innermost = m_outer;
}

QString CActionFailureText::Current()
{
    const CActionFailureText* outermost = s_innermost;
    while (outermost && outermost->m_outer)
        outermost = outermost->m_outer;
    return outermost ? outermost->m_text : QString();
}
