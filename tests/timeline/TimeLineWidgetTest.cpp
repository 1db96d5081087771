#include "tests/support/TestEnv.h"
#include "tests/timeline/ControlFixture.h"
#include "timeline/MyButt.h"
#include "timeline/MyCombo.h"
#include "timeline/MyStatic.h"
#include "timeline/NowButt.h"
#include "timeline/TimeLinePainter.h"

#include <QComboBox>
#include <QDialog>
#include <QImage>
#include <QMenu>
#include <QPushButton>
#include <QTextDocument>
#include <QTimer>
#include <QToolTip>
#include <QWheelEvent>

#include <functional>

namespace {

using Ev = PlentorEvent;
using Args = std::vector<std::int32_t>;

class TimeLineWidget : public ::testing::Test, protected CControlFixture {
protected:
    void SetUp() override
    {
        Show();
        LoadDay();
        m_heard.clear();
    }

    // A left-button drag with moves every few pixels, as a hand makes it.
    void Drag(QPoint from, QPoint to)
    {
        Hover(from);
        QTest::mousePress(m_widget, Qt::LeftButton, Qt::NoModifier, from);
        const int step = to.y() > from.y() ? 4 : -4;
        for (int y = from.y() + step; step > 0 ? y < to.y() : y > to.y(); y += step)
            QTest::mouseMove(m_widget, QPoint(from.x(), y));
        QTest::mouseMove(m_widget, to);
        QTest::mouseRelease(m_widget, Qt::LeftButton, Qt::NoModifier, to);
        Pump();
    }

    // Opens the right-button menu at a point and hands it to inspect, which
    // may trigger an action; the menu is closed afterwards if still open.
    bool RightClickMenu(QPoint at, const std::function<void(QMenu&)>& inspect)
    {
        bool opened = false;
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu)
                return;
            opened = true;
            EXPECT_TRUE(m_ctrl->IsMenuActive());
            inspect(*menu);
            if (menu->isVisible())
                menu->close();
        });
        QTest::mouseClick(m_widget, Qt::RightButton, Qt::NoModifier, at);
        Pump();
        return opened;
    }

    static QAction* Action(QMenu& menu, const QString& text)
    {
        for (QAction* action : menu.actions()) {
            if (action->text() == text)
                return action;
        }
        return nullptr;
    }

    void Wheel(int delta)
    {
        const QPoint at = At(9 * 60);
        QWheelEvent event(at, m_widget->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(m_widget, &event);
    }
};

} // namespace

TEST_F(TimeLineWidget, TheFirstPaintLaysTheLineOutAndSaysReady)
{
    CControlFixture fresh;
    EXPECT_EQ(fresh.Count(Ev::Ready), 0);
    fresh.Show();
    EXPECT_EQ(fresh.Count(Ev::Ready), 1);
    EXPECT_EQ(fresh.Engine().Ready(), 1);
    EXPECT_EQ(fresh.Engine().Bounds(), fresh.m_widget->rect());
}

TEST_F(TimeLineWidget, DrawingABlockTellsTheContainer)
{
    Drag(At(15 * 60), At(16 * 60 + 30));
    const auto changes = Events(Ev::OnNotifyTimeChange);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].args, (Args{14, 15 * 60, 16 * 60 + 30, 4}));
    ASSERT_GE(Count(Ev::NotifyTimeStart), 1);
    EXPECT_EQ(Events(Ev::NotifyTimeStart).front().args, (Args{4, 15 * 60, 2}));
    ASSERT_EQ(Count(Ev::NotifyTimeStop), 1);
    EXPECT_EQ(Events(Ev::NotifyTimeStop)[0].args, (Args{-1, -1}));
    EXPECT_FALSE(Events(Ev::NotifyTimePos).empty());
    EXPECT_EQ(m_widget->findChild<CMyStatic*>(QStringLiteral("id236"))->text(),
              QStringLiteral("6.50"));
}

TEST_F(TimeLineWidget, AReleaseAfterAPressOutsideTheGridSaysSo)
{
    QTest::mouseClick(m_widget, Qt::LeftButton, Qt::NoModifier, QPoint(20, 200));
    Pump();
    ASSERT_EQ(Count(Ev::NotifyTimeStart), 1);
    EXPECT_EQ(Events(Ev::NotifyTimeStart)[0].args, (Args{-1, -1, 0}));
    EXPECT_EQ(Count(Ev::NotifyTimeStop), 0);
}

TEST_F(TimeLineWidget, AnEdgeDraggedDownStopsAtTheNextBlock)
{
    // Block 11 ends at 09:30; block 12 begins at 10:00.
    Drag(At(9 * 60 + 30), At(10 * 60 + 40));
    const auto edits = Events(Ev::OnNotifyTimeEdit);
    ASSERT_FALSE(edits.empty());
    EXPECT_EQ(edits.front().args[0], 4);
    const auto changes = Events(Ev::OnNotifyTimeChange);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].args, (Args{11, 8 * 60, 10 * 60, 4}));
}

TEST_F(TimeLineWidget, ADoubleClickOnABlockAsksToEditIt)
{
    Hover(At(11 * 60));
    QTest::mouseDClick(m_widget, Qt::LeftButton, Qt::NoModifier, At(11 * 60));
    Pump();
    ASSERT_EQ(Count(Ev::WantsEdit), 1);
    EXPECT_EQ(Events(Ev::WantsEdit)[0].args, (Args{7, 12}));
    EXPECT_EQ(Count(Ev::OnNotifyTimeChange), 0);
}

TEST_F(TimeLineWidget, TheMenuOfABlockFollowsTheEditingMode)
{
    m_ctrl->setAutoTiming(true);
    QStringList enabled;
    QStringList grayed;
    const bool opened = RightClickMenu(At(11 * 60), [&](QMenu& menu) {
        for (QAction* action : menu.actions()) {
            if (!action->isSeparator())
                (action->isEnabled() ? enabled : grayed) << action->text();
        }
    });
    ASSERT_TRUE(opened);
    EXPECT_EQ(enabled, (QStringList{"Edit", "Schedule", "6 mins", "12 mins", "30 mins"}));
    EXPECT_EQ(grayed, (QStringList{"Delete", "Copy", "Cut", "Delete all Today"}));
    EXPECT_FALSE(m_ctrl->IsMenuActive());
}

TEST_F(TimeLineWidget, NoMenuWhileReadOnlyOrBesideTheGrid)
{
    m_ctrl->SetReadOnly(true);
    EXPECT_FALSE(RightClickMenu(At(11 * 60), [](QMenu&) {}));
    m_ctrl->SetReadOnly(false);
    const QRect label = Engine().ProjLabels().front().button;
    EXPECT_FALSE(RightClickMenu(label.center(), [](QMenu&) {}));
    EXPECT_TRUE(RightClickMenu(At(11 * 60), [](QMenu&) {}));
}

TEST_F(TimeLineWidget, DeleteFromTheMenuReportsTheBlockGone)
{
    Hover(At(11 * 60));
    const bool opened = RightClickMenu(At(11 * 60), [](QMenu& menu) {
        QAction* remove = Action(menu, QStringLiteral("Delete"));
        ASSERT_TRUE(remove);
        // A menu takes no click before the pointer has moved over it.
        const QPoint item = menu.actionGeometry(remove).center();
        QTest::mouseMove(&menu, item - QPoint(0, 2));
        QTest::mouseMove(&menu, item);
        QTest::mouseClick(&menu, Qt::LeftButton, Qt::NoModifier, item);
    });
    ASSERT_TRUE(opened);
    ASSERT_EQ(Count(Ev::OnNotifyTimeChange), 1);
    EXPECT_EQ(Events(Ev::OnNotifyTimeChange)[0].args, (Args{12, 0, 0, 7}));
    EXPECT_EQ(Engine().GetCount(), 2);
}

TEST_F(TimeLineWidget, AddBlockFromTheMenuFillsTheRow)
{
    const bool opened = RightClickMenu(At(16 * 60 + 20), [](QMenu& menu) {
        QAction* add = Action(menu, QStringLiteral("Add Block 16:00 - 17:00"));
        ASSERT_TRUE(add);
        add->trigger();
    });
    ASSERT_TRUE(opened);
    Pump();
    ASSERT_EQ(Count(Ev::OnNotifyTimeChange), 1);
    EXPECT_EQ(Events(Ev::OnNotifyTimeChange)[0].args, (Args{14, 16 * 60, 17 * 60, 4}));
}

TEST_F(TimeLineWidget, OneWheelNotchScrollsOneRow)
{
    m_ctrl->SetIncrTime(15);
    m_ctrl->SetStartPosHour(9);
    const int first = Engine().FirstRowMinutes();
    Wheel(120);
    EXPECT_EQ(Engine().FirstRowMinutes(), first - 15);
    Wheel(-240);
    EXPECT_EQ(Engine().FirstRowMinutes(), first + 15);
    Wheel(60);
    EXPECT_EQ(Engine().FirstRowMinutes(), first + 15);
}

TEST_F(TimeLineWidget, TheScrollButtonsScrollAndStopAtTheDaysEnds)
{
    m_ctrl->SetIncrTime(15);
    m_ctrl->SetStartPosHour(0);
    Pump();
    auto* up = m_widget->findChild<CMyButt*>(QStringLiteral("id204"));
    auto* down = m_widget->findChild<CMyButt*>(QStringLiteral("id232"));
    ASSERT_TRUE(up && down);
    EXPECT_FALSE(up->isEnabled());
    EXPECT_TRUE(down->isEnabled());
    QTest::mouseClick(down, Qt::LeftButton);
    EXPECT_EQ(Engine().FirstRowMinutes(), 15);
    EXPECT_TRUE(up->isEnabled());
    EXPECT_EQ(up->autoRepeatInterval(), Engine().ScrollSpeed());
}

TEST_F(TimeLineWidget, TheNowButtonSitsInTheButtonColumnAndBooksTheCurrentRow)
{
    auto* now = m_widget->findChild<CNowButt*>(QStringLiteral("id237"));
    auto* up = m_widget->findChild<CMyButt*>(QStringLiteral("id204"));
    auto* page = m_widget->findChild<CMyButt*>(QStringLiteral("id239"));
    ASSERT_TRUE(now && up && page);
    EXPECT_TRUE(now->isVisible());
    EXPECT_EQ(now->x(), up->x());
    EXPECT_GT(now->y(), page->geometry().bottom());
    EXPECT_LE(now->geometry().right(), m_widget->width());

    m_ctrl->ClearTimeInfo();
    Pump();
    const QTime before = QTime::currentTime();
    QTest::mouseClick(now, Qt::LeftButton);
    Pump();
    const auto changes = Events(Ev::OnNotifyTimeChange);
    ASSERT_EQ(changes.size(), 1u);
    const int minute = before.hour() * 60 + before.minute();
    EXPECT_LE(changes[0].args[1], minute);
    EXPECT_GT(changes[0].args[2], minute);
    EXPECT_EQ(changes[0].args[2] - changes[0].args[1], Engine().Increment());

    m_ctrl->SetReadOnly(true);
    Pump();
    EXPECT_FALSE(now->isEnabled());
}

TEST_F(TimeLineWidget, TheSmallestSizeShowsTheLongestProjectNameAndTheIntervals)
{
    const QString name = QStringLiteral("Harbour Refit");
    m_ctrl->SetProjInfo(name, 21, OleColor(0x808000));
    m_ctrl->DoPaint();
    Pump();
    const QSize least = m_widget->minimumSizeHint();
    const QFontMetrics metrics(m_ctrl->TextQFont());
    int labelX = 0;
    for (const CTimeLine::ProjLabel& label : Engine().ProjLabels())
        if (label.text == name)
            labelX = label.x;
    ASSERT_GT(labelX, 0);
    // At the narrowest time column the label ends inside the control.
    const int shift = Engine().ColumnWidth() - CTimeLine::kColumnWidth;
    EXPECT_GE(least.width(), labelX - shift + metrics.horizontalAdvance(name));
    auto* interval = m_widget->findChild<QComboBox*>();
    ASSERT_TRUE(interval);
    EXPECT_GE(least.width(),
              Engine().ColumnLeft() + CTimeLine::kColumnWidth + 4 + interval->sizeHint().width());
}

TEST_F(TimeLineWidget, AButtonsTipIsAlsoTheContainersStatusText)
{
    auto* page = m_widget->findChild<CMyButt*>(QStringLiteral("id239"));
    ASSERT_TRUE(page);
    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), page->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(page, &help);
    ASSERT_EQ(Count(Ev::MsgUpdate), 1);
    EXPECT_EQ(Events(Ev::MsgUpdate)[0].text, QStringLiteral("Page Project ALT+P"));
    EXPECT_EQ(page->toolTip(), QStringLiteral("Page Project ALT+P"));
    EXPECT_EQ(m_widget->findChild<CMyButt*>(QStringLiteral("id204"))->Tip(),
              QStringLiteral("Scroll Up,  Up Arrow"));
}

// A colleague's project name shows as typed in the line's tips, the label's
// and the block's: no bold, no picture read from the disk.
TEST_F(TimeLineWidget, TipsShowAStoredNameAsTyped)
{
    const QString name =
        QStringLiteral("<b>BOLD</b><img src=\"file:///etc/hostname\">Omega & Sons");
    m_ctrl->SetProjInfo(name, 21, OleColor(0x808000));
    m_ctrl->SetTimesheetTimes(14, 15 * 60, 16 * 60, 21, QString());
    m_ctrl->DoPaint();
    Pump();
    const auto tipAt = [this](QPoint at) {
        QHelpEvent help(QEvent::ToolTip, at, m_widget->mapToGlobal(at));
        QApplication::sendEvent(m_widget, &help);
        const QString tip = QToolTip::text();
        QToolTip::hideText();
        return tip;
    };
    const auto visible = [](QString tip) { return tip.remove(QChar(0x2060)); };
    QPoint label;
    for (const CTimeLine::TipRecord& tip : Engine().LabelTips())
        if (tip.text == name)
            label = tip.rect.center();
    ASSERT_FALSE(label.isNull());
    const QString labelTip = tipAt(label);
    EXPECT_FALSE(Qt::mightBeRichText(labelTip)) << labelTip.toStdString();
    EXPECT_EQ(visible(labelTip), name);
    const QString blockTip = tipAt(At(15 * 60 + 30));
    EXPECT_FALSE(Qt::mightBeRichText(blockTip)) << blockTip.toStdString();
    EXPECT_TRUE(visible(blockTip).startsWith(QStringLiteral("Project : ") + name))
        << blockTip.toStdString();
}

TEST_F(TimeLineWidget, ClickingAProjectMakesItCurrentOnce)
{
    const CTimeLine::ProjLabel beta = Engine().ProjLabels().at(1);
    QTest::mouseClick(m_widget, Qt::LeftButton, Qt::NoModifier, beta.button.center());
    QTest::mouseClick(m_widget, Qt::LeftButton, Qt::NoModifier,
                      QPoint(beta.x + 10, beta.button.center().y()));
    Pump();
    ASSERT_EQ(Count(Ev::NotifyProjectSelChng), 1);
    EXPECT_EQ(Events(Ev::NotifyProjectSelChng)[0].args, (Args{7}));
    Drag(At(15 * 60), At(16 * 60));
    EXPECT_EQ(Events(Ev::OnNotifyTimeChange).back().args.back(), 7);
}

TEST_F(TimeLineWidget, ChoosingAnIntervalRebuildsTheLineAtTheContainersRequest)
{
    m_ctrl->SetMinIntervalVal(15);
    // The container answers DoResizeMe with DoResize, as the time-sheet
    // window does; the engine that asked is replaced while it runs.
    m_handlers[Ev::DoResizeMe] = [this](const Heard&) { m_ctrl->DoResize(260, 510); };
    auto* combo = m_widget->findChild<CMyCombo*>(QStringLiteral("id233"));
    ASSERT_TRUE(combo);
    ASSERT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->currentText(), QStringLiteral("1 hour"));
    combo->setCurrentIndex(2);
    emit combo->activated(2);
    Pump();
    EXPECT_EQ(Count(Ev::DoResizeMe), 1);
    EXPECT_EQ(Count(Ev::Ready), 1);
    EXPECT_EQ(m_ctrl->GetIncrementValue(), 15);
    EXPECT_EQ(Engine().GetCount(), 3);
    EXPECT_EQ(Count(Ev::OnNotifyTimeChange), 0);
    EXPECT_EQ(combo->currentText(), QStringLiteral("15 mins"));
}

TEST_F(TimeLineWidget, AClosingWindowTellsTheContainerNothing)
{
    m_widget->setFocus();
    Hover(At(11 * 60));
    Pump();
    m_heard.clear();
    m_window.close();
    Pump();
    EXPECT_TRUE(m_heard.empty());
    EXPECT_FALSE(m_ctrl->IsInFocus());
}

TEST_F(TimeLineWidget, FocusMovingToAnotherControlDropsTheHighlight)
{
    auto* other = new QPushButton(QStringLiteral("Other"), &m_window);
    other->show();
    m_widget->setFocus();
    Pump();
    Hover(At(11 * 60));
    ASSERT_TRUE(m_ctrl->IsHighlightObj());
    other->setFocus();
    Pump();
    EXPECT_FALSE(m_ctrl->IsInFocus());
    EXPECT_FALSE(m_ctrl->IsHighlightObj());
}

TEST_F(TimeLineWidget, LosingTheFocusDropsTheHighlight)
{
    m_widget->setFocus();
    Pump();
    EXPECT_TRUE(m_ctrl->IsInFocus());
    Hover(At(11 * 60));
    EXPECT_TRUE(m_ctrl->IsHighlightObj());
    m_ctrl->ForceKillFocus();
    EXPECT_FALSE(m_ctrl->IsHighlightObj());
    EXPECT_FALSE(m_ctrl->IsInFocus());
}

namespace {

// The control inside a dialog with a default button, as in the program.
class KeyRouting : public ::testing::Test {
protected:
    KeyRouting()
        : m_sink(CEventSinkMap::Create())
        , m_ctrl(ComPtr<CPlentorCtrl>::Adopt(new CPlentorCtrl))
    {
        m_sink->On(EventNumber(PlentorEvent::NotifyKeyDown),
                   [this](std::int32_t key, std::int32_t, std::int32_t) { m_down << key; });
        m_sink->On(EventNumber(PlentorEvent::NotifyKeyUp),
                   [this](std::int32_t key, std::int32_t, std::int32_t) { m_up << key; });
        m_ctrl->Advise(m_sink.Get(), &m_cookie);
        auto* layout = new QVBoxLayout(&m_dialog);
        QWidget* widget = nullptr;
        m_ctrl->CreateWidget(&m_dialog, &widget);
        m_widget = widget;
        layout->addWidget(widget);
        m_ok = new QPushButton(QStringLiteral("OK"), &m_dialog);
        m_ok->setDefault(true);
        QObject::connect(m_ok, &QPushButton::clicked, &m_dialog, &QDialog::accept);
        layout->addWidget(m_ok);
        m_dialog.resize(260, 500);
        m_dialog.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&m_dialog));
        m_widget->setFocus();
        CControlFixture::Pump();
    }

    ~KeyRouting() override { m_ctrl->Unadvise(m_cookie); }

    ComPtr<CEventSinkMap> m_sink;
    std::uint32_t m_cookie = 0;
    ComPtr<CPlentorCtrl> m_ctrl;
    QDialog m_dialog;
    QWidget* m_widget = nullptr;
    QPushButton* m_ok = nullptr;
    QList<int> m_down;
    QList<int> m_up;
};

} // namespace

TEST_F(KeyRouting, EnterAndArrowsGoToTheContainerNotTheDialog)
{
    QTest::keyClick(m_widget, Qt::Key_Return);
    QTest::keyClick(m_widget, Qt::Key_Down);
    QTest::keyClick(m_widget, Qt::Key_Home);
    EXPECT_EQ(m_down, (QList<int>{13, 40, 36}));
    EXPECT_EQ(m_up, (QList<int>{13, 40, 36}));
    EXPECT_TRUE(m_dialog.isVisible());
    EXPECT_EQ(m_dialog.result(), 0);
    EXPECT_TRUE(m_widget->hasFocus());
}

TEST_F(KeyRouting, LettersAreReportedAndEscapeIsTheDialogs)
{
    QTest::keyClick(m_widget, Qt::Key_A);
    QTest::keyClick(m_widget, Qt::Key_Delete);
    EXPECT_EQ(m_down, (QList<int>{65, 46}));
    QTest::keyClick(m_widget, Qt::Key_Escape);
    EXPECT_EQ(m_down, (QList<int>{65, 46}));
    EXPECT_FALSE(m_dialog.isVisible());
}

// --- Pixels ---------------------------------------------------------------------------

TEST_F(TimeLineWidget, TheTimeColumnShowsBlocksInTheirProjectsColours)
{
    const QImage image = m_widget->grab().toImage();
    const int x = Engine().ColumnLeft() + Engine().ColumnWidth() / 2;
    const auto colourAt = [&](int minutes) { return QColor(image.pixel(x, Y(minutes))); };
    EXPECT_EQ(colourAt(8 * 60 + 45), QColor(255, 0, 0));      // Alpha
    EXPECT_EQ(colourAt(11 * 60), QColor(0, 0xC0, 0));         // Beta
    EXPECT_EQ(colourAt(13 * 60 + 40), QColor(0, 0x80, 0xFF)); // Gamma
    EXPECT_EQ(colourAt(9 * 60 + 45), QColor(Qt::white));
    EXPECT_EQ(colourAt(17 * 60 + 30), QColor(Qt::white));
    // Beside the column, the control's back colour; a block's frame is the
    // highlight colour.
    EXPECT_EQ(QColor(image.pixel(Engine().ColumnRight() + 2, Y(11 * 60))),
              m_ctrl->PaintBackColour());
    EXPECT_EQ(QColor(image.pixel(Engine().ColumnLeft(), Y(11 * 60 + 20))),
              m_widget->palette().color(QPalette::Highlight));
}

TEST_F(TimeLineWidget, TheHighlightedBlockIsHatched)
{
    Hover(At(11 * 60 + 20));
    ASSERT_TRUE(m_ctrl->IsHighlightObj());
    const QImage image = m_widget->grab().toImage();
    int green = 0;
    int white = 0;
    for (int dx = 5; dx < 45; ++dx) {
        const QColor c(image.pixel(Engine().ColumnLeft() + dx, Y(11 * 60 + 20)));
        green += c == QColor(0, 0xC0, 0);
        white += c == QColor(Qt::white);
    }
    EXPECT_GT(green, 0);
    EXPECT_GT(white, green);
}

TEST_F(TimeLineWidget, TheInsertionPointIsARedLine)
{
    m_ctrl->ShowInsertionPoint(16 * 60);
    const QImage image = m_widget->grab().toImage();
    const int x = Engine().ColumnLeft() + 20;
    EXPECT_EQ(QColor(image.pixel(x, Y(16 * 60))), QColor(Qt::red));
    m_ctrl->RemoveInsertionPoint();
    EXPECT_NE(QColor(m_widget->grab().toImage().pixel(x, Y(16 * 60))), QColor(Qt::red));
}

TEST(TimeLineScreenshot, AFewBlocks)
{
    CControlFixture f(QSize(300, 430));
    f.Show();
    f.m_ctrl->SetMinIntervalVal(15);
    f.LoadDay();
    f.m_ctrl->SetTimeHHMM(1);
    f.Hover(f.At(11 * 60));
    f.Pump();
    const QImage image = f.m_window.grab().toImage();
    // Written for the documentation when asked for.
    if (!qEnvironmentVariableIsEmpty("KELVANE_SCREENSHOT"))
        image.save(qEnvironmentVariable("KELVANE_SCREENSHOT"));
    EXPECT_FALSE(image.isNull());
}

TEST(PlentorFonts, SmallerOnALargerScreenScale)
{
    EXPECT_EQ(CPlentorCtrl::DefaultFont(1.0, 400).pointSize, 8.0);
    EXPECT_EQ(CPlentorCtrl::DefaultFont(1.25, 400).pointSize, 6.0);
    EXPECT_EQ(CPlentorCtrl::DefaultFont(1.25, 600).weight, 600);
    EXPECT_EQ(CPlentorCtrl::DefaultFont(1.0, 600).name, "MS Sans Serif");
}

TEST_F(TimeLineWidget, AFontTheContainerSetsStays)
{
    EXPECT_EQ(m_ctrl->TextFont().pointSize, 8.0);
    EXPECT_EQ(m_ctrl->FontSB().weight, 600);
    FontDesc font;
    font.name = "DejaVu Sans";
    font.pointSize = 11;
    m_ctrl->SetTextFont(font);
    m_ctrl->DoResize(260, 500);
    Pump();
    EXPECT_EQ(m_ctrl->TextFont(), font);
    EXPECT_EQ(m_ctrl->TextQFont().pointSizeF(), 11.0);
}

TEST_F(TimeLineWidget, ControlMessagesReachTheContainerAsStatusTexts)
{
    Hover(At(15 * 60));
    QTest::mousePress(m_widget, Qt::LeftButton, Qt::NoModifier, At(15 * 60));
    QTest::mouseMove(m_widget, At(15 * 60 + 30));
    EXPECT_EQ(m_ctrl->DrawTSEntryAt(17 * 60), -1);
    QTest::mouseRelease(m_widget, Qt::LeftButton, Qt::NoModifier, At(15 * 60 + 30));
    Pump();
    ASSERT_FALSE(Events(Ev::MsgUpdate).empty());
    bool told = false;
    for (const Heard& h : Events(Ev::MsgUpdate))
        told = told || h.text == QStringLiteral("Error creating time - please try again");
    EXPECT_TRUE(told);
    EXPECT_EQ(m_ctrl->LastMsgText(), Events(Ev::MsgUpdate).back().text);
    // Nothing was shown that a test would have to answer.
    EXPECT_EQ(CRecordingMessages::Current().Count(), 0);
}

TEST_F(TimeLineWidget, AResizeDuringAReportLeavesTheRestToTheNewEngine)
{
    // Two blocks to report; the container resizes while hearing the first.
    Engine().EditObjById(11, 8 * 60, 9 * 60, 4);
    Engine().EditObjById(13, 13 * 60, 14 * 60, 9);
    for (const auto& block : Engine().Entries())
        block->m_sent = block->m_entryId == 12;
    m_handlers[Ev::OnNotifyTimeChange] = [this](const Heard&) {
        if (Count(Ev::OnNotifyTimeChange) == 1)
            m_ctrl->DoResize(260, 500);
    };
    Drag(At(16 * 60), At(17 * 60));
    Pump();
    std::vector<Args> changes;
    for (const Heard& h : Events(Ev::OnNotifyTimeChange))
        changes.push_back(h.args);
    ASSERT_EQ(changes.size(), 3u);
    EXPECT_EQ(changes[0], (Args{11, 8 * 60, 9 * 60, 4}));
    EXPECT_EQ(changes[1], (Args{13, 13 * 60, 14 * 60, 9}));
    EXPECT_EQ(changes[2], (Args{14, 16 * 60, 17 * 60, 4}));
    EXPECT_EQ(Engine().GetCount(), 4);
}

TEST_F(TimeLineWidget, AStatusTextMayBeAnsweredWithAResize)
{
    // The engine goes on after the text, on an engine the container has
    // just replaced.
    m_handlers[Ev::MsgUpdate] = [this](const Heard& heard) {
        if (heard.text.startsWith(QStringLiteral("Cursor")))
            m_ctrl->DoResize(260, 500);
    };
    EXPECT_TRUE(m_ctrl->ShowInsertionPoint(16 * 60));
    Pump();
    EXPECT_EQ(Count(Ev::Ready), 1);
    EXPECT_EQ(Engine().GetCount(), 3);
}
