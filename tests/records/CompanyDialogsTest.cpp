#include "records/CompanyDetailsDlg.h"
#include "records/CompanyEditDlg.h"
#include "tests/support/ContactsFixture.h"
#include "tests/support/TestEnv.h"
#include "ui/ResourceIds.h"
#include "ui/RichTextCtrl.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

class CompanyDialogsTest : public ContactsTest {
protected:
    static void Type(CDialogBase& dialog, int id, const QString& text)
    {
        dialog.Control<QLineEdit>(id)->setText(text);
    }
    static void Press(CDialogBase& dialog, int id) { dialog.Control<QPushButton>(id)->click(); }
    // Where Tab takes the focus from a control of a shown dialog.
    static QWidget* AfterTab(CDialogBase& dialog, QWidget* from)
    {
        from->setFocus(Qt::TabFocusReason);
        QTest::keyClick(from, Qt::Key_Tab);
        return dialog.focusWidget();
    }
};

} // namespace

TEST_P(CompanyDialogsTest, AddingRefusesWhatCannotBeStoredAndStoresTheRest)
{
    AddCompany(QStringLiteral("Acme"));
    CRecordingMessages& messages = CRecordingMessages::Current();
    CCompanyDetailsDlg dialog(m_db);
    ASSERT_TRUE(dialog.Create());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Company Details Add"));
    auto* types = dialog.Control<QComboBox>(CCompanyDetailsDlg::kIdBusinessType);
    ASSERT_EQ(types->count(), 4);
    EXPECT_EQ(types->itemText(0), QStringLiteral("Consultant"));
    EXPECT_EQ(types->currentIndex(), -1);

    Press(dialog, IDOK);
    EXPECT_EQ(messages.Last(), QStringLiteral("You need to specify a company Name"));
    Type(dialog, CCompanyDetailsDlg::kIdName, QStringLiteral("ACME"));
    Press(dialog, IDOK);
    EXPECT_EQ(messages.Last(), QStringLiteral("You need to specify a business type"));
    types->setCurrentIndex(types->findText(QStringLiteral("Customer")));
    Press(dialog, IDOK);
    EXPECT_EQ(messages.Last(),
              QStringLiteral("Company Name exist already - the name should be unique"));
    Type(dialog, CCompanyDetailsDlg::kIdName, QStringLiteral("O'Hara & Søn"));
    Type(dialog, CCompanyDetailsDlg::kIdWeb, QStringLiteral("file:///etc/passwd"));
    Press(dialog, IDOK);
    EXPECT_TRUE(messages.Last().contains(QStringLiteral("only http and https")));
    EXPECT_EQ(dialog.EndCode(), 0);
    EXPECT_EQ(CompanyId(QStringLiteral("O'Hara & Søn")), -1);

    Type(dialog, CCompanyDetailsDlg::kIdWeb, QStringLiteral("www.ohara.example"));
    Type(dialog, CCompanyDetailsDlg::kIdAddress2, QString(300, QChar(0x00FC)));
    Press(dialog, IDOK);
    EXPECT_EQ(dialog.EndCode(), IDOK);
    EXPECT_EQ(messages.Last(), QStringLiteral("The second address line can not be longer than 255 "
                                              "characters - it has been cut"));
    const int id = CompanyId(QStringLiteral("O'Hara & Søn"));
    EXPECT_EQ(dialog.CompanyId(), id);
    EXPECT_EQ(Links(id), QList<int>({TypeId(QStringLiteral("Customer"))}));
    // No person name: no person. The long address is cut to its column.
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM tblAddrPerson WHERE CompanyID = ?"), {id}),
              0);
    EXPECT_EQ(Query(QStringLiteral("SELECT Address2 FROM tblAddrCompany WHERE CompanyID = ?"), {id})
                  .Value(0, 0)
                  .toString(),
              QString(255, QChar(0x00FC)));
}

TEST_P(CompanyDialogsTest, AddingWithAPersonStoresTheCurrentPerson)
{
    CCompanyDetailsDlg dialog(m_db);
    ASSERT_TRUE(dialog.Create());
    Type(dialog, CCompanyDetailsDlg::kIdName, QStringLiteral("Rimu Ltd"));
    auto* types = dialog.Control<QComboBox>(CCompanyDetailsDlg::kIdBusinessType);
    // Tab goes down the company's fields as they stand.
    auto* name = dialog.Control<QLineEdit>(CCompanyDetailsDlg::kIdName);
    EXPECT_EQ(AfterTab(dialog, name), types);
    EXPECT_EQ(AfterTab(dialog, types), dialog.Control<QLineEdit>(CCompanyDetailsDlg::kIdComment));
    types->setCurrentIndex(types->findText(QStringLiteral("Partner")));
    Type(dialog, CCompanyDetailsDlg::kIdLast, QStringLiteral("Ngata"));
    Type(dialog, CCompanyDetailsDlg::kIdEmail, QStringLiteral("ngata@rimu.example"));
    Press(dialog, IDOK);
    ASSERT_EQ(dialog.EndCode(), IDOK);
    const CQueryResult person =
        Query(QStringLiteral("SELECT LastName, FullName, PeopleInternetID, IsCurrent FROM "
                             "tblAddrPerson WHERE CompanyID = ?"),
              {dialog.CompanyId()});
    ASSERT_EQ(person.rows, 1);
    EXPECT_EQ(person.Value(0, 1).toString(), QStringLiteral("Ngata"));
    EXPECT_EQ(person.Value(0, 3).toInt(), 1);
}

TEST_P(CompanyDialogsTest, TextsLongerThanTheirColumnsAreToldBeforeTheyAreWritten)
{
    CRecordingMessages& messages = CRecordingMessages::Current();
    CCompanyDetailsDlg dialog(m_db);
    ASSERT_TRUE(dialog.Create());
    Type(dialog, CCompanyDetailsDlg::kIdName, QStringLiteral("Tōtara Ltd"));
    auto* types = dialog.Control<QComboBox>(CCompanyDetailsDlg::kIdBusinessType);
    types->setCurrentIndex(types->findText(QStringLiteral("Partner")));
    Type(dialog, CCompanyDetailsDlg::kIdComment, QString(5999, QLatin1Char('c')) + "☕☕");
    Type(dialog, CCompanyDetailsDlg::kIdFirst, QStringLiteral("Maximiliana-Josefina-Ann"));
    Type(dialog, CCompanyDetailsDlg::kIdLast, QStringLiteral("O") + QChar(0xD83D));
    // Half of a character: refused, nothing written.
    Press(dialog, IDOK);
    EXPECT_EQ(messages.Last(), QStringLiteral("The last name holds half of a character (at "
                                              "position 2), which no database can store."));
    EXPECT_EQ(dialog.EndCode(), 0);
    EXPECT_EQ(CompanyId(QStringLiteral("Tōtara Ltd")), -1);
    // Too long: cut where the user sees it, after one message.
    Type(dialog, CCompanyDetailsDlg::kIdLast, QStringLiteral("Ngata"));
    Press(dialog, IDOK);
    ASSERT_EQ(dialog.EndCode(), IDOK);
    EXPECT_EQ(messages.Last(),
              QStringLiteral("The comment can not be longer than 6000 characters - it has been "
                             "cut\nThe first name can not be longer than 20 characters - it has "
                             "been cut"));
    EXPECT_EQ(dialog.Control<QLineEdit>(CCompanyDetailsDlg::kIdFirst)->text(),
              QStringLiteral("Maximiliana-Josefina"));
    const int id = dialog.CompanyId();
    EXPECT_EQ(
        Query(QStringLiteral("SELECT AddressComment FROM tblAddrCompany WHERE CompanyID = ?"), {id})
            .Value(0, 0)
            .toString(),
        QString(5999, QLatin1Char('c')) + "☕");
    EXPECT_EQ(Query(QStringLiteral("SELECT FirstName FROM tblAddrPerson WHERE CompanyID = ?"), {id})
                  .Value(0, 0)
                  .toString(),
              QStringLiteral("Maximiliana-Josefina"));
}

TEST_P(CompanyDialogsTest, EditingShowsTheTypesAndRewritesThem)
{
    const int id = AddCompany(QStringLiteral("O'Brien & Co"),
                              {QStringLiteral("Customer"), QStringLiteral("Supplier")});
    AddCompany(QStringLiteral("Totara Ltd"));
    CCompanyValues values;
    values.CompanyName = QStringLiteral("O'Brien & Co");
    values.AddressComment = QStringLiteral("{\\rtf1 Gate code \\b 1234\\b0\\par}");
    CRecordingMessages& messages = CRecordingMessages::Current();
    CCompanyEditDlg dialog(m_db, id, values);
    ASSERT_TRUE(dialog.Create());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Company Details - O'Brien & Co"));
    EXPECT_EQ(dialog.Control<QLabel>(CCompanyEditDlg::kIdNameAtOpening)->text(),
              QStringLiteral("O'Brien & Co"));
    EXPECT_EQ(dialog.Control<CRichTextCtrl>(CCompanyEditDlg::kIdComment)->toPlainText(),
              QStringLiteral("Gate code 1234"));
    auto* types = dialog.Control<QListWidget>(CCompanyEditDlg::kIdBusinessTypes);
    auto* comment = dialog.Control<CRichTextCtrl>(CCompanyEditDlg::kIdComment);
    EXPECT_EQ(AfterTab(dialog, dialog.Control<QLineEdit>(CCompanyEditDlg::kIdWeb)), comment);
    EXPECT_EQ(AfterTab(dialog, comment), types);
    QStringList selected;
    for (const QListWidgetItem* item : types->selectedItems())
        selected << item->text();
    selected.sort();
    EXPECT_EQ(selected, QStringList({"Customer", "Supplier"}));

    Type(dialog, CCompanyEditDlg::kIdName, QStringLiteral("totara LTD"));
    Press(dialog, IDOK);
    EXPECT_EQ(messages.Last(),
              QStringLiteral("Company name already exists - these must be unique"));
    EXPECT_EQ(dialog.EndCode(), 0);

    // Only the case changes, and no type is left.
    Type(dialog, CCompanyEditDlg::kIdName, QStringLiteral("O'BRIEN & CO"));
    types->clearSelection();
    Press(dialog, IDOK);
    ASSERT_EQ(dialog.EndCode(), IDOK);
    EXPECT_EQ(dialog.StoredName(), QStringLiteral("O'BRIEN & CO"));
    EXPECT_EQ(CompanyId(QStringLiteral("O'BRIEN & CO")), id);
    EXPECT_TRUE(Links(id).isEmpty());
    // The comment, left as it was shown, keeps its rich text.
    EXPECT_EQ(
        Query(QStringLiteral("SELECT AddressComment FROM tblAddrCompany WHERE CompanyID = ?"), {id})
            .Value(0, 0)
            .toString(),
        QStringLiteral("{\\rtf1 Gate code \\b 1234\\b0\\par}"));
}

TEST_P(CompanyDialogsTest, ACompanyGoneBeforeTheEditStaysGone)
{
    const int id = AddCompany(QStringLiteral("Ghost Ltd"), {QStringLiteral("Customer")});
    CCompanyValues values;
    values.CompanyName = QStringLiteral("Ghost Ltd");
    CCompanyEditDlg dialog(m_db, id, values);
    ASSERT_TRUE(dialog.Create());
    Exec(QStringLiteral("DELETE FROM tblAddrCompany WHERE CompanyID = ?"), {id});
    dialog.Control<QListWidget>(CCompanyEditDlg::kIdBusinessTypes)->selectAll();
    Press(dialog, IDOK);
    EXPECT_EQ(CRecordingMessages::Current().Last(),
              QStringLiteral("Cannot find Company information"));
    EXPECT_EQ(dialog.EndCode(), 0);
    // Its links are what they were: nothing was written for a company that is not there.
    EXPECT_EQ(Links(id), QList<int>({TypeId(QStringLiteral("Customer"))}));
}

TEST_P(CompanyDialogsTest, AnEditOfThePhoneKeepsTheOtherTextsAsAnotherProgramStoredThem)
{
    // Pages the add dialog would refuse or cut; a file database's texts
    // have no width.
    QStringList pages = {QStringLiteral("ftp://files.example/price-list")};
    if (!IsPostgres())
        pages << QStringLiteral("www.example.com/") + QString(284, QLatin1Char('p'));
    for (const QString& page : std::as_const(pages)) {
        SCOPED_TRACE(page.left(40).toStdString());
        EmptyAddressBook();
        const int id = AddCompany(QStringLiteral("Kauri Ltd"), {}, page);
        const CQueryResult stored = Query(
            QStringLiteral("SELECT CompanyName, AddressComment, Phone, WWWpage, Address1 FROM "
                           "tblAddrCompany WHERE CompanyID = ?"),
            {id});
        CCompanyValues values;
        values.CompanyName = stored.Value(0, 0).toString();
        values.AddressComment = stored.Value(0, 1).toString();
        values.Phone = stored.Value(0, 2).toString();
        values.WWWpage = stored.Value(0, 3).toString();
        values.Address1 = stored.Value(0, 4).toString();
        CRecordingMessages::Current().Clear();
        CCompanyEditDlg dialog(m_db, id, values);
        ASSERT_TRUE(dialog.Create());
        Type(dialog, CCompanyEditDlg::kIdPhone, QStringLiteral("09 555 0199"));
        Press(dialog, IDOK);
        EXPECT_EQ(dialog.EndCode(), IDOK);
        EXPECT_EQ(CRecordingMessages::Current().Count(), 0)
            << CRecordingMessages::Current().Texts().join('|').toStdString();
        const CQueryResult after = Query(
            QStringLiteral("SELECT Phone, WWWpage FROM tblAddrCompany WHERE CompanyID = ?"), {id});
        EXPECT_EQ(after.Value(0, 0).toString(), QStringLiteral("09 555 0199"));
        EXPECT_EQ(after.Value(0, 1).toString(), page);
    }
}

KELVANE_INSTANTIATE_BACKENDS(CompanyDialogsTest);
