#include "app/UnreadWindows.h"

#include "app/HubWindow.h"
#include "data/DBClass.h"
#include "data/DBConnection.h"
#include "platform/UserAction.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QStyleHints>
#include <QWidget>

CUnreadWindows::CUnreadWindows(CDBClass* db, QObject* parent)
    : QObject(parent)
    , m_db(db)
{
    UserAction::AddStepHook(
        this, [this](QObject* receiver, QEvent* event) { return OnStep(receiver, event); });
}

QString CUnreadWindows::CaptionNote()
{
    return QStringLiteral(" (not read from the database)");
}

void CUnreadWindows::Note(QWidget* window, IHubWindow* hubWindow, const QString& name, bool read)
{
    if (!window)
        return;
    if (window == m_reading)
        m_readReported = true;
    // Only a database that could not be had is waited for: a read that it
    // refused would be refused again at every click.
    const bool outage = m_db && m_db->Connection()->OutageInThisAction();
    // A connection lost under the read is an outage too.
    if (!read && !outage && !UserAction::FailureNoted())
        return;
    if (read && outage)
        read = false;
    if (read) {
        if (m_unread.remove(window) > 0)
            Mark(window, false);
        return;
    }
    CEntry& entry = m_unread[window];
    entry.hubWindow = hubWindow;
    entry.name = name;
    // The action that failed does not try again.
    entry.triedAction = UserAction::Current();
    Mark(window, true);
}

void CUnreadWindows::Forget(const QObject* window)
{
    // No filter is taken from a window being destroyed: it goes with it.
    for (auto it = m_unread.begin(); it != m_unread.end();)
        it = it.key() == window ? m_unread.erase(it) : std::next(it);
}

bool CUnreadWindows::TryNow(QWidget* window)
{
    const auto it = m_unread.find(window);
    if (it == m_unread.end() || it->triedAction == UserAction::Current() || !m_db)
        return false;
    it->triedAction = UserAction::Current();
    if (!m_db->Connection()->ConnectedQuietly())
        return false;
    const CEntry entry = *it;
    const QPointer<QWidget> alive(window);
    m_reading = window;
    m_readReported = false;
    {
        const CActionFailureText heading(
            QStringLiteral("%1 could not read the database.").arg(entry.name));
        entry.hubWindow->ReadAgain();
    }
    m_reading = nullptr;
    // A window that says nothing of what it read has read it.
    if (alive && !m_readReported)
        Note(window, entry.hubWindow, entry.name, true);
    return true;
}

void CUnreadWindows::Mark(QWidget* window, bool unread)
{
    const QString note = CaptionNote();
    QString title = window->windowTitle();
    if (unread) {
        // A window that names itself anew still says it is not read.
        window->installEventFilter(this);
        if (!title.endsWith(note))
            window->setWindowTitle(title + note);
    } else {
        window->removeEventFilter(this);
        if (title.endsWith(note))
            window->setWindowTitle(title.chopped(note.size()));
    }
}

bool CUnreadWindows::OnStep(QObject* receiver, QEvent* event)
{
    if (m_unread.isEmpty() || !receiver->isWidgetType())
        return false;
    QWidget* window = static_cast<QWidget*>(receiver)->window();
    if (!m_unread.contains(window))
        return false;
    const QPointer<QObject> alive(receiver);
    const QPointer<QWidget> windowAlive(window);
    s_readingAtStep = true;
    const bool read = TryNow(window);
    s_readingAtStep = false;
    if (!read)
        return alive.isNull();
    // The key or press was meant for what the window showed before it read
    // again (another row may be under the pointer now): it only reads.
    if (event->type() != QEvent::KeyPress && windowAlive) {
        m_clickWindow = window;
        m_clickTime = static_cast<QInputEvent*>(event)->timestamp();
        QCoreApplication::instance()->installEventFilter(this);
    }
    return true;
}

bool CUnreadWindows::RestOfClick(QObject* receiver, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
    case QEvent::ContextMenu:
        break;
    default:
        return false;
    }
    if (!receiver->isWidgetType())
        return false;
    const bool press =
        event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
    if (static_cast<QWidget*>(receiver)->window() != m_clickWindow) {
        if (press)
            EndClick();
        return false;
    }
    if (press) {
        // A press past the double-click time is a click of its own.
        const quint64 at = static_cast<QMouseEvent*>(event)->timestamp();
        if (at < m_clickTime ||
            at - m_clickTime > quint64(QGuiApplication::styleHints()->mouseDoubleClickInterval())) {
            EndClick();
            return false;
        }
    }
    if (event->type() == QEvent::MouseMove)
        return static_cast<QMouseEvent*>(event)->buttons() != Qt::NoButton;
    return true;
}

void CUnreadWindows::EndClick()
{
    m_clickWindow = nullptr;
    QCoreApplication::instance()->removeEventFilter(this);
}

bool CUnreadWindows::eventFilter(QObject* watched, QEvent* event)
{
    if (m_clickWindow && RestOfClick(watched, event))
        return true;
    if (event->type() == QEvent::WindowTitleChange && watched->isWidgetType()) {
        auto* window = static_cast<QWidget*>(watched);
        if (m_unread.contains(window) && !window->windowTitle().endsWith(CaptionNote()))
            Mark(window, true);
    }
    return false;
}
