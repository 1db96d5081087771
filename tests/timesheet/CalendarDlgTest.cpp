#include "timesheet/CalendarDlg.h"
#include "tests/support/ScriptedModals.h"
#include "ui/ResourceIds.h"

#include <gtest/gtest.h>

TEST(CalendarDlg, StartsAtTodayAndReturnsItWithoutAClick)
{
    CScriptedModals modals;
    modals.Then([](CDialogBase& dialog) {
        dialog.OnCommand(IDOK);
        return dialog.EndCode();
    });
    CCalendarDlg dlg;
    dlg.m_caption = QStringLiteral("Pick a day");
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_result, CDateTime(QDate::currentDate()));
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Pick a day"));
}

TEST(CalendarDlg, AGivenDayAndAChoice)
{
    CScriptedModals modals;
    modals.Then([](CDialogBase& dialog) {
        auto& calendar = *static_cast<CCalendarDlg&>(dialog).Calendar();
        EXPECT_EQ(calendar.selectedDate(), QDate(2023, 1, 31));
        calendar.SetYear(2024);
        calendar.SetMonth(2); // the 31st does not exist: the month's last day
        EXPECT_EQ(calendar.selectedDate(), QDate(2024, 2, 29));
        dialog.OnCommand(IDOK);
        return dialog.EndCode();
    });
    CCalendarDlg dlg;
    dlg.m_startAtToday = false;
    dlg.m_year = 2023;
    dlg.m_month = 1;
    dlg.m_day = 31;
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_result, CDateTime(2024, 2, 29));
    EXPECT_TRUE(dlg.windowTitle().isEmpty());
}

TEST(CalendarDlg, OpeningShowsTheDayAndCancelReadsNoChoice)
{
    CScriptedModals modals;
    CCalendarDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    // Opening sets the shown day; only OK reads a choice.
    EXPECT_EQ(dlg.m_result, CDateTime(QDate::currentDate()));
}
