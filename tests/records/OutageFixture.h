#pragma once

#include "data/DBClass.h"
#include "platform/UserAction.h"
#include "tests/support/Faults.h"
#include "tests/support/PrivateServer.h"
#include "tests/support/ScriptedModals.h"
#include "tests/support/TestDatabases.h"
#include "tests/support/TestEnv.h"
#include "ui/ResourceIds.h"

#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

// The test program's own PostgreSQL server, which its tests may stop and
// freeze: it serves as the test server (KELVANE_TEST_PG) of every fixture
// of the program, from before the first test to after the last database
// is dropped.
class COwnServerEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        s_server = new CPrivatePgServer;
        if (s_server->Running())
            qputenv("KELVANE_TEST_PG", s_server->Settings().toLocal8Bit());
    }
    void TearDown() override
    {
        delete s_server;
        s_server = nullptr;
    }
    static CPrivatePgServer* Server() { return s_server; }

private:
    static inline CPrivatePgServer* s_server = nullptr;
};

// Once for the program, before its tests run.
inline ::testing::Environment* const g_ownServerEnvironment =
    ::testing::AddGlobalTestEnvironment(new COwnServerEnvironment);

// A write of a window while the database fails: where the user takes it
// (a dialog open, a row chosen), the write itself as the window's own tests
// take it, what its one message must say was not done, and the rows it
// changes once the database answers.
struct CWriteCase {
    // The server stops or the disk fills; or the server stops answering, or
    // another program's long write keeps the database file locked.
    enum class Fault { Fails, Hangs };

    const char* name;
    // Opens what the write is taken in and runs `inside` there.
    std::function<void(const std::function<void()>& inside)> within;
    std::function<void()> write;
    QString notDone;
    QString rows;
    Fault fault = Fault::Fails;
    // The answers to the questions the write asks first.
    QList<int> answers = {};
};

// Takes the write where nothing needs opening first.
inline void Directly(const std::function<void()>& inside)
{
    inside();
}

// A write in a dialog the window runs modally: `open` starts it, `fill`
// fills it, and the write is a command (or a step) in it.
template <typename Dialog>
struct CModalWrite {
    Dialog* dialog = nullptr;

    std::function<void(const std::function<void()>&)> Within(std::function<void()> open,
                                                             std::function<void(Dialog&)> fill)
    {
        return [this, open, fill](const std::function<void()>& inside) {
            CScriptedModals modals;
            modals.Then([this, fill, &inside](CDialogBase& base) {
                dialog = &static_cast<Dialog&>(base);
                fill(*dialog);
                inside();
                const int code = dialog->EndCode();
                dialog = nullptr;
                return code != 0 ? code : int(IDCANCEL);
            });
            open();
        };
    }
    std::function<void()> Press(int command)
    {
        return Do([command](Dialog& d) { d.OnCommand(command); });
    }
    std::function<void()> Do(std::function<void(Dialog&)> step)
    {
        return [this, step] {
            if (dialog)
                step(*dialog);
        };
    }
};

// A window fixture (over DbTest, with the program's facade m_db) whose
// database fails while the test drives the window.
template <typename Base>
class OutageTest : public Base {
protected:
    using Fault = CWriteCase::Fault;
    using Base::Base;

    void SetUp() override
    {
        if (this->IsPostgres()) {
            CPrivatePgServer* server = COwnServerEnvironment::Server();
            if (!server || !server->Running()) {
                const std::string why = server ? server->Problem().toStdString() : "no server";
                if (TestDatabases::PostgresRequired())
                    FAIL() << why;
                GTEST_SKIP() << why;
            }
        }
        Base::SetUp();
    }
    void TearDown() override
    {
        DatabaseBack();
        Base::TearDown();
    }

    void DatabaseFails(Fault fault)
    {
        // The test's own connection must neither hold the file nor be lost.
        this->m_conn.ReleaseConnection(true);
        m_failing = true;
        CPrivatePgServer* server = COwnServerEnvironment::Server();
        if (fault == Fault::Hangs) {
            this->m_db.Connection()->SetWaitLimits({300, 1500});
            if (this->IsPostgres()) {
                ASSERT_TRUE(server->Freeze());
            } else {
                m_lock.emplace(this->m_connectionString, QStringLiteral("tblProperty"),
                               CLockHolder::Hold::Writers);
                ASSERT_TRUE(m_lock->Holding());
            }
        } else if (this->IsPostgres()) {
            ASSERT_TRUE(server->Stop()) << server->Problem().toStdString();
        } else {
            m_full.emplace(0);
        }
    }
    void DatabaseBack()
    {
        if (!m_failing)
            return;
        m_failing = false;
        m_full.reset();
        m_lock.reset();
        if (this->IsPostgres()) {
            CPrivatePgServer* server = COwnServerEnvironment::Server();
            server->Thaw();
            if (!server->Running()) {
                EXPECT_TRUE(server->Start()) << server->Problem().toStdString();
            }
        }
        this->m_db.Connection()->SetWaitLimits({});
        EXPECT_TRUE(this->m_conn.Connect(false)) << this->m_conn.LastOpenError().toStdString();
        UserAction::Next();
    }

    // The rows of a statement, as one text.
    QString Rows(const QString& sql)
    {
        const CQueryResult rows = this->Query(sql);
        QStringList cells;
        for (int r = 0; r < rows.rows; ++r)
            for (int c = 0; c < rows.ColumnCount(); ++c)
                cells << CDBClass::VariantToString(rows.Value(r, c));
        return cells.join(QLatin1Char('|'));
    }

    // Each try while the database fails (the first meets the loss, the
    // next one a database that cannot be reached) tells one message that
    // says what was not done, in plain words, and stores nothing; once it
    // answers again the same write stores.
    void Check(const CWriteCase& c)
    {
        SCOPED_TRACE(c.name);
        CRecordingMessages& messages = CRecordingMessages::Current();
        const QString before = Rows(c.rows);
        const auto write = [&] {
            UserAction::Next();
            messages.Clear();
            for (int answer : c.answers)
                messages.Answer(answer);
            c.write();
            return messages.Texts().mid(c.answers.size());
        };
        bool inside = false;
        c.within([&] {
            inside = true;
            DatabaseFails(c.fault);
            for (int attempt = 1; attempt <= 2; ++attempt) {
                SCOPED_TRACE(attempt);
                const QStringList told = write();
                const std::string all = told.join(QStringLiteral(" | ")).toStdString();
                EXPECT_EQ(told.size(), 1) << all;
                EXPECT_TRUE(!told.isEmpty() && told.first().contains(c.notDone)) << all;
                for (const char* driver :
                     {"QPSQL", "server closed the connection", "canceling statement",
                      "database is locked", "Unable to connect", "terminating connection",
                      "ERROR:", "FATAL:", "Not connected to a database", "disk I/O error",
                      "database or disk is full"})
                    EXPECT_FALSE(told.join(QLatin1Char(' ')).contains(QLatin1String(driver)))
                        << all;
            }
            DatabaseBack();
            EXPECT_EQ(Rows(c.rows), before) << "stored while the database failed";
            for (const QString& text : write())
                EXPECT_FALSE(text.contains(c.notDone)) << text.toStdString();
            EXPECT_NE(Rows(c.rows), before) << "not stored once the database answered";
        });
        DatabaseBack();
        EXPECT_TRUE(inside);
    }

private:
    bool m_failing = false;
    std::optional<CDiskFull> m_full;
    std::optional<CLockHolder> m_lock;
};
