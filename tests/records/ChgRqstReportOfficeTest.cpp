#include "office/OfficeSession.h"
#include "tests/office/OfficeFiles.h"
#include "tests/records/ChgRqstWindowFixture.h"

#include <QFileInfo>

namespace {

// One office for the suite; the reports are stored in the test's folder.
class ChgRqstReportOfficeTest : public ChgRqstWindowTest {
protected:
    static void SetUpTestSuite() { s_office = std::make_unique<COfficeSession>(); }
    static void TearDownTestSuite() { s_office.reset(); }
    void SetUp() override
    {
        ChgRqstWindowTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        s_office->SetPresentation(COfficeSession::Presentation::Store);
        s_office->SetStoreFolder(TestEnv::TestDir() + QStringLiteral("/documents"));
        Open();
        m_window->SetDocuments(s_office.get());
    }
    QString Export()
    {
        CRecordingMessages::Current().Clear();
        m_window->OnCommand(CChgRqstDlg::kCmdWord);
        return m_window->LastReportFile();
    }
    // Each row as "label | value" or "[merged]", "*" after a bold cell and
    // "#RRGGBB" for a filled row.
    static QStringList Rows(const QList<QList<CDocxBody::CCell>>& table)
    {
        QStringList out;
        for (const QList<CDocxBody::CCell>& row : table) {
            QStringList cells;
            for (const CDocxBody::CCell& cell : row)
                cells << cell.text +
                             (cell.bold && !cell.text.isEmpty() ? QStringLiteral("*") : QString());
            QString text = row.size() == 1 ? QStringLiteral("[%1]").arg(cells.value(0))
                                           : cells.join(QStringLiteral(" | "));
            if (!row.isEmpty() && !row.first().fill.isEmpty())
                text += QStringLiteral(" #") + row.first().fill;
            out << text;
        }
        return out;
    }

    static inline std::unique_ptr<COfficeSession> s_office;
};

} // namespace

TEST_P(ChgRqstReportOfficeTest, TheListedRequestsAreWrittenIntoAStoredDocument)
{
    AddAction(Id(1), QStringLiteral("Drawn"));
    AddAction(Id(1), QStringLiteral("Checked ☕"));
    Choose(CChgRqstDlg::kIdTeamMember, QStringLiteral("Any"));
    SelectNode(QStringLiteral("Bridge"));
    ASSERT_EQ(Ids(), IdsOf({2, 1}));
    const QString file = Export();
    ASSERT_FALSE(file.isEmpty()) << Messages().join('|').toStdString();
    EXPECT_TRUE(QFileInfo(file).fileName().startsWith(QStringLiteral("ChgRst_")));
    EXPECT_TRUE(file.endsWith(QStringLiteral(".docx")));
    EXPECT_EQ(m_window->InformationText(), QStringLiteral("2 Change Requests found"));

    const CDocxBody body(file);
    ASSERT_TRUE(body.IsValid());
    const QStringList paragraphs = body.Paragraphs();
    ASSERT_GE(paragraphs.size(), 3);
    EXPECT_EQ(paragraphs.at(0), QStringLiteral("Heading1: Change Requests "));
    EXPECT_TRUE(paragraphs.at(1).startsWith(QStringLiteral("Heading2: ")));
    EXPECT_EQ(paragraphs.at(2), QStringLiteral("Heading2: Not completed Only"));
    // Two items of R-1 under one header, both open, newest id first.
    const QStringList rows = Rows(body.FirstTable());
    const QStringList expected = {
        QStringLiteral("Project * | Bridge* #808080"),
        QStringLiteral("ID* | %1* #C0C0C0").arg(Id(2)),
        QStringLiteral("Reference | R-1 #FFFFFF"),
        QStringLiteral("Authority | Ann Lee"),
        QStringLiteral("Date | 02/03/26 09:30"),
        QStringLiteral("Company | Acme"),
        QStringLiteral("Contact | Jane Roe"),
        QStringLiteral("Priority | High"),
        QStringLiteral("Team | Bob O'Neil, Cleo Ng"),
        QStringLiteral("[1. Order steel]"),
        QStringLiteral("Actions | "),
        QStringLiteral("Full Details | "),
        QStringLiteral("[2. Check drawings]"),
        QStringLiteral("Actions | Drawn\nChecked ☕"),
        QStringLiteral("Full Details | Details of the drawings"),
    };
    EXPECT_EQ(rows, expected) << rows.join(QLatin1Char('\n')).toStdString();
}

TEST_P(ChgRqstReportOfficeTest, ControlCharactersInTheDetailsNeverEmptyTheirCell)
{
    // Pasted from a word processor: its manual line break (a vertical tab)
    // and a bell, saved through the request's own write.
    CChgReqRecord record;
    QString reason;
    ASSERT_EQ(m_db.ReadChangeRequest(Id(1), record, reason), ChgReqResult::Ok)
        << reason.toStdString();
    CChgReqUpdate update;
    update.ProjID = record.ProjID;
    update.EmpID = record.EmpID;
    update.Contact = record.Contact;
    update.Reference = record.Reference;
    update.Item = record.Item;
    update.FullDetail = QStringLiteral("Span 40 m\vDeck 12 m\a ✓");
    update.TeamList = record.TeamList;
    update.StatusID = record.StatusID;
    update.Priority = record.Priority;
    ASSERT_EQ(m_db.UpdateChangeRequest(Id(1), update, {QStringLiteral("Ring\abell")}, reason),
              ChgReqResult::Ok)
        << reason.toStdString();
    Choose(CChgRqstDlg::kIdTeamMember, QStringLiteral("Any"));
    SelectNode(QStringLiteral("Bridge"));
    ASSERT_EQ(Ids(), IdsOf({2, 1}));
    const QString file = Export();
    ASSERT_FALSE(file.isEmpty()) << Messages().join('|').toStdString();
    const QStringList rows = Rows(CDocxBody(file).FirstTable());
    ASSERT_GE(rows.size(), 15) << rows.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(rows.at(13), QStringLiteral("Actions | Ringbell"));
    EXPECT_EQ(rows.at(14), QStringLiteral("Full Details | Span 40 m\nDeck 12 m ✓"));
}

TEST_P(ChgRqstReportOfficeTest, ACompletedItemAndANewGroupAfterAnEmptyRow)
{
    ShowEverything();
    SelectNode(QStringLiteral("Bridge"));
    ASSERT_EQ(Ids(), IdsOf({2, 1, 4}));
    const QString file = Export();
    ASSERT_FALSE(file.isEmpty()) << Messages().join('|').toStdString();
    const CDocxBody body(file);
    ASSERT_TRUE(body.IsValid());
    EXPECT_FALSE(body.Paragraphs().contains(QStringLiteral("Heading2: Not completed Only")));
    const QStringList rows = Rows(body.FirstTable());
    ASSERT_EQ(rows.size(), 9 + 6 + 1 + 9 + 3) << rows.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(rows.at(15), QStringLiteral(" | "));
    EXPECT_EQ(rows.at(16), QStringLiteral("Project * | Bridge* #808080"));
    EXPECT_EQ(rows.at(17), QStringLiteral("ID* | %1* #C0C0C0").arg(Id(4)));
    EXPECT_EQ(rows.at(18), QStringLiteral("Reference | R-9 #FFFFFF"));
    EXPECT_EQ(rows.at(25), QStringLiteral("1. Old item | Completed 04/03/26*"));
}

TEST_P(ChgRqstReportOfficeTest, AnEmptyListGivesTheHeadingsAndAnEmptyTable)
{
    SelectNode(QStringLiteral("Apollo"));
    Choose(CChgRqstDlg::kIdAuthority, QStringLiteral("Cleo Ng"));
    ASSERT_TRUE(Ids().isEmpty());
    const QString file = Export();
    ASSERT_FALSE(file.isEmpty()) << Messages().join('|').toStdString();
    const CDocxBody body(file);
    ASSERT_TRUE(body.IsValid());
    EXPECT_EQ(Rows(body.FirstTable()), QStringList({QStringLiteral(" | ")}));
    EXPECT_EQ(m_window->InformationText(), QStringLiteral("0 Change Requests found"));
}

KELVANE_INSTANTIATE_BACKENDS(ChgRqstReportOfficeTest);
