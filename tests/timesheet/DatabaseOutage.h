#pragma once

#include "data/ConnectionString.h"
#include "data/DBConnection.h"
#include "data/SqlDialect.h"
#include "data/SqlExecutor.h"
#include "platform/UserAction.h"
#include "tests/support/Faults.h"
#include "tests/support/TestDatabases.h"

#include <memory>

// The database failing the program until End(): another session holding
// the time sheets against writers, or the database lost (the server ends
// the program's session and lets nobody in; another process takes the file
// for itself once the program's connections to it are closed).
class CDatabaseOutage {
public:
    enum class Kind { Locked, Lost };

    // `program` is the program's connection; `test` the test's own, which a
    // lost file takes from it too (it is opened again at the end).
    CDatabaseOutage(Kind kind, const QString& connectionString, CDBConnection& program,
                    CDBConnection& test)
        : m_test(test)
    {
        const bool server = CSqlDialect::DetectProvider(connectionString) == kProviderPostgres;
        if (kind == Kind::Locked) {
            m_lock = std::make_unique<CLockHolder>(connectionString, QStringLiteral("tblTimeSheet"),
                                                   CLockHolder::Hold::Writers);
            m_began = m_lock->Holding();
        } else if (server) {
            CQueryResult pid;
            QString error;
            m_refused = CConnectionString(connectionString).Value(QStringLiteral("Database"));
            m_began =
                CSqlExecutor::RunNative(program, QStringLiteral("SELECT pg_backend_pid()"), {},
                                        &pid, nullptr) &&
                TestDatabases::AdminExec(
                    QStringLiteral("ALTER DATABASE %1 ALLOW_CONNECTIONS false").arg(m_refused),
                    &error) &&
                TestDatabases::AdminExec(
                    QStringLiteral("SELECT pg_terminate_backend(%1)").arg(pid.Value(0, 0).toInt()),
                    &error);
        } else {
            program.DropConnection();
            test.ReleaseConnection(true);
            m_reopen = true;
            m_lock = std::make_unique<CLockHolder>(connectionString, QStringLiteral("tblTimeSheet"),
                                                   CLockHolder::Hold::Everyone);
            m_began = m_lock->Holding();
        }
    }
    ~CDatabaseOutage() { End(); }
    CDatabaseOutage(const CDatabaseOutage&) = delete;
    CDatabaseOutage& operator=(const CDatabaseOutage&) = delete;

    bool Began() const { return m_began; }
    void End()
    {
        m_lock.reset();
        if (!m_refused.isEmpty()) {
            QString error;
            TestDatabases::AdminExec(
                QStringLiteral("ALTER DATABASE %1 ALLOW_CONNECTIONS true").arg(m_refused), &error);
            m_refused.clear();
        }
        if (m_reopen) {
            m_test.Connect(false);
            m_reopen = false;
        }
    }

    // The user's next step: a new action, as a key or a click begins one.
    static void NextAction() { UserAction::Next(); }

private:
    CDBConnection& m_test;
    std::unique_ptr<CLockHolder> m_lock;
    QString m_refused;
    bool m_reopen = false;
    bool m_began = false;
};
