#pragma once

#include <QString>

#include <functional>
#include <sys/types.h>

class CDBClass;
class CDBConnection;

// Faults on demand, for the tests of what the program does when things go
// wrong: a connection that fails, a server that hangs, another session
// holding a lock, a process killed between two steps, a full disk.
namespace Faults {

// A server address where nothing listens: connecting fails at once.
QString DownServerConnectionString();

// Runs work in a child process that is killed (SIGKILL, as by a crash or a
// power cut) when it reaches the fault point named `point`. True when the
// child died there; false (with the reason) when it ended otherwise.
bool RunKilledAt(const char* point, const std::function<void()>& work, QString* why = nullptr);

// Runs work in a child process; true when it finished and returned true.
bool RunInChild(const std::function<bool()>& work, QString* why = nullptr);

} // namespace Faults

// A server that accepts connections and never answers, as a hung host does.
class CSilentServer {
public:
    CSilentServer();
    ~CSilentServer();
    CSilentServer(const CSilentServer&) = delete;
    CSilentServer& operator=(const CSilentServer&) = delete;

    QString ConnectionString() const;

private:
    int m_socket = -1;
    int m_port = 0;
};

// Another session holding a lock until destroyed, as a colleague's long
// transaction or a maintenance job does. On the server a second connection
// locks the table; a database file is held by another process.
class CLockHolder {
public:
    enum class Hold {
        Writers,  // a long write: other writers wait, readers do not
        Everyone, // maintenance: readers wait too
    };
    CLockHolder(const QString& connectionString, const QString& table, Hold hold = Hold::Everyone);
    ~CLockHolder();
    CLockHolder(const CLockHolder&) = delete;
    CLockHolder& operator=(const CLockHolder&) = delete;

    bool Holding() const { return m_holding; }
    // The holding process on a file (0 on the server).
    pid_t Pid() const { return m_child; }
    // Ends the hold after `ms` milliseconds without waiting for it here (a
    // writer that finishes its work later).
    void ReleaseAfter(int ms);

private:
    CDBConnection* m_server = nullptr;
    pid_t m_child = 0;
    int m_control = -1;
    bool m_holding = false;
};

// Another session's write under way, as a colleague's booking is while this
// session acts: a child process connects a facade of its own, begins a
// transaction, runs the work in it, and commits `commitAfterMs` later.
class CWriteUnderWay {
public:
    CWriteUnderWay(const QString& connectionString, const std::function<bool(CDBClass&)>& work,
                   int commitAfterMs);
    ~CWriteUnderWay();
    CWriteUnderWay(const CWriteUnderWay&) = delete;
    CWriteUnderWay& operator=(const CWriteUnderWay&) = delete;

    // The work ran and its transaction is open.
    bool Started() const { return m_started; }
    // Waits for the child; true when the work was committed.
    bool Committed();

private:
    pid_t m_child = 0;
    bool m_started = false;
    bool m_committed = false;
};

// Work of the program's own threads held at a fault point (FaultPoint) until
// the test lets it go, as a connection that cannot answer holds it.
class CFaultGate {
public:
    explicit CFaultGate(const char* point);
    ~CFaultGate();
    CFaultGate(const CFaultGate&) = delete;
    CFaultGate& operator=(const CFaultGate&) = delete;

    void Open();
};

// Files cannot grow past `bytes` while it lives: every write beyond fails as
// on a full disk.
class CDiskFull {
public:
    explicit CDiskFull(qint64 bytes = 0);
    ~CDiskFull();
    CDiskFull(const CDiskFull&) = delete;
    CDiskFull& operator=(const CDiskFull&) = delete;

private:
    qint64 m_oldSoft = 0;
    void (*m_oldHandler)(int) = nullptr;
};
