#include "office/OfficeSession.h"
#include "office/Spreadsheet.h"
#include "office/TextDocument.h"
#include "platform/FaultPoint.h"
#include "platform/Launcher.h"
#include "tests/office/OfficeFiles.h"
#include "tests/office/OfficeFixture.h"
#include "tests/support/Processes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QThread>
#include <QUrl>

#include <signal.h>

namespace {

using OfficeSessionTest = OfficeTest;

class CRecordingLauncher : public ILauncherHook {
public:
    CRecordingLauncher() { SetLauncherHook(this); }
    ~CRecordingLauncher() override { SetLauncherHook(nullptr); }
    bool StartProgram(const QString& program, const QStringList& arguments) override
    {
        started << program + QLatin1Char(' ') + arguments.join(QLatin1Char(' '));
        return true;
    }
    bool OpenUrl(const QUrl& url) override
    {
        started << url.toString();
        return true;
    }
    QStringList started;
};

void Write(ISpreadsheet& sheet, const QString& text)
{
    sheet.SetValue(QStringLiteral("A1"), text);
}

} // namespace

TEST_F(OfficeSessionTest, StoresWithoutADesktopAndNeverOverwrites)
{
    QString first;
    QString second;
    OFFICE_CALL({
        auto sheet = Session().NewSpreadsheet();
        Write(*sheet, QStringLiteral("one"));
        first = Session().Present(*sheet, QStringLiteral("Week review 2024/03"));
        auto again = Session().NewSpreadsheet();
        Write(*again, QStringLiteral("two"));
        second = Session().Present(*again, QStringLiteral("Week review 2024/03"));
    });
    const QString folder = TestEnv::TestDir() + QStringLiteral("/documents");
    EXPECT_EQ(first, folder + QStringLiteral("/Week review 2024-03.xlsx"));
    EXPECT_EQ(second, folder + QStringLiteral("/Week review 2024-03 (2).xlsx"));
    EXPECT_EQ(CXlsxSheet(first).Text(QStringLiteral("A1")), QStringLiteral("one"));
    EXPECT_EQ(CXlsxSheet(second).Text(QStringLiteral("A1")), QStringLiteral("two"));
}

TEST_F(OfficeSessionTest, ATitleWithPercentSignsNamesItsFilesAsTyped)
{
    const QString title = QStringLiteral("Sale %1 off %2");
    QString second;
    OFFICE_CALL({
        auto sheet = Session().NewSpreadsheet();
        Session().Present(*sheet, title);
        auto again = Session().NewSpreadsheet();
        second = Session().Present(*again, title);
    });
    EXPECT_EQ(second, TestEnv::TestDir() + QStringLiteral("/documents/Sale %1 off %2 (2).xlsx"));
}

TEST_F(OfficeSessionTest, OnADesktopTheDocumentOpensUntitledInTheOfficeProgram)
{
    CRecordingLauncher launcher;
    Session().SetPresentation(COfficeSession::Presentation::Show);
    Session().SetOfficeHasWindows(true);
    QString file;
    OFFICE_CALL({
        auto doc = Session().NewTextDocument();
        doc->TypeText(QStringLiteral("hello"));
        file = Session().Present(*doc, QStringLiteral("Change requests"));
    });
    ASSERT_EQ(launcher.started.size(), 1);
    EXPECT_TRUE(launcher.started.first().endsWith(QStringLiteral("/soffice -n ") + file))
        << launcher.started.first().toStdString();
    EXPECT_TRUE(file.endsWith(QStringLiteral(".docx")));
    EXPECT_TRUE(CDocxBody(file).Paragraphs().join(',').contains(QStringLiteral("hello")));
    QFile::remove(file);
}

TEST_F(OfficeSessionTest, AnOfficeWithoutWindowsLeavesTheDocumentToTheDesktop)
{
    CRecordingLauncher launcher;
    Session().SetPresentation(COfficeSession::Presentation::Show);
    Session().SetOfficeHasWindows(false);
    QString file;
    OFFICE_CALL({
        auto sheet = Session().NewSpreadsheet();
        Write(*sheet, QStringLiteral("kept"));
        file = Session().Present(*sheet, QStringLiteral("Week review"));
    });
    EXPECT_EQ(file, TestEnv::TestDir() + QStringLiteral("/documents/Week review.xlsx"));
    EXPECT_EQ(launcher.started, QStringList{QUrl::fromLocalFile(file).toString()});
    EXPECT_EQ(CXlsxSheet(file).Text(QStringLiteral("A1")), QStringLiteral("kept"));
}

TEST_F(OfficeSessionTest, AnOfficeThatDiedIsStartedAgain)
{
    OFFICE_CALL(Session().Start());
    ASSERT_TRUE(Session().IsRunning());
    std::unique_ptr<ISpreadsheet> sheet;
    OFFICE_CALL(sheet = Session().NewSpreadsheet());
    const qint64 group = Session().ProcessGroup();
    ASSERT_GT(group, 0);
    ::kill(-static_cast<pid_t>(group), SIGKILL);
    // The document of the office that died refuses, and says the office has gone.
    try {
        for (int i = 0; i < 50; ++i)
            Write(*sheet, QStringLiteral("lost"));
        ADD_FAILURE() << "a dead office took the call";
    } catch (const COfficeError& e) {
        EXPECT_TRUE(e.Lost()) << e.what();
    }
    sheet.reset();
    const QString file = Path(QStringLiteral("after.xlsx"));
    OFFICE_CALL({
        auto fresh = Session().NewSpreadsheet();
        Write(*fresh, QStringLiteral("fresh"));
        fresh->SaveAs(file);
    });
    EXPECT_NE(Session().ProcessGroup(), group);
    EXPECT_EQ(CXlsxSheet(file).Text(QStringLiteral("A1")), QStringLiteral("fresh"));
}

TEST_F(OfficeSessionTest, TheOfficeEndsWithTheSessionEvenWithoutItsLauncher)
{
    COfficeSession office;
    OFFICE_CALL(office.Start());
    const qint64 group = office.ProcessGroup();
    ASSERT_GT(group, 1);
    ASSERT_GE(GroupProcesses(group).size(), 2);
    // The launcher alone ends; the office it started lives on.
    ::kill(static_cast<pid_t>(group), SIGKILL);
    QThread::msleep(200);
    EXPECT_FALSE(GroupProcesses(group).isEmpty());
    office.Shutdown();
    EXPECT_TRUE(GroupProcesses(group).isEmpty());
}

TEST_F(OfficeSessionTest, TwoOfficesWorkSideBySide)
{
    COfficeSession other;
    const QString a = Path(QStringLiteral("a.xlsx"));
    const QString b = Path(QStringLiteral("b.xlsx"));
    OFFICE_CALL({
        auto one = Session().NewSpreadsheet();
        auto two = other.NewSpreadsheet();
        EXPECT_NE(Session().ProcessGroup(), other.ProcessGroup());
        Write(*one, QStringLiteral("first"));
        Write(*two, QStringLiteral("second"));
        one->SaveAs(a);
        two->SaveAs(b);
    });
    EXPECT_EQ(CXlsxSheet(a).Text(QStringLiteral("A1")), QStringLiteral("first"));
    EXPECT_EQ(CXlsxSheet(b).Text(QStringLiteral("A1")), QStringLiteral("second"));
    // Ending one leaves the other, and takes its private profile with it.
    other.Shutdown();
    EXPECT_FALSE(other.IsRunning());
    EXPECT_TRUE(Session().IsRunning());
    const QDir runtime(qEnvironmentVariable("XDG_RUNTIME_DIR"));
    EXPECT_EQ(runtime.entryList({QStringLiteral("kelvane-office-*")}, QDir::Dirs).size(), 1);
}

namespace {

QStringList OfficeProfiles()
{
    return QDir(qEnvironmentVariable("XDG_RUNTIME_DIR"))
        .entryList({QStringLiteral("kelvane-office-*")}, QDir::Dirs);
}

// Ends the office being started, once, as an office that dies on its first
// start in a new profile ends.
COfficeSession* s_starting = nullptr;
void EndTheFirstStart(const char* name)
{
    if (!s_starting || QLatin1String(name) != QLatin1String("OfficeSession:launched"))
        return;
    ::kill(-static_cast<pid_t>(s_starting->ProcessGroup()), SIGKILL);
    s_starting = nullptr;
}

} // namespace

TEST_F(OfficeSessionTest, TwoNewSessionsOfOneProgramKeepTheirOwnProfiles)
{
    const QStringList before = OfficeProfiles();
    COfficeSession first;
    COfficeSession second;
    OFFICE_CALL({
        first.Start();
        second.Start();
    });
    EXPECT_NE(first.ProcessGroup(), second.ProcessGroup());
    EXPECT_EQ(OfficeProfiles().size(), before.size() + 2);
    // Ending one takes only its own profile; the other office goes on.
    second.Shutdown();
    EXPECT_EQ(OfficeProfiles().size(), before.size() + 1);
    const QString file = Path(QStringLiteral("first.xlsx"));
    OFFICE_CALL({
        auto sheet = first.NewSpreadsheet();
        Write(*sheet, QStringLiteral("still here"));
        sheet->SaveAs(file);
    });
    EXPECT_EQ(CXlsxSheet(file).Text(QStringLiteral("A1")), QStringLiteral("still here"));
}

TEST_F(OfficeSessionTest, AnOfficeThatEndsWhileItStartsIsStartedOnceMore)
{
    COfficeSession office;
    s_starting = &office;
    SetFaultHandler(&EndTheFirstStart);
    const auto reset = qScopeGuard([] {
        SetFaultHandler(nullptr);
        s_starting = nullptr;
    });
    OFFICE_CALL(office.Start());
    EXPECT_EQ(s_starting, nullptr) << "the start was not interrupted";
    EXPECT_TRUE(office.IsRunning());
    const QString file = Path(QStringLiteral("second start.xlsx"));
    OFFICE_CALL({
        auto sheet = office.NewSpreadsheet();
        Write(*sheet, QStringLiteral("started"));
        sheet->SaveAs(file);
    });
    EXPECT_EQ(CXlsxSheet(file).Text(QStringLiteral("A1")), QStringLiteral("started"));
}

TEST(OfficeUnavailableTest, WithoutTheBackEndEveryDocumentSaysSo)
{
    qputenv("KELVANE_OFFICE_BACKEND", "/nonexistent/libkelvane_uno.so");
    COfficeSession session;
    QString reason;
    EXPECT_FALSE(session.IsAvailable(&reason));
    EXPECT_TRUE(reason.contains(QStringLiteral("/nonexistent/libkelvane_uno.so")))
        << reason.toStdString();
    try {
        session.NewSpreadsheet();
        ADD_FAILURE() << "a document without a back end";
    } catch (const COfficeError& e) {
        EXPECT_EQ(e.ErrorKind(), COfficeError::kUnavailable);
    }
    EXPECT_FALSE(session.IsRunning());
    qunsetenv("KELVANE_OFFICE_BACKEND");
}
