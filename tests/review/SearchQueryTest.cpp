#include "review/SearchQuery.h"
#include "platform/Clock.h"
#include "tests/review/SearchFixture.h"
#include "tests/support/DesktopLocale.h"
#include "ui/ResourceIds.h"
#include "ui/TypedDate.h"

#include <algorithm>

namespace {

class SearchQueryTest : public SearchTest {
protected:
    // The values of a column in every row the query finds, sorted.
    QStringList Found(const CSearchQuery& query, const QString& column = QStringLiteral("Comment"))
    {
        CKeptResults kept;
        m_db.SetSearchViewFactory(&kept);
        QList<CMyAdoRecordSet*> recordsets;
        QList<QObject*> views;
        QString message;
        const bool ran = m_db.RunQueryToList(query.SearchText(), message, QString(), QString(),
                                             recordsets, views);
        m_db.SetSearchViewFactory(nullptr);
        EXPECT_TRUE(ran) << query.SearchText().toStdString() << "\n" << message.toStdString();
        QStringList values;
        for (CMyAdoRecordSet* rs : std::as_const(recordsets)) {
            for (rs->MoveFirst(); !rs->IsEOF(); rs->MoveNext())
                values << rs->Value(column).toString();
        }
        qDeleteAll(recordsets);
        std::sort(values.begin(), values.end());
        return values;
    }
    // One section on a time-sheet field.
    QStringList Where(const QString& caption, const QString& op, const QString& value,
                      const QString& column = QStringLiteral("Comment"))
    {
        CSearchQuery query(ID_TIMESHEETS, &m_db);
        QString message;
        EXPECT_EQ(query.AddSection(FieldIndex(query, caption), op, value, QString(), message),
                  CSearchQuery::AddResult::Added)
            << message.toStdString();
        return Found(query, column);
    }
    static int FieldIndex(const CSearchQuery& query, const QString& caption)
    {
        for (int i = 0; i < query.Fields().size(); ++i)
            if (query.Fields().at(i).caption == caption)
                return i;
        ADD_FAILURE() << "no field " << caption.toStdString();
        return -1;
    }
};

} // namespace

TEST_P(SearchQueryTest, EachKindSearchesItsBaseByItsCaptionedColumns)
{
    CSearchQuery sheets(ID_TIMESHEETS, &m_db);
    EXPECT_EQ(sheets.BaseName(), QStringLiteral("qselTimeJoinProjectTaskOrderAllFields"));
    QStringList names;
    for (const CSearchQuery::CField& field : sheets.Fields())
        names << m_db.Dialect().SelectColumn(field.name);
    EXPECT_EQ(names.size(), 15);
    EXPECT_EQ(sheets.FieldList(), names.join(QStringLiteral(", ")));
    EXPECT_EQ(names.first(), IsPostgres() ? QStringLiteral("ProjName AS \"ProjName\"")
                                          : QStringLiteral("ProjName"));
    EXPECT_EQ(sheets.Fields().at(8).name, QStringLiteral("Comment"));
    EXPECT_EQ(sheets.Fields().size(), 15);
    EXPECT_EQ(sheets.ColumnCount(), 21);
    // Nothing chosen: every row, newest first by the first column, limited.
    sheets.SetRowLimit(true, 50);
    EXPECT_EQ(sheets.ShowQueryText(),
              QStringLiteral("Select TOP 50 ") + sheets.FieldList() +
                  QStringLiteral(" from qselTimeJoinProjectTaskOrderAllFields order by "
                                 "ProjName DESC"));
    EXPECT_EQ(Found(sheets).size(), 9);

    EXPECT_EQ(CSearchQuery(ID_CONTACTS, &m_db).BaseName(),
              QStringLiteral("qselAddrCompanyJoinPerson"));
    EXPECT_EQ(CSearchQuery(ID_TASKS, &m_db).OrderField(), QStringLiteral("CommentID"));
    EXPECT_EQ(CSearchQuery(ID_CHANGE_REQUESTS, &m_db).Fields().size(), 13);
    // Other kinds have nothing to search.
    EXPECT_FALSE(CSearchQuery(ID_REVIEW, &m_db).IsKnownKind());
    EXPECT_TRUE(CSearchQuery(ID_REVIEW, &m_db).Fields().isEmpty());
}

TEST_P(SearchQueryTest, HostileValuesAreOnlyValues)
{
    EXPECT_EQ(
        Where(QStringLiteral("Comment"), QStringLiteral("="), QStringLiteral("O'Brien's bridge")),
        QStringList{QStringLiteral("O'Brien's bridge")});
    EXPECT_EQ(Where(QStringLiteral("Comment"), QStringLiteral("="),
                    QStringLiteral("'; DROP TABLE tblTimeSheet;--")),
              QStringList{QStringLiteral("'; DROP TABLE tblTimeSheet;--")});
    EXPECT_EQ(TimeSheetRows(), 9);
    EXPECT_EQ(Where(QStringLiteral("Name"), QStringLiteral("="), QStringLiteral("bob o'brien"),
                    QStringLiteral("EmpFullName")),
              QStringList(4, QStringLiteral("Bob O'Brien")));
    // Backslashes are ordinary characters, also in LIKE patterns.
    EXPECT_EQ(Where(QStringLiteral("Comment"), QStringLiteral("="), QStringLiteral("C:\\temp\\x")),
              QStringList{QStringLiteral("C:\\temp\\x")});
    EXPECT_EQ(Where(QStringLiteral("Comment"), QStringLiteral("like"), QStringLiteral("c:\\TEMP%")),
              QStringList{QStringLiteral("C:\\temp\\x")});

    // Ten thousand characters of quotes and backslashes find nothing and harm nothing.
    QString huge;
    while (huge.size() < 10000)
        huge += QStringLiteral("'\\\"; --%_");
    CSearchQuery query(ID_TIMESHEETS, &m_db);
    QString message;
    ASSERT_EQ(query.AddSection(FieldIndex(query, QStringLiteral("Comment")), QStringLiteral("LIKE"),
                               huge, QString(), message),
              CSearchQuery::AddResult::Added);
    EXPECT_EQ(Found(query), QStringList());
    EXPECT_EQ(TimeSheetRows(), 9);
}

TEST_P(SearchQueryTest, TextMatchesIgnoringCaseWithLikeWildcards)
{
    EXPECT_EQ(
        Where(QStringLiteral("Comment"), QStringLiteral("="), QStringLiteral("DESIGN REVIEW")),
        QStringList{QStringLiteral("Design review")});
    EXPECT_EQ(
        Where(QStringLiteral("Comment"), QStringLiteral("LIKE"), QStringLiteral("%Review%")),
        (QStringList{QStringLiteral("Design review"), QStringLiteral("design REVIEW notes")}));
    EXPECT_EQ(Where(QStringLiteral("Comment"), QStringLiteral("LIKE"), QStringLiteral("100%")),
              QStringList{QStringLiteral("100% done")});
    EXPECT_EQ(Where(QStringLiteral("Comment"), QStringLiteral("LIKE"), QStringLiteral("a_b")),
              (QStringList{QStringLiteral("a_b"), QStringLiteral("axb")}));
    // Without LIKE the wildcards are characters.
    EXPECT_EQ(Where(QStringLiteral("Comment"), QStringLiteral("="), QStringLiteral("a_b")),
              QStringList{QStringLiteral("a_b")});
    EXPECT_EQ(Where(QStringLiteral("Comment"), QStringLiteral("not like"), QStringLiteral("%E%")),
              (QStringList{QStringLiteral("a_b"), QStringLiteral("axb")}));
}

TEST_P(SearchQueryTest, NumbersDatesAndTranslatedValuesBecomeLiterals)
{
    // Hours are 1.0 + a quarter by id % 4: ids 3 and 7 have 1.75.
    EXPECT_EQ(Where(QStringLiteral("Hours Worked"), QStringLiteral(">"), QStringLiteral("1.5"),
                    QStringLiteral("TimesheetID")),
              (QStringList{QStringLiteral("3"), QStringLiteral("7")}));
    EXPECT_EQ(Where(QStringLiteral("Timesheet ID"), QStringLiteral("<="), QStringLiteral("2"),
                    QStringLiteral("TimesheetID")),
              (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
    EXPECT_EQ(Where(QStringLiteral("Timesheet ID"), QStringLiteral("LIKE"), QStringLiteral("%9"),
                    QStringLiteral("TimesheetID")),
              QStringList{QStringLiteral("9")});
    // Days 7, 8, 9 in turn: 8 December holds ids 2, 5, 8.
    EXPECT_EQ(Where(QStringLiteral("Work Date"), QStringLiteral("="), QStringLiteral("2026-12-08"),
                    QStringLiteral("TimesheetID")),
              (QStringList{QStringLiteral("2"), QStringLiteral("5"), QStringLiteral("8")}));
    EXPECT_EQ(Where(QStringLiteral("Work Date"), QStringLiteral(">"),
                    QStringLiteral("8/December/2026"), QStringLiteral("TimesheetID")),
              (QStringList{QStringLiteral("3"), QStringLiteral("6"), QStringLiteral("9")}));

    CSearchQuery requests(ID_CHANGE_REQUESTS, &m_db);
    QString message;
    ASSERT_EQ(requests.AddSection(FieldIndex(requests, QStringLiteral("Priority")),
                                  QStringLiteral("="), QStringLiteral("HIGH"), QString(), message),
              CSearchQuery::AddResult::Added);
    EXPECT_TRUE(requests.Filter().endsWith(QStringLiteral("Priority = 1")))
        << requests.Filter().toStdString();
    EXPECT_EQ(Found(requests, QStringLiteral("Item")), QStringList{QStringLiteral("Wider lanes")});
    CSearchQuery low(ID_CHANGE_REQUESTS, &m_db);
    low.AddSection(FieldIndex(low, QStringLiteral("Priority")), QStringLiteral("="),
                   QStringLiteral("lo"), QString(), message);
    EXPECT_EQ(Found(low, QStringLiteral("Item")), QStringList{QStringLiteral("New colour")});
    // A number stays the number it is.
    CSearchQuery two(ID_CHANGE_REQUESTS, &m_db);
    two.AddSection(FieldIndex(two, QStringLiteral("Priority")), QStringLiteral("="),
                   QStringLiteral("2"), QString(), message);
    EXPECT_EQ(Found(two, QStringLiteral("Item")), QStringList{QStringLiteral("Deeper lock")});

    // A comment's task by name: every task of that name, in any project.
    CSearchQuery comments(ID_TASKS, &m_db);
    ASSERT_EQ(comments.AddSection(FieldIndex(comments, QStringLiteral("ObjectID")),
                                  QStringLiteral("="), QStringLiteral("DESIGN"), QString(),
                                  message),
              CSearchQuery::AddResult::Added)
        << message.toStdString();
    EXPECT_EQ(Found(comments, QStringLiteral("ProjectComment")),
              (QStringList{QStringLiteral("Check the piers"), QStringLiteral("Order gravel")}));
}

TEST_P(SearchQueryTest, SectionsAreRefusedWithTheirReason)
{
    CSearchQuery query(ID_TIMESHEETS, &m_db);
    const int comment = FieldIndex(query, QStringLiteral("Comment"));
    const int id = FieldIndex(query, QStringLiteral("Timesheet ID"));
    const int date = FieldIndex(query, QStringLiteral("Work Date"));
    QString message;
    EXPECT_EQ(query.AddSection(-1, QStringLiteral("="), QString(), QString(), message),
              CSearchQuery::AddResult::NoField);
    EXPECT_EQ(query.AddSection(comment, QString(), QStringLiteral("x"), QString(), message),
              CSearchQuery::AddResult::Refused);
    EXPECT_EQ(message, CSearchQuery::OperatorMessage());
    EXPECT_EQ(query.AddSection(comment, QStringLiteral("; DROP"), QStringLiteral("x"), QString(),
                               message),
              CSearchQuery::AddResult::Refused);
    EXPECT_EQ(
        query.AddSection(id, QStringLiteral("="), QStringLiteral("1 or 1=1"), QString(), message),
        CSearchQuery::AddResult::Refused);
    EXPECT_EQ(message, QStringLiteral("1 or 1=1 is not a number"));
    EXPECT_EQ(
        query.AddSection(date, QStringLiteral("="), QStringLiteral("tomorrow"), QString(), message),
        CSearchQuery::AddResult::Refused);
    EXPECT_TRUE(message.startsWith(QStringLiteral("tomorrow is not a date")));
    EXPECT_TRUE(query.Filter().isEmpty());

    // A join for the first section is not written; the second needs one.
    ASSERT_EQ(query.AddSection(id, QStringLiteral("<"), QStringLiteral("3"), QStringLiteral("or"),
                               message),
              CSearchQuery::AddResult::Added);
    EXPECT_EQ(query.Filter(), QStringLiteral(" TimesheetID < 3"));
    EXPECT_EQ(query.AddSection(id, QStringLiteral(">"), QStringLiteral("7"), QString(), message),
              CSearchQuery::AddResult::Refused);
    EXPECT_EQ(message, CSearchQuery::JoinMessage());
    ASSERT_EQ(query.AddSection(id, QStringLiteral(">"), QStringLiteral("7"), QStringLiteral("or"),
                               message),
              CSearchQuery::AddResult::Added);
    EXPECT_EQ(query.Filter(), QStringLiteral(" TimesheetID < 3 or TimesheetID > 7"));
    EXPECT_EQ(Found(query, QStringLiteral("TimesheetID")),
              (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("8"),
                           QStringLiteral("9")}));
}

TEST_P(SearchQueryTest, TheRowLimitHolds)
{
    CSearchQuery query(ID_TIMESHEETS, &m_db);
    query.SetRowLimit(true, 4);
    EXPECT_EQ(Found(query).size(), 4);
    query.SetRowLimit(false, 4);
    EXPECT_EQ(Found(query).size(), 9);
    query.SetRowLimit(true, 0);
    EXPECT_EQ(Found(query).size(), 9);
}

TEST_P(SearchQueryTest, ASearchCanReadButNeverWrite)
{
    CKeptResults kept;
    m_db.SetSearchViewFactory(&kept);
    QList<CMyAdoRecordSet*> recordsets;
    QList<QObject*> views;
    QString message;
    EXPECT_FALSE(m_db.RunQueryToList(QStringLiteral("UPDATE tblTimeSheet SET Comment = 'gone'"),
                                     message, QString(), QString(), recordsets, views));
    EXPECT_FALSE(message.isEmpty());
    EXPECT_FALSE(m_db.RunQueryToList(QStringLiteral("DELETE FROM tblTimeSheet"), message, QString(),
                                     QString(), recordsets, views));
    EXPECT_FALSE(m_db.RunQueryToList(QStringLiteral("DROP TABLE tblChgReq"), message, QString(),
                                     QString(), recordsets, views));
    // Two statements in one text do not run either.
    EXPECT_FALSE(
        m_db.RunQueryToList(QStringLiteral("SELECT 1; UPDATE tblTimeSheet SET Comment = 'gone'"),
                            message, QString(), QString(), recordsets, views));
    m_db.SetSearchViewFactory(nullptr);
    EXPECT_TRUE(recordsets.isEmpty());
    EXPECT_EQ(TimeSheetRows(), 9);
    EXPECT_EQ(Query(QStringLiteral("SELECT count(*) FROM tblTimeSheet WHERE Comment = 'gone'"))
                  .Value(0, 0)
                  .toInt(),
              0);
    EXPECT_EQ(Query(QStringLiteral("SELECT count(*) FROM tblChgReq")).Value(0, 0).toInt(), 3);

    // A filter typed by hand is part of the one statement.
    CSearchQuery query(ID_TIMESHEETS, &m_db);
    query.SetFilter(QStringLiteral("1 = 1; DELETE FROM tblTimeSheet"));
    EXPECT_FALSE(
        m_db.RunQueryToList(query.SearchText(), message, QString(), QString(), recordsets, views));
    EXPECT_EQ(TimeSheetRows(), 9);

    // The facade's own connection writes again afterwards.
    CDbError error;
    EXPECT_TRUE(CSqlExecutor::Run(*m_db.Connection(),
                                  QStringLiteral("UPDATE tblTimeSheet SET Comment = 'kept' "
                                                 "WHERE TimesheetID = 9"),
                                  {}, nullptr, &error))
        << error.description.toStdString();
    EXPECT_EQ(Query(QStringLiteral("SELECT Comment FROM tblTimeSheet WHERE TimesheetID = 9"))
                  .Value(0, 0)
                  .toString(),
              QStringLiteral("kept"));
}

TEST_P(SearchQueryTest, ATypedFilterKeepsTrueAndFalseInsideFunctionCalls)
{
    CSearchQuery query(ID_TIMESHEETS, &m_db);
    query.SetFilter(QStringLiteral("coalesce(TimesheetID < 3, False)"));
    EXPECT_EQ(Found(query, QStringLiteral("TimesheetID")),
              (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
}

TEST_P(SearchQueryTest, DatesTypedTheDesktopWayFindTheirDays)
{
    // 8 December 2026 holds ids 2, 5 and 8; id 2 starts at 9:30.
    const CDateTime day(2026, 12, 8);
    const QStringList eighth = {QStringLiteral("2"), QStringLiteral("5"), QStringLiteral("8")};
    for (const char* locale : {"de_DE", "en_US", "fr_FR"}) {
        const CDesktopLocale desktop(locale);
        QString twoDigits = RegionalFormats().dateFormat;
        QString fourDigits = twoDigits;
        twoDigits.replace(QLatin1String("%Y"), QLatin1String("%y"));
        fourDigits.replace(QLatin1String("%y"), QLatin1String("%Y"));
        for (const QString& typed :
             {FormatDateTime(day, twoDigits), FormatDateTime(day, fourDigits),
              QLocale().toString(day.Date(), QLocale::ShortFormat)})
            EXPECT_EQ(Where(QStringLiteral("Work Date"), QStringLiteral("="), typed,
                            QStringLiteral("TimesheetID")),
                      eighth)
                << locale << " " << typed.toStdString();
        const QString start =
            FormatDateTime(day, twoDigits) + QLatin1Char(' ') + FormatTimeOfDay(9, 30);
        EXPECT_EQ(Where(QStringLiteral("Start Time"), QStringLiteral("="), start,
                        QStringLiteral("TimesheetID")),
                  QStringList{QStringLiteral("2")})
            << locale << " " << start.toStdString();

        // No year before 1 or after 9999: refused, saying what is read.
        CSearchQuery query(ID_TIMESHEETS, &m_db);
        QString message;
        for (const char* impossible : {"1/2/-001", "8.12.0000", "8/12/20260"}) {
            EXPECT_EQ(query.AddSection(FieldIndex(query, QStringLiteral("Work Date")),
                                       QStringLiteral("="), QLatin1String(impossible), QString(),
                                       message),
                      CSearchQuery::AddResult::Refused)
                << locale << " " << impossible;
            EXPECT_TRUE(message.endsWith(CTypedDate::Forms(CClock::Today())))
                << message.toStdString();
        }
        EXPECT_TRUE(query.Filter().isEmpty()) << query.Filter().toStdString();
    }
}

TEST_P(SearchQueryTest, HoursTypedWithTheDesktopsDecimalSign)
{
    // Ids 3 and 7 have 1.75 hours.
    const QStringList more = {QStringLiteral("3"), QStringLiteral("7")};
    for (const char* locale : {"de_DE", "fr_FR"}) {
        const CDesktopLocale desktop(locale);
        for (const char* hours : {"1,5", "1.5"})
            EXPECT_EQ(Where(QStringLiteral("Hours Worked"), QStringLiteral(">"),
                            QLatin1String(hours), QStringLiteral("TimesheetID")),
                      more)
                << locale << " " << hours;
    }
    // A comma that is no decimal sign, and a point that may group thousands.
    CSearchQuery query(ID_TIMESHEETS, &m_db);
    const int hours = FieldIndex(query, QStringLiteral("Hours Worked"));
    QString message;
    for (const auto& [locale, typed] : {std::pair{"en_US", "1,5"}, {"de_DE", "1.000"}}) {
        const CDesktopLocale desktop(locale);
        EXPECT_EQ(
            query.AddSection(hours, QStringLiteral("="), QLatin1String(typed), QString(), message),
            CSearchQuery::AddResult::Refused)
            << locale << " " << typed;
    }
    EXPECT_EQ(message,
              QStringLiteral("1.000 could mean 1 or 1000: type it without group separators"));
}

TEST_P(SearchQueryTest, HugeDayCountsInATypedFilterAreRefused)
{
    for (const char* filter :
         {"Format(-1e308, 'yyyy') = '2026'", "Format(1e300, 'dd/mm/yyyy') = '08/12/2026'",
          "DateDiff('m', WorkDate, -4e11) > 0", "DateDiff('yyyy', 9e18, WorkDate) < 0"}) {
        CSearchQuery query(ID_TIMESHEETS, &m_db);
        query.SetFilter(QLatin1String(filter));
        CKeptResults kept;
        m_db.SetSearchViewFactory(&kept);
        QList<CMyAdoRecordSet*> recordsets;
        QList<QObject*> views;
        QString message;
        EXPECT_FALSE(m_db.RunQueryToList(query.SearchText(), message, QString(), QString(),
                                         recordsets, views))
            << filter;
        m_db.SetSearchViewFactory(nullptr);
        EXPECT_FALSE(message.isEmpty()) << filter;
        EXPECT_TRUE(recordsets.isEmpty()) << filter;
        qDeleteAll(recordsets);
    }
}

KELVANE_INSTANTIATE_BACKENDS(SearchQueryTest);
