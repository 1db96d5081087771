#include "app/UnreadWindows.h"

#include "app/HubWindow.h"
#include "data/DBClass.h"
#include "data/DBConnection.h"
#include "platform/UserAction.h"

#include <QEvent>
#include <QPointer>
#include <QWidget>

CUnreadWindows::CUnreadWindows(CDBClass* db, QObject* parent)
    : QObject(parent)
    , m_db(db)
{
    UserAction::AddStepHook(this, [this](QObject* receiver, QEvent*) { return OnStep(receiver); });
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
    if (!read && !outage)
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

void CUnreadWindows::TryNow(QWidget* window)
{
    const auto it = m_unread.find(window);
    if (it == m_unread.end() || it->triedAction == UserAction::Current() || !m_db)
        return;
    it->triedAction = UserAction::Current();
    if (!m_db->Connection()->ConnectedQuietly())
        return;
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

bool CUnreadWindows::OnStep(QObject* receiver)
{
    if (m_unread.isEmpty() || !receiver->isWidgetType())
        return false;
    QWidget* window = static_cast<QWidget*>(receiver)->window();
    if (!m_unread.contains(window))
        return false;
    const QPointer<QObject> alive(receiver);
    TryNow(window);
    // A window that read again may have made its controls anew: a press on
    // one that is gone goes nowhere.
    return alive.isNull();
}

bool CUnreadWindows::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::WindowTitleChange && watched->isWidgetType()) {
        auto* window = static_cast<QWidget*>(watched);
        if (m_unread.contains(window) && !window->windowTitle().endsWith(CaptionNote()))
            Mark(window, true);
    }
    return false;
}
