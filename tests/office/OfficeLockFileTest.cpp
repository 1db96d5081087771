#include "office/OfficeLockFile.h"
#include "office/Spreadsheet.h"
#include "office/TextDocument.h"
#include "tests/office/KillingOffice.h"
#include "tests/office/OfficeFiles.h"
#include "tests/office/OfficeFixture.h"
#include "tests/support/Processes.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <thread>

namespace {

using OfficeLockFileTest = OfficeTest;

bool HasLock(const QString& document)
{
    return QFileInfo::exists(COfficeLockFile(document).Path());
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

template <typename Condition>
bool WaitFor(Condition condition)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition() && clock.elapsed() < 60000)
        QThread::msleep(10);
    return condition();
}

} // namespace

TEST_F(OfficeLockFileTest, AnOfficeKilledWhileSavingLeavesTheNextSaveOfThatFileWorking)
{
    // A workbook presented as the week review presents it, to a new file.
    const QString folder = TestEnv::TestDir() + QStringLiteral("/documents");
    const QString title = QStringLiteral("Week review 2024-03-04 to 2024-03-08");
    const QString workbook = folder + QLatin1Char('/') + title + QStringLiteral(".xlsx");
    {
        CKillingOffice dying(Session(), folder);
        std::unique_ptr<ISpreadsheet> sheet;
        OFFICE_CALL(sheet = dying.NewSpreadsheet());
        OFFICE_CALL(sheet->SetValue(QStringLiteral("A1"), QStringLiteral("lost")));
        try {
            dying.Present(*sheet, title);
            ADD_FAILURE() << "a killed office saved the workbook";
        } catch (const COfficeError& e) {
            EXPECT_TRUE(e.Lost()) << e.what();
        }
    }
    // Killed mid-save: the lock is left, the workbook never written.
    ASSERT_TRUE(HasLock(workbook));
    ASSERT_FALSE(QFileInfo::exists(workbook));
    QString again;
    OFFICE_CALL({
        auto sheet = Session().NewSpreadsheet();
        sheet->SetValue(QStringLiteral("A1"), QStringLiteral("saved"));
        again = Session().Present(*sheet, title);
    });
    EXPECT_EQ(again, workbook);
    EXPECT_EQ(CXlsxSheet(workbook).Text(QStringLiteral("A1")), QStringLiteral("saved"));
    EXPECT_FALSE(HasLock(workbook));

    // A text document saved over an earlier one, as a time sheet replaces last week's.
    const QString report = Path(QStringLiteral("ChgRst_Bridge.docx"));
    OFFICE_CALL({
        auto document = Session().NewTextDocument();
        document->TypeText(QStringLiteral("first"));
        document->SaveAs(report);
        document->Close();
    });
    {
        std::unique_ptr<ITextDocument> document;
        OFFICE_CALL(document = Session().NewTextDocument());
        OFFICE_CALL(document->TypeText(QStringLiteral("lost")));
        CSignalWhileSaving kill(Session(), TestEnv::TestDir());
        EXPECT_THROW(document->SaveAs(report), COfficeError);
    }
    ASSERT_TRUE(HasLock(report));
    OFFICE_CALL({
        auto document = Session().NewTextDocument();
        document->TypeText(QStringLiteral("second"));
        document->SaveAs(report);
        document->Close();
    });
    const QString text = CDocxBody(report).Paragraphs().join(QLatin1Char('|'));
    EXPECT_TRUE(text.contains(QStringLiteral("second")) && !text.contains(QStringLiteral("lost")))
        << text.toStdString();
    EXPECT_FALSE(HasLock(report));
}

TEST_F(OfficeLockFileTest, ALockAnOfficeMayStillHoldIsKeptAndTheSaveRefused)
{
    const QString file = Path(QStringLiteral("Week review.xlsx"));
    const QString lock = COfficeLockFile(file).Path();
    // Another office, stopped in the middle of saving the same file.
    COfficeSession other;
    std::unique_ptr<ISpreadsheet> theirs;
    OFFICE_CALL(theirs = other.NewSpreadsheet());
    const qint64 group = other.ProcessGroup();
    std::thread saving;
    bool stopped = false;
    {
        CSignalWhileSaving stop(other, TestEnv::TestDir(), SIGSTOP);
        saving = std::thread([&theirs, &file] {
            try {
                theirs->SaveAs(file);
            } catch (const COfficeError&) {
                // Killed below.
            }
        });
        stopped = WaitFor([&stop] { return stop.Fired(); });
    }
    if (!stopped) {
        ::kill(-static_cast<pid_t>(group), SIGKILL);
        saving.join();
        FAIL() << "the other office did not save";
    }
    const auto save = [&file] {
        auto sheet = Session().NewSpreadsheet();
        sheet->SetValue(QStringLiteral("A1"), QStringLiteral("ours"));
        sheet->SaveAs(file);
    };
    try {
        save();
        ADD_FAILURE() << "saved over the lock of an office that runs";
    } catch (const COfficeError& e) {
        EXPECT_TRUE(QString::fromStdString(e.what()).startsWith(
            QStringLiteral("\"%1\" is open in LibreOffice elsewhere (")
                .arg(QDir::toNativeSeparators(file))))
            << e.what();
    }
    const QByteArray held = ReadAll(lock);
    EXPECT_FALSE(held.isEmpty());

    // Once that office has gone its lock is cleared, and the file saved.
    ::kill(-static_cast<pid_t>(group), SIGKILL);
    saving.join();
    ASSERT_TRUE(WaitFor([group] { return GroupProcesses(group).isEmpty(); }));
    EXPECT_EQ(ReadAll(lock), held);
    OFFICE_CALL(save());
    EXPECT_EQ(CXlsxSheet(file).Text(QStringLiteral("A1")), QStringLiteral("ours"));
    EXPECT_FALSE(QFileInfo::exists(lock));

    // The same lock from another computer: whether its office runs cannot be told.
    QList<QByteArray> fields = held.split(',');
    ASSERT_GE(fields.size(), 5);
    fields[2] = "elsewhere.example";
    WriteAll(lock, fields.join(','));
    EXPECT_THROW(save(), COfficeError);
    EXPECT_EQ(ReadAll(lock), fields.join(','));
}
