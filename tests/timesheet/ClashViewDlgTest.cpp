#include "timesheet/ClashViewDlg.h"
#include "data/DBClass.h"
#include "tests/support/FacadeFixture.h"
#include "tests/support/ScriptedModals.h"
#include "ui/MyListCtrl.h"
#include "ui/ResourceIds.h"

#include <QHeaderView>
#include <QLocale>

namespace {

// Weekday names in a known language.
class CEnglishLocale {
public:
    CEnglishLocale() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    ~CEnglishLocale() { QLocale::setDefault(m_saved); }
    CEnglishLocale(const CEnglishLocale&) = delete;
    CEnglishLocale& operator=(const CEnglishLocale&) = delete;

private:
    QLocale m_saved;
};

class ClashViewDlgTest : public FacadeDbTest {
protected:
    // A copy staged by this session, or by another one.
    void Stage(int emp, const QDate& day, int start, int stop, bool marked, bool ours = true)
    {
        const CDateTime d(day);
        Exec(QStringLiteral("INSERT INTO tblTimeSheet_ImportExport (EmpID, WorkDate, StartTime, "
                            "StopTime, TimeID, IgnoreThis, BatchID) VALUES (?, ?, ?, ?, ?, ?, ?)"),
             {emp, QVariant::fromValue(d), QVariant::fromValue(d.AddSecs(start * 60)),
              QVariant::fromValue(d.AddSecs(stop * 60)), 10000 + start, marked ? 1 : 0,
              m_db.ScheduleBatch() + (ours ? 0 : 1)});
    }
    // The texts of each row, and the list's headers and widths.
    QList<QStringList> Show(int empId)
    {
        QList<QStringList> rows;
        CScriptedModals modals;
        modals.Then([&rows, this](CDialogBase& dialog) {
            auto& dlg = static_cast<CClashViewDlg&>(dialog);
            CMyListCtrl* list = dlg.Control<CMyListCtrl>(CClashViewDlg::kIdList);
            EXPECT_EQ(list, dlg.List());
            QStringList headers;
            for (int c = 0; c < list->columnCount(); ++c) {
                headers << list->headerItem()->text(c);
                m_widths << list->columnWidth(c);
            }
            rows << headers;
            for (int r = 0; r < list->ItemCount(); ++r) {
                QStringList cells;
                for (int c = 0; c < list->columnCount(); ++c)
                    cells << list->ItemText(r, c);
                rows << cells;
            }
            dialog.OnCommand(IDOK);
            return IDOK;
        });
        CClashViewDlg dlg(m_db, nullptr, 1, empId, QStringLiteral("Ann Lee"),
                          QStringLiteral("Bridge"), QStringLiteral("Design"));
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("View Clashes"));
        dlg.DoModal();
        return rows;
    }

    QList<int> m_widths;
};

TEST(ClashViewFormatTest, DatesReadDayMonthYearAndTimesReadAsEverywhere)
{
    EXPECT_EQ(CClashViewDlg::FormatWorkDate(QDate(2024, 3, 5)), QStringLiteral("5\\3\\2024"));
    EXPECT_EQ(CClashViewDlg::FormatWorkDate(QDate(2026, 12, 31)), QStringLiteral("31\\12\\2026"));
    EXPECT_EQ(CClashViewDlg::FormatClashTime(CDateTime(2024, 3, 5, 9, 0)), QStringLiteral("09:00"));
    EXPECT_EQ(CClashViewDlg::FormatClashTime(CDateTime(2024, 3, 5, 23, 59)),
              QStringLiteral("24:00"));
}

TEST_P(ClashViewDlgTest, ListsTheEmployeesClashesByDayInTheirFormats)
{
    CEnglishLocale english;
    // A clash on 5 March 2024 from 09:00 to 10:30 (marked), one found by its
    // time against a booked row, a copy that does not clash and another
    // employee's clash.
    Exec(QStringLiteral("INSERT INTO tblTimeSheet (EmpID, WorkDate, StartTime, StopTime, TimeID) "
                        "VALUES (1, ?, ?, ?, 1)"),
         {QVariant::fromValue(CDateTime(2024, 3, 1)),
          QVariant::fromValue(CDateTime(2024, 3, 1, 8, 0)),
          QVariant::fromValue(CDateTime(2024, 3, 1, 9, 0))});
    Stage(1, QDate(2024, 3, 5), 540, 630, true);
    Stage(1, QDate(2024, 3, 1), 510, 600, false);
    Stage(1, QDate(2024, 3, 4), 510, 600, false);
    Stage(2, QDate(2024, 3, 2), 510, 600, true);
    Stage(1, QDate(2024, 3, 6), 510, 600, true, false); // another session's

    const QList<QStringList> rows = Show(1);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0], QStringList({"Person", "Project", "Work Date", "Work Day", "Start Time",
                                    "Stop Time", "Task"}));
    // 75 pixels a column and 150 for the task, wider where a text needs it.
    ASSERT_EQ(m_widths.size(), 7);
    for (int c = 0; c < 7; ++c)
        EXPECT_GE(m_widths[c], c == 6 ? 150 : 75) << c;
    EXPECT_EQ(m_widths[0], 75);
    EXPECT_EQ(rows[1], QStringList({"Ann Lee", "Bridge", "1\\3\\2024", "Friday", "08:30", "10:00",
                                    "Design"}));
    EXPECT_EQ(rows[2], QStringList({"Ann Lee", "Bridge", "5\\3\\2024", "Tuesday", "09:00", "10:30",
                                    "Design"}));
}

TEST_P(ClashViewDlgTest, NoClashesLeaveTheListEmpty)
{
    Stage(1, QDate(2024, 3, 4), 510, 600, false);
    const QList<QStringList> rows = Show(1);
    ASSERT_EQ(rows.size(), 1); // the headers only
    EXPECT_EQ(rows[0].size(), 7);
}

} // namespace

KELVANE_INSTANTIATE_BACKENDS(ClashViewDlgTest);
