#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// A PostgreSQL server of the test's own, on a free port of 127.0.0.1, that
// the test may stop, start again and freeze (SIGSTOP, as a hung host or a
// paused virtual machine), which the shared test server must never be.
class CPrivatePgServer {
public:
    // Settings are the server's own ("max_connections=6"), given at every
    // start; the environment ("LOCPATH=...") is the server process's.
    explicit CPrivatePgServer(const QStringList& settings = {},
                              const QStringList& environment = {});
    ~CPrivatePgServer();
    CPrivatePgServer(const CPrivatePgServer&) = delete;
    CPrivatePgServer& operator=(const CPrivatePgServer&) = delete;

    // False (with Problem()) when the server binaries are missing or it did
    // not start.
    bool Running() const { return m_running; }
    const QString& Problem() const { return m_problem; }

    // The role that signs on with a password (scram); the others need none.
    static constexpr const char* kPasswordRole = "kelvane_pw";

    // A new database with Kelvane's tables and seed rows; its connection
    // string ("" on failure, with Problem()).
    QString NewKelvaneDatabase(const QString& name);
    // A new database owned by a role that is no superuser (made when
    // missing), filled by it with the tables and the first rows, as the
    // README has an administrator make one; the role's connection string.
    QString NewOwnedKelvaneDatabase(const QString& name, const QString& role);
    // Where it listens, in the form KELVANE_TEST_PG gives the shared test
    // server ("host=... port=... user=..."): fixtures that make their
    // databases on the test server make them here once it is set there.
    QString Settings() const;

    bool Stop();
    bool Start();
    // Every process of the server stops (or goes on) where it is.
    bool Freeze();
    bool Thaw();

private:
    bool PgCtl(const QStringList& arguments);
    bool SignalAll(int signal);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_bin;
    int m_port = 0;
    bool m_running = false;
    bool m_frozen = false;
    QStringList m_settings;
    QStringList m_environment;
    QString m_problem;
};
