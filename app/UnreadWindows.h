#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

class CDBClass;
class IHubWindow;
class QWidget;

// The hub's windows that could not read what they show from the database
// (it could not be reached, had no free connection, kept a lock): each says
// so in its caption instead of passing for a window with nothing in it, and
// reads again at the user's next click or key in it once a connection can be
// had, without a word while none can. What was not read was told once.
class CUnreadWindows : public QObject {
public:
    CUnreadWindows(CDBClass* db, QObject* parent);

    // A read of the window's failed (read false; only an outage of the
    // database counts) or it read everything it shows; a read in the action
    // of an outage is no read.
    void Note(QWidget* window, IHubWindow* hubWindow, const QString& name, bool read);
    bool IsUnread(const QWidget* window) const { return m_unread.contains(window); }
    // Reads the window again now when it is unread and a connection can be
    // had quietly; once per action. True when it read again.
    bool TryNow(QWidget* window);
    // The window is gone (also while it is being destroyed).
    void Forget(const QObject* window);

    // What the caption of an unread window ends with.
    static QString CaptionNote();
    // A window reads again for a key or click of the user's, which goes no
    // further: meant for what the window showed before, it does nothing
    // else. A window that does not show that by itself (a list read anew
    // does) says so.
    static bool ReadingAtStep() { return s_readingAtStep; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct CEntry {
        IHubWindow* hubWindow = nullptr;
        QString name;
        quint64 triedAction = 0;
    };
    void Mark(QWidget* window, bool unread);
    // A key or press begins a step in a window: true when it read the window
    // again, and the key or press goes no further.
    bool OnStep(QObject* receiver, QEvent* event);
    // The rest of a click whose press read its window again (its release,
    // the second click of a double click) goes nowhere either.
    bool RestOfClick(QObject* receiver, QEvent* event);
    void EndClick();

    CDBClass* m_db;
    QHash<const QWidget*, CEntry> m_unread;
    // The window reading again now, and whether it told what it read.
    const QWidget* m_reading = nullptr;
    bool m_readReported = false;
    static inline bool s_readingAtStep = false;
    // The window of the click that read it again, and when it was pressed.
    QPointer<QWidget> m_clickWindow;
    quint64 m_clickTime = 0;
};
