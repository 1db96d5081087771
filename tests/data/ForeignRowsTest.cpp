#include "data/DBClass.h"
#include "data/records/CompanyDetailSet.h"
#include "tests/support/ContactsFixture.h"
#include "tests/support/SeedRows.h"
#include "tests/support/TestEnv.h"

// Rows as the sibling program may store them: whatever the schema allows,
// not only what this program writes. Such a row is shown, a value that
// cannot be shown is told once naming the row, and nothing the user did
// not change is written back.

namespace {

constexpr qint64 kBeyondInt = 5000000000LL;

} // namespace

class ForeignRowsTest : public ContactsTest {
protected:
    void SetUp() override
    {
        ContactsTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        SeedAnnsProjects(
            [this](const QString& sql, const QVariantList& values) { Exec(sql, values); });
        m_db.StartupInfo().BookingInterval = 15;
    }

    // The comment's UTF-8 bytes as the database spells them, not as read.
    QString StoredComment(int timeId)
    {
        return Query(IsPostgres() ? QStringLiteral("SELECT upper(encode(convert_to(Comment, "
                                                   "'UTF8'), 'hex')) FROM tblTimeSheet WHERE "
                                                   "TimeID = ?")
                                  : QStringLiteral("SELECT hex(Comment) FROM tblTimeSheet WHERE "
                                                   "TimeID = ?"),
                     {timeId})
            .Value(0, 0)
            .toString();
    }
    static QString Hex(const QString& text)
    {
        return QString::fromLatin1(text.toUtf8().toHex().toUpper());
    }

    // An entry of Ann's on the test day.
    CTimeSheetWrite Entry(bool isUpdate, int start, int stop, const QString& comment) const
    {
        CTimeSheetWrite e;
        e.IsUpdate = isUpdate;
        e.WorkDate = m_day;
        e.EmpID = 1;
        e.ProjID = 1;
        e.OrderID = 1;
        e.TaskID = 1;
        e.OrderHourRate = 80;
        e.Start = start;
        e.Stop = stop;
        e.Comment = comment;
        e.TimeID = 1;
        return e;
    }
    QStringList Messages() const { return CRecordingMessages::Current().Texts(); }

    const CDateTime m_day{2026, 12, 8};
};

TEST_P(ForeignRowsTest, ADayWithAnObjectIdBeyondTheProgramsIntegersIsShownAndKept)
{
    if (IsPostgres())
        GTEST_SKIP() << "the server's integer columns hold no more than the program's";
    Exec(QStringLiteral("INSERT INTO tblTimeSheet (EmpID, ProjID, OrderID, WorkDate, StartTime, "
                        "StopTime, HoursWorked, TaskID, Comment, TimeID, ObjectTypeID, ObjectID) "
                        "VALUES (1, 1, 1, '2026-12-08 00:00:00', '2026-12-08 09:00:00', "
                        "'2026-12-08 10:00:00', 1, 1, 'linked elsewhere', 1, 40, ?), (1, 1, 1, "
                        "'2026-12-08 00:00:00', '2026-12-08 11:00:00', '2026-12-08 12:00:00', 1, "
                        "1, 'plain', 2, NULL, NULL)"),
         {kBeyondInt});
    ASSERT_TRUE(m_db.EnsureDayLoaded(1, m_day.Date(), true));
    ASSERT_EQ(m_db.DayEntries().size(), 2);
    const QStringList told = Messages();
    ASSERT_EQ(told.size(), 1) << told.join('|').toStdString();
    EXPECT_TRUE(told.first().contains(QStringLiteral("tblTimeSheet")));
    EXPECT_TRUE(told.first().contains(QStringLiteral("TimesheetID 1")));
    EXPECT_TRUE(told.first().contains(QStringLiteral("ObjectID 5000000000")));

    // Moving the block rewrites its times, not the link; the day is read
    // again without a second message.
    CTimeSheetWrite moved = Entry(true, 480, 540, QStringLiteral("linked elsewhere"));
    ASSERT_EQ(m_db.UpdateTimeData(nullptr, moved), kWriteOk) << Messages().join('|').toStdString();
    ASSERT_TRUE(m_db.EnsureDayLoaded(1, m_day.Date(), true));
    EXPECT_EQ(Messages().size(), 1) << Messages().join('|').toStdString();
    const CQueryResult row = Query(QStringLiteral(
        "SELECT ObjectTypeID, ObjectID, StartTime FROM tblTimeSheet WHERE TimeID = 1"));
    EXPECT_EQ(row.Value(0, 0).toInt(), 40);
    EXPECT_EQ(row.Value(0, 1).toLongLong(), kBeyondInt);
    EXPECT_EQ(row.Value(0, 2).toString().left(16), QStringLiteral("2026-12-08 08:00"));
}

TEST_P(ForeignRowsTest, ACompanyOpensAndAnEditOfItsPhoneKeepsWhatTheProgramCannotHold)
{
    // A page longer than its column only fits where texts have no width.
    const QString page = IsPostgres() ? QStringLiteral("www.example.com/")
                                      : QStringLiteral("www.example.com/") + QString(284, 'p');
    const int id = AddCompany(QStringLiteral("Kauri Ltd"), {}, page);
    Exec(QStringLiteral("UPDATE tblAddrCompany SET MarkOutOf10 = 40000 WHERE CompanyID = ?"), {id});

    // As the contacts window reads it: the company, then its row for the edit.
    for (int pass = 0; pass < 2; ++pass) {
        CCompanyDetailSet set(m_db.Connection());
        set.Recordset()->SetQuiet(true);
        set.Recordset()->SetFilter(QStringLiteral("[CompanyID] = ?"), {id});
        ASSERT_TRUE(m_db.OpenRecordSet(&set)) << Messages().join('|').toStdString();
        ASSERT_FALSE(set.Recordset()->IsEOF());
        EXPECT_EQ(set.m_WWWpage, page);
        m_db.CloseRecordSet(&set);
    }
    CCompanyValues values;
    values.CompanyName = QStringLiteral("Kauri Ltd");
    values.Address1 = QStringLiteral("1 Quay St");
    values.Phone = QStringLiteral("09 555 0199");
    values.WWWpage = page;
    values.AddressComment = QStringLiteral("Deliveries at the back");
    QString reason;
    ASSERT_EQ(m_db.UpdateCompany(id, values, {}, reason), ContactResult::Ok)
        << reason.toStdString();

    const CQueryResult row =
        Query(QStringLiteral(
                  "SELECT Phone, WWWpage, MarkOutOf10 FROM tblAddrCompany WHERE CompanyID = ?"),
              {id});
    EXPECT_EQ(row.Value(0, 0).toString(), QStringLiteral("09 555 0199"));
    EXPECT_EQ(row.Value(0, 1).toString(), page);
    EXPECT_EQ(row.Value(0, 2).toInt(), 40000);
    const QStringList told = Messages();
    ASSERT_EQ(told.size(), 1) << told.join('|').toStdString();
    EXPECT_TRUE(told.first().contains(QStringLiteral("CompanyID %1").arg(id)));
    EXPECT_TRUE(told.first().contains(QStringLiteral("MarkOutOf10 40000")));
}

TEST_P(ForeignRowsTest, ADatedRowDecidesOverAnUndatedOneOnBothBackEnds)
{
    // The database's version: an undated active row of an older revision.
    Exec(QStringLiteral("INSERT INTO ztlkpDbInfo (dbVersion, isActive) VALUES (1.5, ?)"), {true});
    QString text;
    EXPECT_TRUE(m_db.CheckDbVersion(2.2, text, false));
    EXPECT_EQ(text, QStringLiteral("2.21"));
    EXPECT_TRUE(m_db.ReadStartupInfo());
    EXPECT_EQ(m_db.StartupInfo().DbVersionText, QStringLiteral("2.21"));

    // A change request's latest action: the dated one, not one without a date.
    Exec(QStringLiteral("INSERT INTO tblChgReq (ChgReqID, ProjID, Item) VALUES (3, 1, 'Ramp')"));
    Exec(QStringLiteral("INSERT INTO tblChgReqAction (ChgReqID, DateAssigned, Comment) VALUES "
                        "(3, '2026-12-01 00:00:00', 'dated'), (3, NULL, 'undated')"));
    EXPECT_EQ(Query(QStringLiteral("SELECT Comment FROM qSelChgReqBase WHERE ChgReqID = 3"))
                  .Value(0, 0)
                  .toString(),
              QStringLiteral("dated"));
}

TEST_P(ForeignRowsTest, TextBeginningWithAByteOrderMarkIsStoredAndReadAsTyped)
{
    const QString texts[] = {
        QChar(0xFFFE) + QStringLiteral("abc def"),
        QChar(0xFEFF) + QStringLiteral("abc"),
        QString(2, QChar(0xFEFF)) + QStringLiteral(" twice"),
    };
    int timeId = 0;
    for (const QString& text : texts) {
        SCOPED_TRACE(Hex(text).toStdString());
        // The time sheet's own write, then a move of the block.
        ++timeId;
        CTimeSheetWrite e = Entry(false, timeId * 60, timeId * 60 + 30, text);
        e.TimeID = timeId;
        ASSERT_EQ(m_db.UpdateTimeData(nullptr, e), kWriteOk) << Messages().join('|').toStdString();
        EXPECT_EQ(StoredComment(timeId), Hex(text));
        e.IsUpdate = true;
        e.Comment = text + QStringLiteral(".");
        ASSERT_EQ(m_db.UpdateTimeData(nullptr, e), kWriteOk);
        EXPECT_EQ(StoredComment(timeId), Hex(text + QStringLiteral(".")));

        // Read back as stored, through the day.
        ASSERT_TRUE(m_db.EnsureDayLoaded(1, m_day.Date(), true));
        bool found = false;
        for (const CTimeSheetEntry& entry : m_db.DayEntries())
            if (entry.TimeID == timeId) {
                found = true;
                EXPECT_EQ(entry.Comment, text + QStringLiteral("."));
            }
        EXPECT_TRUE(found);
    }
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join('|').toStdString();
}

KELVANE_INSTANTIATE_BACKENDS(ForeignRowsTest);
