#include "review/RegsiterXSL.h"

#include "app/Profile.h"
#include "office/OfficeSession.h"
#include "platform/FileChooser.h"
#include "review/XlsTimeSheetWindows.h"
#include "tests/review/XlsTimeSheetFixture.h"
#include "tests/support/ScriptedModals.h"
#include "ui/ResourceIds.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

class CChooser : public IFileChooserHook {
public:
    CChooser() { SetFileChooserHook(this); }
    ~CChooser() override { SetFileChooserHook(nullptr); }
    QString OpenFile(const QString& title, const QString& start, const QString& filters) override
    {
        asked << title + QLatin1Char('|') + start + QLatin1Char('|') + filters;
        return answer;
    }
    QStringList asked;
    QString answer;
};

std::pair<QString, QString> Registered()
{
    QString folder;
    QString file;
    CProfile::GetXlsSettings(folder, file);
    return {folder, file};
}

QLineEdit* FileEdit(CDialogBase& dialog)
{
    return dialog.Control<QLineEdit>(CRegsiterXSL::kIdFile);
}

// Runs the dialog modally with one step; its end code.
int RunDialog(const CScriptedModals::Step& step)
{
    CRegsiterXSL dialog;
    CScriptedModals modals;
    modals.Then(step);
    return dialog.DoModal();
}

} // namespace

TEST(RegsiterXSLTest, OkWithoutBrowsingRegistersTheProgramsOwnTemplate)
{
    EXPECT_EQ(RunDialog([](CDialogBase& d) {
                  EXPECT_EQ(d.windowTitle(), QStringLiteral("Register Timesheet Excel File"));
                  EXPECT_EQ(FileEdit(d)->text(), QStringLiteral("TSExcel.xls"));
                  d.Control<QPushButton>(CRegsiterXSL::kIdOk)->click();
                  return d.EndCode();
              }),
              int(IDOK));
    EXPECT_EQ(Registered(), std::make_pair(QString(), QStringLiteral("TSExcel.xls")));

    // Cancel stores nothing, also after a browse.
    CProfile::SaveXlsSettings(QStringLiteral("/kept"), QStringLiteral("Kept.xls"));
    CChooser chooser;
    chooser.answer = QStringLiteral("/data/sheets/Week.xls");
    EXPECT_EQ(RunDialog([](CDialogBase& d) {
                  d.Control<QPushButton>(CRegsiterXSL::kIdBrowse)->click();
                  EXPECT_EQ(FileEdit(d)->text(), QStringLiteral("Week.xls"));
                  d.OnCommand(IDCANCEL);
                  return d.EndCode();
              }),
              int(IDCANCEL));
    EXPECT_EQ(Registered(), std::make_pair(QStringLiteral("/kept"), QStringLiteral("Kept.xls")));
}

TEST(RegsiterXSLTest, TheNameInTheEditIsTheOneStored)
{
    CProfile::SetDefDirectory(QStringLiteral("/start/here"));
    CChooser chooser;
    chooser.answer = QStringLiteral("/data/sheets/Week.xls");
    RunDialog([](CDialogBase& d) {
        d.Control<QPushButton>(CRegsiterXSL::kIdBrowse)->click();
        d.OnCommand(CRegsiterXSL::kIdOk);
        return d.EndCode();
    });
    EXPECT_EQ(chooser.asked, QStringList{"Select a file...|/start/here|Database Files (*.xls);;All "
                                         "Files (*)"});
    EXPECT_EQ(Registered(),
              std::make_pair(QStringLiteral("/data/sheets"), QStringLiteral("Week.xls")));

    // Browsed, then another name typed: the typed one, in the browsed folder.
    RunDialog([](CDialogBase& d) {
        d.Control<QPushButton>(CRegsiterXSL::kIdBrowse)->click();
        FileEdit(d)->setText(QStringLiteral(" Other.xlsm "));
        d.OnCommand(CRegsiterXSL::kIdOk);
        return d.EndCode();
    });
    EXPECT_EQ(Registered(),
              std::make_pair(QStringLiteral("/data/sheets"), QStringLiteral("Other.xlsm")));

    // A typed path names its own folder; an empty name is refused.
    RunDialog([](CDialogBase& d) {
        FileEdit(d)->clear();
        d.OnCommand(CRegsiterXSL::kIdOk);
        EXPECT_EQ(d.EndCode(), 0);
        EXPECT_EQ(CRecordingMessages::Current().Last(),
                  QStringLiteral("Please enter the file name of the workbook."));
        FileEdit(d)->setText(QStringLiteral("/elsewhere/sub/Mine.xls"));
        d.OnCommand(CRegsiterXSL::kIdOk);
        return d.EndCode();
    });
    EXPECT_EQ(Registered(),
              std::make_pair(QStringLiteral("/elsewhere/sub"), QStringLiteral("Mine.xls")));
}

// The hub's commands: Register runs the dialog, the workbook command runs
// only while the profile offers it.
class XlsTimeSheetHubTest : public XlsTimeSheetTest {
protected:
    void SetUp() override
    {
        XlsTimeSheetTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        RegisterXlsTimeSheetWindows(&m_db);
        COfficeSession::SetCurrent(&m_office);
    }
    void TearDown() override
    {
        COfficeSession::SetCurrent(nullptr);
        UnregisterHubWindow(ID_XLS_TIMESHEET);
        UnregisterHubWindow(ID_REGISTER_XSL);
        XlsTimeSheetTest::TearDown();
    }
};

TEST_P(XlsTimeSheetHubTest, TheHubRunsTheWorkbookWhenTheProfileOffersIt)
{
    BookTheWeek();
    CScriptedModals modals;
    modals.Then([this](CDialogBase& d) {
        EXPECT_NE(dynamic_cast<CRegsiterXSL*>(&d), nullptr);
        FileEdit(d)->setText(m_folder + QStringLiteral("Mine.xls"));
        d.OnCommand(CRegsiterXSL::kIdOk);
        return d.EndCode();
    });
    EXPECT_TRUE(m_hub->OnCommand(ID_REGISTER_XSL));
    EXPECT_EQ(modals.seen, QStringList{"CRegsiterXSL"});
    // The folder as the dialog stores it: without its separator.
    EXPECT_EQ(Registered().first + QLatin1Char('/'), m_folder);

    // Not offered: nothing runs.
    Option("XLSTS/xlsts", 0);
    CRecordingMessages::Current().Clear();
    EXPECT_TRUE(m_hub->OnCommand(ID_XLS_TIMESHEET));
    EXPECT_TRUE(m_record.opened.isEmpty());
    EXPECT_TRUE(Messages().isEmpty());

    Option("XLSTS/xlsts", 1);
    EXPECT_TRUE(m_hub->OnCommand(ID_XLS_TIMESHEET));
    EXPECT_EQ(m_record.opened, QStringList{m_folder + QStringLiteral("Mine.xls")});
    ASSERT_EQ(m_record.saved.size(), 1);
    // Saved under today's name; the hub opened no window for it.
    EXPECT_TRUE(QFileInfo(m_record.saved.first()).fileName().startsWith(QStringLiteral("ts_")));
    EXPECT_EQ(m_hub->OpenWindows(), 0);
    EXPECT_EQ(Messages().size(), 1) << Messages().join('|').toStdString();
}

KELVANE_INSTANTIATE_BACKENDS(XlsTimeSheetHubTest);
