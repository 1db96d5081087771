#pragma once

#include "data/DBClass.h"
#include "data/DateTime.h"
#include "platform/ProfileStore.h"
#include "tests/support/TestDatabases.h"

#include <QStringList>
#include <QVariant>

// The facade on a database with the full schema and its seed rows, and
// what the tests over it share: profile options, days of March 2026, and
// writes the database refuses on demand. The facade connects at the start
// of each test, or, for tests of windows that connect themselves, only
// knows where to.
class FacadeDbTest : public KelvaneDbTest {
protected:
    enum class Connect { AtStart, ByWindows };
    explicit FacadeDbTest(Connect connect = Connect::AtStart)
        : m_connect(connect)
    {}

    void SetUp() override
    {
        KelvaneDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        m_db.Connection()->UseConnectionString(m_connectionString);
        if (m_connect == Connect::AtStart) {
            ASSERT_TRUE(m_db.OpenConnection());
        }
    }
    void TearDown() override
    {
        for (const QString& sql : std::as_const(m_cleanup))
            Exec(sql);
        m_db.ReleaseConnection(true, true);
        KelvaneDbTest::TearDown();
    }

    static CDateTime Day(int day, int hour = 0, int minute = 0)
    {
        return CDateTime(2026, 3, day, hour, minute);
    }
    static void Option(const char* key, const QVariant& value)
    {
        CProfileStore profile;
        profile.setValue(QLatin1String(key), value);
        profile.sync();
    }

    // Makes the database refuse a write of a kind (INSERT, UPDATE or
    // DELETE) to a table (only for rows whose column equals the value, when
    // given) until the test ends.
    void Refuse(const QString& kind, const QString& table, const QString& column = QString(),
                const QString& value = QString())
    {
        const QString name = QStringLiteral("refuse_%1_%2").arg(kind.toLower(), table.toLower());
        const QString row = kind.compare(QLatin1String("DELETE"), Qt::CaseInsensitive) == 0
                                ? QStringLiteral("OLD")
                                : QStringLiteral("NEW");
        const QString when =
            column.isEmpty()
                ? QString()
                : QStringLiteral("%1.%2 = '%3'")
                      .arg(row, column,
                           QString(value).replace(QLatin1Char('\''), QStringLiteral("''")));
        if (IsPostgres()) {
            Exec(QStringLiteral("CREATE OR REPLACE FUNCTION %1() RETURNS trigger LANGUAGE plpgsql "
                                "AS $$ BEGIN RAISE EXCEPTION 'refused by the test'; END $$")
                     .arg(name));
            Exec(QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 FOR EACH ROW %4 EXECUTE "
                                "FUNCTION %1()")
                     .arg(name, kind, table,
                          when.isEmpty() ? QString() : QStringLiteral("WHEN (%1)").arg(when)));
            m_cleanup << QStringLiteral("DROP TRIGGER IF EXISTS %1 ON %2").arg(name, table);
        } else {
            Exec(QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 %4 BEGIN SELECT RAISE(ABORT, "
                                "'refused by the test'); END")
                     .arg(name, kind, table,
                          when.isEmpty() ? QString() : QStringLiteral("WHEN %1").arg(when)));
            m_cleanup << QStringLiteral("DROP TRIGGER IF EXISTS %1").arg(name);
        }
    }

    CDBClass m_db;
    // Statements that undo what the test changed, run when it ends.
    QStringList m_cleanup;

private:
    Connect m_connect;
};
