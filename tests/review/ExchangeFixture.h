#pragma once

#include "data/DBClass.h"
#include "data/records/TimeSheetSet.h"
#include "platform/ProfileStore.h"
#include "tests/support/ExchangeRows.h"
#include "tests/support/ScriptedModals.h"
#include "tests/support/TestDatabases.h"
#include "tests/support/TestEnv.h"

#include <QFile>
#include <QWidget>

#include <functional>

namespace Exchange {

using namespace ExchangeRows;

inline QString ReadAll(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

inline bool WriteAll(const QString& file, const QByteArray& bytes)
{
    QFile f(file);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// The rows of tblTimeSheet without their keys, one text each, in a fixed order.
inline QStringList StoredRows(CDBConnection& connection)
{
    CTimeSheetSet set(&connection);
    EXPECT_TRUE(set.OpenTableWithQuery(nullptr, QString(),
                                       QStringLiteral("[EmpID], [WorkDate], [TimeID]")));
    QStringList rows;
    for (; !set.Recordset()->IsEOF(); set.MoveNext()) {
        QStringList cells;
        for (int i = 1; i < set.ColumnCount(); ++i) {
            const QVariant v = set.BufferValue(i);
            if (v.isNull())
                cells << QStringLiteral("NULL");
            else if (i == 7) // HoursWorked is a 32-bit float on both back ends
                cells << QString::number(v.toFloat());
            else if (v.userType() == qMetaTypeId<CDateTime>())
                cells << v.value<CDateTime>().ToIsoText();
            else
                cells << v.toString();
        }
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

// The dialog's picture, saved when pictures are asked for.
inline void Picture(QWidget& dialog, const QString& name)
{
    const QString folder = qEnvironmentVariable("KELVANE_SCREENSHOT_DIR");
    if (folder.isEmpty())
        return;
    dialog.show();
    dialog.grab().save(folder + QLatin1Char('/') + name);
    dialog.hide();
}

// Runs a dialog modally; the step acts as the user, who then closes it.
template <typename Dialog>
void RunModal(Dialog& dialog, const std::function<void(Dialog&)>& step)
{
    CScriptedModals modals;
    modals.Then([&step](CDialogBase& d) {
        step(static_cast<Dialog&>(d));
        d.OnCommand(2);
        return d.EndCode();
    });
    dialog.DoModal();
}

} // namespace Exchange

// A connected facade on a database with the shared lookups, and the rows an
// export is tested with, written through the facade's own time-sheet write.
class ExchangeTest : public KelvaneDbTest {
protected:
    void SetUp() override
    {
        KelvaneDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        for (const QString& sql : Exchange::LookupRows())
            Exec(sql);
        m_db.Connection()->UseConnectionString(m_connectionString);
        ASSERT_TRUE(m_db.OpenConnection());
        m_db.StartupInfo().BookingInterval = 15;
        CProfileStore().setValue(QStringLiteral("USER/DefUserName"), QStringLiteral("Ann Lee"));
    }
    void TearDown() override
    {
        m_db.ReleaseConnection(true, true);
        KelvaneDbTest::TearDown();
    }

    void Book(CDBClass& db, int empId, const QDate& day, int start, int stop, int projId,
              int taskId, int workTypeId, const QString& comment, int timeId,
              int changeRequest = -1)
    {
        ExchangeRows::Book(db, {empId, day, start, stop, projId, taskId, workTypeId, comment,
                                timeId, changeRequest});
    }
    // The rows the exchange tests carry: commas and line breaks in comments,
    // quotes and letters beyond ASCII, a link to a change request, the end
    // of the day, no work type of the entry's own.
    void BookSamples(CDBClass& db)
    {
        using namespace Exchange;
        const QDate mon(2026, 3, 2);
        Book(db, kAnn, mon, 540, 630, kApollo, kBuild, -1,
             QStringLiteral("Kick-off, with notes\nand more"), 1);
        Book(db, kAnn, mon, 630, 720, kApollo, kTest, -1,
             QString::fromUtf8("Ann's \"quoted\" café ✓"), 2);
        Book(db, kAnn, mon.addDays(1), 1320, 1440, kApollo, kBuild, 3, QStringLiteral("Late"), 1,
             kChangeRequest);
        Book(db, kBob, mon, 540, 585, kBridge, kSpan, 4, QStringLiteral("Deck"), 1);
        Book(db, kBob, mon.addDays(2), 780, 1020, kBridge, kSpan, 4, QString(), 1);
    }
    int Count()
    {
        return Query(QStringLiteral("SELECT count(*) FROM tblTimeSheet")).Value(0, 0).toInt();
    }
    QString File(const QString& name) const { return TestEnv::TestDir() + QLatin1Char('/') + name; }

    CDBClass m_db;
};
