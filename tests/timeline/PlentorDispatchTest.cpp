#include "platform/com/ClassLoader.h"
#include "platform/com/ClassRegistry.h"
#include "platform/com/ControlHost.h"
#include "platform/com/ServerLibrary.h"
#include "tests/support/TestEnv.h"
#include "timeline/PlentorIds.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <vector>

using namespace PlentorIds;

namespace {

using Args = std::vector<std::int32_t>;

// The container's side: every call by DISPID, the way the time-sheet
// window's wrapper makes it.
class CPlentorHost : public CControlHost {
public:
    using CControlHost::CControlHost;

    bool SetProjInfo(const QString& name, std::int32_t id, std::int32_t colour)
    {
        return Call<bool>(kSetProjInfo, name, id, OleColor(static_cast<std::uint32_t>(colour)));
    }
    bool SetTimesheetTimes(std::int32_t id, std::int32_t start, std::int32_t stop,
                           std::int32_t proj, const QString& text)
    {
        return Call<bool>(kSetTimesheetTimes, id, start, stop, proj, text);
    }
    void DoPaint() { Call(kDoPaint); }
    void ClearProjInfo() { Call(kClearProjInfo); }
    void ClearTimeInfo() { Call(kClearTimeInfo); }
    std::int16_t DeleteHighlightObj() { return Call<std::int16_t>(kDeleteHighlightObj); }
    void SetTimeHHMM(std::int16_t on) { Call(kSetTimeHHMM, on); }
    void SetStartPosHour(std::int16_t hour) { Call(kSetStartPosHour, hour); }
    std::int32_t GetIncrementValue() { return Call<std::int32_t>(kGetIncrementValue); }
    void SetIncrTime(std::int16_t minutes) { Call(kSetIncrTime, minutes); }
    std::int16_t GetStartValue() { return Call<std::int16_t>(kGetStartValue); }
    std::int16_t DeleteObjByID(std::int32_t id) { return Call<std::int16_t>(kDeleteObjByID, id); }
    void SetGrabWidth(std::int16_t width) { Call(kSetGrabWidth, width); }
    void DeleteAllOKRet(std::int16_t ok) { Call(kDeleteAllOKRet, ok); }
    void DeleteAllToday() { Call(kDeleteAllToday); }
    void GetControlSize(std::int32_t* cx, std::int32_t* cy) { Call(kGetControlSize, cx, cy); }
    void DoResize(std::int16_t cx, std::int16_t cy) { Call(kDoResize, cx, cy); }
    QString GetVersion() { return Call<QString>(kGetVersion); }
    bool SetMinIntervalVal(std::int16_t minutes) { return Call<bool>(kSetMinIntervalVal, minutes); }
    bool SetTickTypes(std::int16_t major, std::int16_t minor)
    {
        return Call<bool>(kSetTickTypes, major, minor);
    }
    std::int16_t ForceHighlight(std::int32_t id, bool forward)
    {
        return Call<std::int16_t>(kForceHighlight, id, forward);
    }
    bool DrawTSEntryStStp(std::int16_t start, std::int16_t stop)
    {
        return Call<bool>(kDrawTSEntryStStp, start, stop);
    }
    bool IsHighlightObj() { return Call<bool>(kIsHighlightObj); }
    bool CreateRectStStp(std::int16_t id, std::int16_t start, std::int16_t stop, std::int16_t proj,
                         std::int16_t notify, std::int16_t* selected)
    {
        return Call<bool>(kCreateRectStStp, id, start, stop, proj, notify, selected);
    }
    bool SetReadOnly(bool on) { return Call<bool>(kSetReadOnly, on); }
    bool setAutoTiming(bool on) { return Call<bool>(kSetAutoTiming, on); }
    bool SetChgRqstStr(const QString& text, std::int32_t id)
    {
        return Call<bool>(kSetChgRqstStr, text, id);
    }
    std::int32_t ShowCursorNow() { return Call<std::int32_t>(kShowCursorNow); }
};

QString PlentorPath()
{
    return QStringLiteral(KELVANE_PLENTOR_PATH);
}

class PlentorDispatch : public ::testing::Test {
protected:
    void SetUp() override
    {
        CServerLibrary* library = nullptr;
        ASSERT_EQ(CServerLibrary::Load(PlentorPath(), &library), kS_OK);
        ASSERT_EQ(library->RegisterServer(), kS_OK);
    }

    // Made by class id; shown, so its first paint lays it out.
    void Create(CPlentorHost& host, QSize size = QSize(260, 480))
    {
        ASSERT_EQ(host.CreateControl(QString::fromLatin1(kProgId)), kS_OK);
        host.resize(size);
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
        Pump();
    }

    static void Pump()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }

    void Listen(CPlentorHost& host)
    {
        host.Events().On(
            EventNumber(PlentorEvent::OnNotifyTimeChange),
            [this](std::int32_t id, std::int32_t start, std::int32_t stop, std::int32_t proj) {
                m_changes.push_back({id, start, stop, proj});
            });
        host.Events().On(EventNumber(PlentorEvent::MsgUpdate),
                         [this](const QString& text) { m_texts << text; });
    }

    std::vector<Args> m_changes;
    QStringList m_texts;
};

} // namespace

TEST_F(PlentorDispatch, RegistersTheControlAndItsPageWithTheirCategories)
{
    CClassRegistry registry;
    const auto control = registry.FindClass(kClsid);
    ASSERT_TRUE(control);
    EXPECT_EQ(control->progId, QString::fromLatin1(kProgId));
    EXPECT_EQ(control->miscStatus, kMiscStatus);
    EXPECT_EQ(control->typeLib, kTypeLib);
    EXPECT_EQ(registry.ClassOfProgId(QStringLiteral("plentorx.plentorctrl.1")), kClsid);
    EXPECT_TRUE(registry.FindClass(kPropPageClsid));
    EXPECT_EQ(registry.ImplementedCategories(kClsid).size(), 2);
    EXPECT_TRUE(registry.FindTypeLib(kTypeLib, QStringLiteral("1.0")));
}

TEST_F(PlentorDispatch, UnregisteringLeavesTheCategories)
{
    CServerLibrary* library = nullptr;
    ASSERT_EQ(CServerLibrary::Load(PlentorPath(), &library), kS_OK);
    ASSERT_EQ(library->UnregisterServer(), kS_OK);
    CClassRegistry registry;
    EXPECT_FALSE(registry.FindClass(kClsid));
    EXPECT_FALSE(registry.ClassOfProgId(QString::fromLatin1(kProgId)));
    EXPECT_FALSE(registry.FindClass(kPropPageClsid));
    EXPECT_EQ(registry.Categories().size(), 2);
}

TEST_F(PlentorDispatch, ThePropertyPageHasNothingToEdit)
{
    CControlHost host;
    ASSERT_EQ(host.CreateControl(QString::fromLatin1(kPropPageProgId)), kS_OK);
    ASSERT_TRUE(host.ControlWidget());
    const auto* label = host.ControlWidget()->findChild<QLabel*>();
    ASSERT_TRUE(label);
    EXPECT_EQ(label->text(), QStringLiteral("No properties"));
}

// The road the time-sheet window takes: Ready, set-up, a resize
// from inside Ready, the day loaded on the second Ready, then a drawn block.
TEST_F(PlentorDispatch, TheTimeSheetWindowsRoad)
{
    CPlentorHost host;
    Listen(host);
    int readies = 0;
    host.Events().On(EventNumber(PlentorEvent::Ready), [&] {
        ++readies;
        EXPECT_TRUE(host.SetTickTypes(1, 1));
        EXPECT_TRUE(host.SetMinIntervalVal(15));
        if (readies < 3) {
            host.ClearProjInfo();
            host.SetProjInfo(QStringLiteral("Alpha"), 4, 0x0000FF);
            host.SetProjInfo(QStringLiteral("Beta"), 7, 0x00C000);
        }
        if (readies == 1) {
            host.DoResize(260, 500);
        } else if (readies == 2) {
            host.ClearTimeInfo();
            EXPECT_TRUE(host.SetTimesheetTimes(31, 8 * 60, 9 * 60, 4, QString()));
            EXPECT_TRUE(host.SetTimesheetTimes(32, 10 * 60, 11 * 60, 7, QStringLiteral("CR-1")));
            host.DoPaint();
        }
    });
    Create(host);
    EXPECT_EQ(readies, 2);
    EXPECT_EQ(host.GetIncrementValue(), 60);
    std::int32_t cx = 0;
    std::int32_t cy = 0;
    host.GetControlSize(&cx, &cy);
    EXPECT_EQ(cx, 260);
    EXPECT_EQ(cy, 500);
    EXPECT_TRUE(m_changes.empty());

    // The user draws 12:00 to 13:00 with the mouse: 24 rows of
    // (500 - 30) / 24 = 19 pixels below a 30-pixel margin.
    QWidget* widget = host.ControlWidget();
    const int x = 69 + 27;
    const auto y = [](int minutes) { return 30 + minutes / 60 * 19; };
    QTest::mouseMove(widget, QPoint(x, y(12 * 60) + 1));
    QTest::mouseMove(widget, QPoint(x, y(12 * 60)));
    QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, QPoint(x, y(12 * 60)));
    for (int py = y(12 * 60) + 4; py < y(13 * 60); py += 4)
        QTest::mouseMove(widget, QPoint(x, py));
    QTest::mouseMove(widget, QPoint(x, y(13 * 60)));
    QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, QPoint(x, y(13 * 60)));
    Pump();
    ASSERT_EQ(m_changes.size(), 1u);
    EXPECT_EQ(m_changes[0], (Args{33, 12 * 60, 13 * 60, 4}));

    // A later resize keeps the day and reports nothing again.
    host.DoResize(260, 520);
    Pump();
    EXPECT_EQ(readies, 3);
    EXPECT_EQ(m_changes.size(), 1u);
    EXPECT_EQ(host.ForceHighlight(32, true), 32);
    EXPECT_TRUE(host.IsHighlightObj());
}

TEST_F(PlentorDispatch, ValuesOutsideTheirRangesAreIgnored)
{
    CPlentorHost host;
    Create(host);
    host.SetIncrTime(20);
    host.SetIncrTime(120);
    EXPECT_EQ(host.GetIncrementValue(), 60);
    host.SetIncrTime(30);
    EXPECT_EQ(host.GetIncrementValue(), 30);

    host.SetProperty(kScrlSpeed, std::int32_t(20));
    EXPECT_EQ(host.GetProperty<std::int32_t>(kScrlSpeed), 20);
    host.SetProperty(kScrlSpeed, std::int32_t(999));
    host.SetProperty(kScrlSpeed, std::int32_t(19));
    host.SetProperty(kScrlSpeed, std::int32_t(1000));
    EXPECT_EQ(host.GetProperty<std::int32_t>(kScrlSpeed), 999);

    EXPECT_FALSE(host.SetMinIntervalVal(10));
    EXPECT_TRUE(host.SetMinIntervalVal(6));
    EXPECT_FALSE(host.SetMinIntervalVal(7));
}

TEST_F(PlentorDispatch, TheFlagsReadBackAndReadOnlyOutranksAutoTiming)
{
    CPlentorHost host;
    Create(host);
    EXPECT_TRUE(host.SetReadOnly(true));
    EXPECT_TRUE(host.setAutoTiming(true));
    EXPECT_TRUE(host.GetProperty<bool>(kBReadOnly));
    // Auto-timing reads TRUE only while read-only is clear.
    EXPECT_FALSE(host.GetProperty<bool>(kBAutoTiming));
    host.SetProperty(kBReadOnly, false);
    EXPECT_FALSE(host.GetProperty<bool>(kBReadOnly));
    EXPECT_TRUE(host.GetProperty<bool>(kBAutoTiming));
    EXPECT_EQ(host.GetProperty<std::int16_t>(kStartPosition), 0);
    EXPECT_EQ(host.GetProperty<std::int16_t>(kActivateWindow), 0);
}

TEST_F(PlentorDispatch, MethodsReportWhatReallyHappened)
{
    CPlentorHost host;
    Create(host);
    for (int i = 0; i < 121; ++i)
        ASSERT_TRUE(host.SetProjInfo(QStringLiteral("P%1").arg(i), i, 0x808080));
    EXPECT_FALSE(host.SetProjInfo(QStringLiteral("one too many"), 121, 0x808080));

    EXPECT_TRUE(host.SetTimesheetTimes(1, 9 * 60, 10 * 60, 0, QString()));
    EXPECT_FALSE(host.SetTimesheetTimes(2, -30, 10 * 60, 0, QString()));
    EXPECT_FALSE(host.DrawTSEntryStStp(9 * 60, 9 * 60 + 30));
    EXPECT_TRUE(host.DrawTSEntryStStp(14 * 60, 15 * 60));

    std::int16_t selected = -9;
    EXPECT_FALSE(host.CreateRectStStp(-1, 9 * 60 + 10, 9 * 60 + 20, 0, 0, &selected));
    EXPECT_EQ(selected, -9);
    EXPECT_TRUE(host.CreateRectStStp(40, 16 * 60, 17 * 60, 3, 0, &selected));
    EXPECT_EQ(selected, 40);
    EXPECT_TRUE(host.IsHighlightObj());

    EXPECT_EQ(host.GetVersion(), QStringLiteral("2, 1, 0, 7  EXE"));
    EXPECT_EQ(host.Call<std::int16_t>(kCreateRectStSp, std::int16_t(1), std::int16_t(2),
                                      std::int16_t(3), std::int16_t(4), std::int16_t(5)),
              -1);
    host.SetGrabWidth(0);
    host.SetGrabWidth(5);
    EXPECT_TRUE(host.SetChgRqstStr(QStringLiteral("CR"), 99));
}

TEST_F(PlentorDispatch, DeleteAllAsksTheContainerAndHearsItsAnswer)
{
    CPlentorHost host;
    Listen(host);
    Create(host);
    host.SetProjInfo(QStringLiteral("Alpha"), 4, 0xFF);
    host.SetTimesheetTimes(1, 60, 120, 4, QString());
    host.SetTimesheetTimes(2, 180, 240, 4, QString());

    host.Events().On(EventNumber(PlentorEvent::NotifyDeleteAll), [&] { host.DeleteAllOKRet(0); });
    host.DeleteAllToday();
    EXPECT_TRUE(m_changes.empty());

    host.Events().On(EventNumber(PlentorEvent::NotifyDeleteAll), [&] { host.DeleteAllOKRet(1); });
    host.DeleteAllToday();
    EXPECT_EQ(m_changes, (std::vector<Args>{{1, 0, 0, 4}, {2, 0, 0, 4}}));

    host.SetTimesheetTimes(3, 300, 360, 4, QString());
    host.Events().Remove(EventNumber(PlentorEvent::NotifyDeleteAll));
    host.DeleteAllToday();
    EXPECT_EQ(m_changes.size(), 2u);
    EXPECT_EQ(host.DeleteObjByID(3), 1);
    EXPECT_EQ(m_changes.size(), 2u);
}

TEST_F(PlentorDispatch, BeforeItsFirstPaintAResizeOnlyChangesTheSize)
{
    CPlentorHost host;
    int readies = 0;
    host.Events().On(EventNumber(PlentorEvent::Ready), [&] { ++readies; });
    ASSERT_EQ(host.CreateControl(kClsid), kS_OK);
    host.SetProjInfo(QStringLiteral("Alpha"), 4, 0xFF);
    host.SetTimesheetTimes(1, 60, 120, 4, QString());
    host.DoResize(200, 300);
    EXPECT_EQ(host.size(), QSize(200, 300));
    EXPECT_EQ(readies, 0);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    Pump();
    EXPECT_EQ(readies, 1);
    EXPECT_EQ(host.ForceHighlight(1, true), 1);
}

TEST_F(PlentorDispatch, StatusTextsComeAsMsgUpdate)
{
    CPlentorHost host;
    Listen(host);
    Create(host);
    host.Call(kCreateGridMsg);
    host.Call(kCreateHoursWorkedMsg);
    host.SetProjInfo(QStringLiteral("Alpha"), 4, 0xFF);
    host.Call(kCreateProjectNameMsg);
    EXPECT_EQ(m_texts, (QStringList{"Grid 00:00 to 24:00, by 60's", "Hours Worked 0.00", "Alpha"}));
    const std::int32_t now = host.ShowCursorNow();
    EXPECT_GE(now, 0);
    EXPECT_EQ(now % 6, 0);
}

TEST_F(PlentorDispatch, TheAboutBoxNamesTheVersion)
{
    CPlentorHost host;
    Create(host);
    QString text;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_TRUE(box);
        EXPECT_EQ(box->windowTitle(), QStringLiteral("About Plentor Control"));
        if (auto* label = box->findChild<QLabel*>(QStringLiteral("id267")))
            text = label->text();
        static_cast<QDialog*>(box)->accept();
    });
    host.Call(kStockAboutBox);
    EXPECT_EQ(text, QStringLiteral("Plentor Control,  Version 2, 1, 0, 7 "));
}

TEST_F(PlentorDispatch, UnknownMembersFailWithoutHarm)
{
    CPlentorHost host;
    Create(host);
    Variant result;
    EXPECT_EQ(host.InvokeHelper(72, InvokeKind::Method, {}, &result), kDISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(host.InvokeHelper(kGetIncrementValue, InvokeKind::Method,
                                std::vector<Variant>{Variant(std::int32_t(1))}, &result),
              kDISP_E_BADPARAMCOUNT);
    DispId id = 0;
    EXPECT_EQ(host.Dispatch()->GetIDsOfNames("setautotiming", &id), kS_OK);
    EXPECT_EQ(id, kSetAutoTiming);
    EXPECT_EQ(host.GetProperty<std::int32_t>(kStockHWnd), 0);
}
