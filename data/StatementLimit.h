#pragma once

#include <QElapsedTimer>

class CDBConnection;

// Hears a long statement while it runs, every so often, on the thread that
// runs it: the user's way to stop a long search. False stops the statement.
class IStatementWatch {
public:
    virtual ~IStatementWatch() = default;
    virtual bool StatementRunning(qint64 elapsedMs) = 0;
    // The statement was stopped: at the time limit, or because the watch
    // said so.
    virtual void StatementStopped(bool timedOut) { Q_UNUSED(timedOut); }
};

// While it lives, the statements of the connection stop after this time limit
// instead of the connection's own, and are heard by the watch (none: only the
// limit): on a database file through SQLite's progress handler, on the server
// by waiting for the answer without blocking and cancelling the statement. A statement started
// while the watch is heard (from an event it handles) is refused: the
// connection is in the middle of another.
class CStatementLimit {
public:
    enum class Stop { None, TimedOut, Cancelled };

    CStatementLimit(CDBConnection& connection, int limitMs, IStatementWatch* watch = nullptr);
    ~CStatementLimit();
    CStatementLimit(const CStatementLimit&) = delete;
    CStatementLimit& operator=(const CStatementLimit&) = delete;

    // Why the last statement stopped early.
    Stop Stopped() const { return m_stop; }
    int LimitMs() const { return m_limitMs; }
    // Whether the watch is being heard: the connection is in the middle of
    // a statement.
    bool InWatch() const { return m_inWatch; }

    // For the back ends: false once the statement is to stop.
    bool KeepGoing();
    // The server stopped the statement at its own limit.
    void NoteTimedOut()
    {
        if (m_stop == Stop::None)
            m_stop = Stop::TimedOut;
    }

private:
    CDBConnection& m_connection;
    int m_limitMs;
    IStatementWatch* m_watch;
    CStatementLimit* m_previous;
    QElapsedTimer m_clock;
    QElapsedTimer m_sinceWatch;
    Stop m_stop = Stop::None;
    bool m_inWatch = false;
};
