#include "review/ExportTimeSheetsDlg.h"

#include "app/PickListDlg.h"
#include "data/ConnectionString.h"
#include "platform/FileChooser.h"
#include "tests/review/ExchangeFixture.h"
#include "ui/ProgressDlg.h"
#include "ui/ResourceIds.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

using namespace Exchange;

namespace {

const QDate kFirst(2026, 3, 1);
const QDate kLast(2026, 3, 31);

QString Golden(const QString& name)
{
    return ReadAll(QStringLiteral(KELVANE_REVIEW_GOLDEN) + QLatin1Char('/') + name);
}

// The file with its first line (the database it comes from) as in the golden files.
QString WithoutDatabase(const QString& text)
{
    return QStringLiteral("@DATABASE@") + text.mid(text.indexOf(QLatin1Char('\n')));
}

class CSaveChooser : public IFileChooserHook {
public:
    QString OpenFile(const QString&, const QString&, const QString&) override { return {}; }
    QString SaveFile(const QString& title, const QString& start, const QString&) override
    {
        asked << title + QLatin1Char('|') + start;
        return answer;
    }
    QStringList asked;
    QString answer;
};

} // namespace

class ExportTimeSheetsTest : public ExchangeTest {
protected:
    using Step = std::function<void(CExportTimeSheetsDlg&)>;

    // Exports with the dialog: everybody's rows of March to `file` unless
    // the step says otherwise; the status line afterwards.
    QString Export(const QString& file, const Step& choose = {})
    {
        QString status;
        CExportTimeSheetsDlg dlg(m_db, nullptr);
        RunModal<CExportTimeSheetsDlg>(dlg, [&](CExportTimeSheetsDlg& d) {
            d.SetFileName(file);
            d.Control<QComboBox>(CExportTimeSheetsDlg::kIdWhoFor)->setCurrentIndex(0);
            d.SetPeriod(kFirst, kLast);
            if (choose)
                choose(d);
            d.OnCommand(IDOK);
            status = d.StatusText();
        });
        return status;
    }
};

TEST_P(ExportTimeSheetsTest, TheDialogStartsWithTheDefaultsAndShowsItsControls)
{
    CProfileStore().setValue(QStringLiteral("DB/DefDirectory"), TestEnv::TestDir());
    int usesWhileOpen = 0;
    CExportTimeSheetsDlg dlg(m_db, nullptr);
    RunModal<CExportTimeSheetsDlg>(dlg, [&](CExportTimeSheetsDlg& d) {
        usesWhileOpen = m_db.Connection()->UseCount();
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Export TimeSheets"));
        EXPECT_EQ(d.FileName(), QDir(TestEnv::TestDir()).filePath("TimeSheetExp.txt"));
        EXPECT_EQ(d.Control<QLineEdit>(CTimeSheetExchangeDlg::kIdDatabase)->text(),
                  CConnectionString(m_connectionString).DatabaseName());
        auto* who = d.Control<QComboBox>(CExportTimeSheetsDlg::kIdWhoFor);
        ASSERT_EQ(who->count(), 3);
        EXPECT_EQ(who->itemText(0), QStringLiteral("All"));
        EXPECT_EQ(who->currentText(), QStringLiteral("Ann Lee"));
        EXPECT_EQ(d.Control<QLabel>(CExportTimeSheetsDlg::kIdProject)->text(),
                  QStringLiteral("All"));
        EXPECT_EQ(d.StatusText(), QStringLiteral("Report"));
        for (int id :
             {int(CTimeSheetExchangeDlg::kIdChooseFile),
              int(CTimeSheetExchangeDlg::kIdChooseDatabase),
              int(CExportTimeSheetsDlg::kIdChooseProject), int(CExportTimeSheetsDlg::kIdBegin),
              int(CExportTimeSheetsDlg::kIdEnd), 1, 2})
            EXPECT_NE(d.Control<QWidget>(id), nullptr) << id;
        d.SetPeriod(kFirst, kLast);
        Picture(d, QStringLiteral("export-timesheets.png"));
    });
    // The dialog held a use of the connection while it was open.
    EXPECT_EQ(m_db.Connection()->UseCount(), usesWhileOpen - 1);
}

TEST_P(ExportTimeSheetsTest, EveryRowOfThePeriodIsWrittenAsTheGoldenFileHasIt)
{
    BookSamples(m_db);
    const QString file = File("TimeSheetExp.txt");
    ASSERT_FALSE(QFile::exists(file));
    // The file is made when it is missing.
    EXPECT_EQ(Export(file), QStringLiteral("Finished Export 5 Records written to %1").arg(file));
    const QString text = ReadAll(file);
    EXPECT_EQ(text.section(QLatin1Char('\n'), 0, 0),
              CConnectionString(m_connectionString).DatabaseName());
    EXPECT_EQ(WithoutDatabase(text), Golden(QStringLiteral("export-march.txt")));
    // Never a password on the first line.
    EXPECT_FALSE(text.section(QLatin1Char('\n'), 0, 0).contains(QLatin1String("Password")));

    // A longer file of the same name is replaced, not overwritten in part.
    ASSERT_TRUE(WriteAll(file, QByteArray(4000, 'x')));
    Export(file,
           [](CExportTimeSheetsDlg& d) { d.SetPeriod(QDate(2026, 3, 3), QDate(2026, 3, 3)); });
    const QStringList lines = ReadAll(file).split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[2].startsWith(QLatin1String("1,5,7,2.000000,9,Late,300.000000,3,1,")));
    EXPECT_TRUE(lines[3].isEmpty());
}

TEST_P(ExportTimeSheetsTest, TheChoicesNarrowTheRows)
{
    BookSamples(m_db);
    const QString file = File("narrow.txt");
    EXPECT_EQ(Export(file,
                     [](CExportTimeSheetsDlg& d) {
                         d.Control<QComboBox>(CExportTimeSheetsDlg::kIdWhoFor)->setCurrentIndex(2);
                     }),
              QStringLiteral("Finished Export 2 Records written to %1").arg(file));
    EXPECT_EQ(ReadAll(file).count(QStringLiteral("\n2,6,8,")), 2);

    // The project from the pick list, answered like the user would.
    Export(file, [](CExportTimeSheetsDlg& d) {
        CScriptedModals pick;
        pick.Then([](CDialogBase& dialog) {
            auto* list = dialog.Control<QListWidget>(1028);
            const auto rows = list->findItems(QStringLiteral("Apollo"), Qt::MatchExactly);
            list->setCurrentItem(rows.value(0));
            dialog.OnCommand(IDOK);
            return dialog.EndCode();
        });
        d.OnCommand(CExportTimeSheetsDlg::kIdChooseProject);
        EXPECT_EQ(pick.seen, QStringList{QStringLiteral("CPickListDlg")});
        EXPECT_EQ(d.Control<QLabel>(CExportTimeSheetsDlg::kIdProject)->text(),
                  QStringLiteral("Apollo"));
        d.SetPeriod(QDate(2026, 3, 2), QDate(2026, 3, 2));
    });
    const QString text = ReadAll(file);
    EXPECT_EQ(text.count(QLatin1Char('\n')), 4) << text.toStdString();
    EXPECT_EQ(text.count(QStringLiteral("\n1,5,7,")), 2);
}

TEST_P(ExportTimeSheetsTest, AProjectThatIsGoneStopsTheExport)
{
    BookSamples(m_db);
    const QString file = File("gone.txt");
    const QString status = Export(file, [](CExportTimeSheetsDlg& d) {
        d.SetProject(QStringLiteral("Zephyr"));
        d.UpdateData(false);
    });
    EXPECT_EQ(status, QStringLiteral("Project Zephyr was not found in the database. Export ended"));
    EXPECT_FALSE(QFile::exists(file));
}

TEST_P(ExportTimeSheetsTest, MissingInputsAndUnwritableFilesAreToldInTheStatus)
{
    BookSamples(m_db);
    EXPECT_EQ(Export(QString()), QStringLiteral("No filename specified - try again"));
    EXPECT_EQ(Export(File("x.txt"),
                     [](CExportTimeSheetsDlg& d) {
                         d.Control<QComboBox>(CExportTimeSheetsDlg::kIdWhoFor)->setCurrentIndex(-1);
                     }),
              QStringLiteral("No person name specified - try again"));
    EXPECT_EQ(Export(File("x.txt"),
                     [](CExportTimeSheetsDlg& d) {
                         d.SetProject(QString());
                         d.UpdateData(false);
                     }),
              QStringLiteral("No Project specified - try again"));
    EXPECT_EQ(Export(File("x.txt"), [](CExportTimeSheetsDlg& d) { d.SetPeriod(kLast, kFirst); }),
              QStringLiteral("The begin date 31/03/2026 is after the end date 01/03/2026 - try "
                             "again"));
    const QString nowhere = File("no/such/folder/x.txt");
    EXPECT_EQ(Export(nowhere), QStringLiteral("Unable to open file %1").arg(nowhere));
    EXPECT_FALSE(QFile::exists(File("x.txt")));
}

TEST_P(ExportTimeSheetsTest, TheFileButtonAsksWhereToWrite)
{
    CSaveChooser chooser;
    SetFileChooserHook(&chooser);
    chooser.answer = File("chosen.txt");
    CExportTimeSheetsDlg dlg(m_db, nullptr);
    RunModal<CExportTimeSheetsDlg>(dlg, [&](CExportTimeSheetsDlg& d) {
        d.SetFileName(File("first.txt"));
        d.OnCommand(CTimeSheetExchangeDlg::kIdChooseFile);
        EXPECT_EQ(d.FileName(), File("chosen.txt"));
        EXPECT_EQ(d.Control<QLineEdit>(CTimeSheetExchangeDlg::kIdFile)->text(), File("chosen.txt"));
        chooser.answer.clear(); // cancelled: the name stays
        d.OnCommand(CTimeSheetExchangeDlg::kIdChooseFile);
        EXPECT_EQ(d.FileName(), File("chosen.txt"));
    });
    SetFileChooserHook(nullptr);
    EXPECT_EQ(chooser.asked, QStringList({"Select a file...|" + File("first.txt"),
                                          "Select a file...|" + File("chosen.txt")}));
}

TEST_P(ExportTimeSheetsTest, CancelInTheProgressWindowWritesNoFile)
{
    Exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < "
                        "3000) INSERT INTO tblTimeSheet (EmpID, ProjID, OrderID, WorkDate, "
                        "StartTime, StopTime, HoursWorked, TaskID, Comment, TimeID) SELECT 1, 5, "
                        "7, '2026-03-02 00:00:00', '2026-03-02 09:00:00', '2026-03-02 "
                        "10:00:00', 1, 9, 'bulk', i FROM n"));
    const QString file = File("cancelled.txt");
    CProgressDlg::SetTiming(0, 0);
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* progress = qobject_cast<QProgressDialog*>(w);
                progress && progress->isVisible() && progress->value() > 0)
                if (auto* cancel = progress->findChild<QPushButton*>())
                    cancel->click();
    });
    watcher.start(0);
    const QString status = Export(file);
    watcher.stop();
    CProgressDlg::SetTiming(400, 50);
    EXPECT_EQ(status, QStringLiteral("Export cancelled - %1 was not written").arg(file));
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_EQ(Export(file), QStringLiteral("Finished Export 3000 Records written to %1").arg(file));
}

TEST_P(ExportTimeSheetsTest, TheLastDayGivesItsRowsWhateverTimeTheirWorkDateCarries)
{
    BookSamples(m_db);
    // Written by the administration program: its day at noon.
    Exec(QStringLiteral("INSERT INTO tblTimeSheet (EmpID, ProjID, OrderID, WorkDate, StartTime, "
                        "StopTime, HoursWorked, TaskID, Comment, TimeID) VALUES (1, 5, 7, "
                        "'2026-03-03 12:00:00', '2026-03-03 08:00:00', '2026-03-03 09:00:00', 1, "
                        "9, 'From Vek', 2)"));
    const QString file = File("noon.txt");
    EXPECT_EQ(
        Export(file,
               [](CExportTimeSheetsDlg& d) { d.SetPeriod(QDate(2026, 3, 2), QDate(2026, 3, 3)); }),
        QStringLiteral("Finished Export 5 Records written to %1").arg(file));
    EXPECT_TRUE(ReadAll(file).contains(QStringLiteral(",From Vek,")));
}

KELVANE_INSTANTIATE_BACKENDS(ExportTimeSheetsTest);
