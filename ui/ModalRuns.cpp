#include "ui/ModalRuns.h"

#include "ui/DialogBase.h"
#include "ui/ResourceIds.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QList>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <utility>

struct CModalRuns::CRun::CData {
    QPointer<QWidget> widget;
    // A dialog without a parent runs over the window whose code started it:
    // the one active when it started.
    QPointer<QWidget> startedFrom;
};

namespace {

QList<CModalRuns::CRun*> s_runs;
QList<QPointer<QWidget>> s_closing;
QList<QPointer<QWidget>> s_pending;
struct CAfter {
    QPointer<QObject> context;
    std::function<void()> then;
};
QList<CAfter> s_after;
QMetaObject::Connection s_idle;

bool IsUnder(const QWidget* widget, const QWidget* window)
{
    for (const QWidget* w = widget; w; w = w->parentWidget())
        if (w == window)
            return true;
    return false;
}

// A modal dialog or a popup menu on screen: a run whether or not it was
// registered (the control libraries' menus, Qt's own dialogs).
bool IsShownRun(const QWidget* widget)
{
    return widget->isWindow() && widget->isVisible() &&
           (widget->isModal() || widget->windowType() == Qt::Popup);
}

QList<QWidget*> RunWidgetsOver(const QWidget* window)
{
    QList<QWidget*> widgets;
    for (CModalRuns::CRun* run : std::as_const(s_runs))
        if (QWidget* widget = run->Widget();
            widget && (IsUnder(widget, window) || IsUnder(run->StartedFrom(), window)))
            widgets << widget;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget != window && IsShownRun(widget) && IsUnder(widget, window) &&
            !widgets.contains(widget))
            widgets << widget;
    return widgets;
}

// Ends a run the way its own Cancel would, without asking anything.
void EndRun(QWidget* widget)
{
    if (auto* dialog = qobject_cast<CDialogBase*>(widget)) {
        if (dialog->EndCode() == 0)
            dialog->EndDialog(IDCANCEL);
    } else if (auto* dialog = qobject_cast<QDialog*>(widget)) {
        if (dialog->isVisible())
            dialog->done(QDialog::Rejected);
    } else if (widget->isVisible()) {
        widget->close();
    }
}

void RunAfter()
{
    const QList<CAfter> after = std::exchange(s_after, {});
    for (const CAfter& a : after)
        if (a.context)
            QTimer::singleShot(0, a.context.data(), a.then);
}

void Prune()
{
    s_pending.removeAll(QPointer<QWidget>());
    s_closing.removeAll(QPointer<QWidget>());
    if (!s_pending.isEmpty())
        return;
    if (s_idle)
        QObject::disconnect(s_idle);
    s_idle = {};
    RunAfter();
}

// The main loop is about to wait: nothing of the program is on the stack.
void OnIdle()
{
    if (QThread::currentThread()->loopLevel() > 1)
        return;
    for (const QPointer<QWidget>& window : std::exchange(s_pending, {})) {
        if (window && CModalRuns::HasRunsOver(window))
            s_pending.append(window);
        else
            delete window.data();
    }
    Prune();
}

// Without an event loop (tests driving events themselves) a window waits
// only until the last run over it has returned.
void DeleteLaterWhenFree()
{
    if (QThread::currentThread()->loopLevel() > 0)
        return;
    for (const QPointer<QWidget>& window : std::as_const(s_pending))
        if (window && !CModalRuns::HasRunsOver(window))
            window->deleteLater();
}

} // namespace

CModalRuns::CRun::CRun(QWidget* widget)
    : m_data(new CData{widget, {}})
{
    if (widget && !widget->parentWidget())
        m_data->startedFrom = QApplication::activeWindow();
    s_runs.append(this);
}

CModalRuns::CRun::~CRun()
{
    s_runs.removeOne(this);
    delete m_data;
    if (!s_pending.isEmpty())
        DeleteLaterWhenFree();
}

QWidget* CModalRuns::CRun::Widget() const
{
    return m_data->widget.data();
}

QWidget* CModalRuns::CRun::StartedFrom() const
{
    return m_data->startedFrom.data();
}

bool CModalRuns::HasRunsOver(const QWidget* window)
{
    return window && !RunWidgetsOver(window).isEmpty();
}

bool CModalRuns::IsClosing(const QWidget* widget)
{
    for (const QPointer<QWidget>& window : std::as_const(s_closing))
        if (window && IsUnder(widget, window))
            return true;
    return false;
}

void CModalRuns::CloseAndDelete(QWidget* window, const std::function<void()>& closeRoutine)
{
    if (!window)
        return;
    const bool runsBefore = HasRunsOver(window);
    QPointer<QWidget> guard(window);
    // Deleted here, never by a deferred delete inside some nested loop.
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    s_closing.append(guard);
    // The window's own close first: it ends the runs it knows as it chooses.
    if (closeRoutine)
        closeRoutine();
    if (!guard)
        return;
    // Then whatever still runs over it, innermost first; an ended run's
    // code may start another, which ends at once (IsClosing).
    for (int round = 0; round < 8; ++round) {
        QList<QWidget*> runs = RunWidgetsOver(window);
        bool ended = false;
        for (auto it = runs.crbegin(); it != runs.crend(); ++it) {
            QPointer<QWidget> run(*it);
            if (!run)
                continue;
            const bool open =
                run->isVisible() || (qobject_cast<CDialogBase*>(run.data()) &&
                                     static_cast<CDialogBase*>(run.data())->EndCode() == 0);
            EndRun(run);
            ended = ended || open;
        }
        if (!ended)
            break;
    }
    if (!runsBefore && !HasRunsOver(window)) {
        s_closing.removeAll(guard);
        delete window;
        return;
    }
    window->hide();
    s_pending.append(guard);
    QObject::connect(window, &QObject::destroyed, qApp, [] { QTimer::singleShot(0, qApp, Prune); });
    if (!s_idle)
        if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
            s_idle = QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, qApp,
                                      &OnIdle);
}

bool CModalRuns::HasPendingDeletions()
{
    for (const QPointer<QWidget>& window : std::as_const(s_pending))
        if (window)
            return true;
    return false;
}

void CModalRuns::AfterPendingDeletions(QObject* context, std::function<void()> then)
{
    s_after.append({context, std::move(then)});
    if (!HasPendingDeletions())
        RunAfter();
}

void CModalRuns::DeletePendingNow()
{
    const QList<QPointer<QWidget>> pending = std::exchange(s_pending, {});
    for (const QPointer<QWidget>& window : pending)
        delete window.data();
    Prune();
}
