#include "platform/UserAction.h"

#include "platform/MessageBox.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QPointer>

namespace {

quint64 s_action = 1;
quint64 s_failedAction = 0;
quint64 s_toldAction = 0;
CActionFailureText* s_innermost = nullptr;

void NextUnlessMessageShown()
{
    if (!MessageBoxShown())
        UserAction::Next();
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
            NextUnlessMessageShown();
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
        QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, watch,
                         &NextUnlessMessageShown);
}

void NoteFailure()
{
    s_failedAction = s_action;
}

bool FailureNoted()
{
    return s_failedAction == s_action;
}

bool LeaveOutAsConsequence()
{
    if (!FailureNoted())
        return false;
    if (s_toldAction == s_action)
        return true;
    s_toldAction = s_action;
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
