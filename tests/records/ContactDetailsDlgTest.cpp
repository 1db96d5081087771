#include "records/ContactDetailsDlg.h"
#include "tests/records/RecordingLauncher.h"
#include "tests/support/ScriptedModals.h"
#include "tests/support/TestEnv.h"
#include "ui/ResourceIds.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

QLineEdit* Field(CDialogBase& dialog, int id)
{
    return dialog.Control<QLineEdit>(id);
}

QPushButton* Button(CDialogBase& dialog, int id)
{
    return dialog.Control<QPushButton>(id);
}

} // namespace

TEST(ContactDetailsDlg, AddsOnlyWithAFirstAndALastName)
{
    CPersonValues person;
    person.FirstName = QStringLiteral("Ann");
    CScriptedModals modals;
    modals.Then([](CDialogBase& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Contacts Details  Add - O'Brien & Co"));
        EXPECT_EQ(Button(dialog, CContactDetailsDlg::kIdUpdate)->text(), QStringLiteral("Add"));
        EXPECT_FALSE(Button(dialog, CContactDetailsDlg::kIdSend)->isEnabled());
        EXPECT_EQ(Field(dialog, CContactDetailsDlg::kIdFirst)->text(), QStringLiteral("Ann"));
        Button(dialog, CContactDetailsDlg::kIdUpdate)->click();
        EXPECT_EQ(CRecordingMessages::Current().Last(),
                  QStringLiteral("You must have a first and last name to add an entry"));
        EXPECT_EQ(dialog.EndCode(), 0);
        Field(dialog, CContactDetailsDlg::kIdLast)->setText(QStringLiteral("  "));
        Button(dialog, CContactDetailsDlg::kIdUpdate)->click();
        EXPECT_EQ(dialog.EndCode(), 0); // blanks are no name
        Field(dialog, CContactDetailsDlg::kIdLast)->setText(QStringLiteral(" Lee "));
        Field(dialog, CContactDetailsDlg::kIdPhone)->setText(QStringLiteral("021 555"));
        Button(dialog, CContactDetailsDlg::kIdUpdate)->click();
        return dialog.EndCode();
    });
    CContactDetailsDlg dialog(QStringLiteral("O'Brien & Co"), person, true);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.Person().LastName, QStringLiteral("Lee"));
    EXPECT_EQ(dialog.Person().Phone, QStringLiteral("021 555"));
}

TEST(ContactDetailsDlg, EditsAndSendsMailAndCancelKeepsNothing)
{
    CRecordingLauncher launcher;
    CPersonValues person;
    person.FirstName = QStringLiteral("Åsa");
    person.LastName = QStringLiteral("Lund");
    person.Email = QStringLiteral("mailto:asa@example.se");
    CScriptedModals modals;
    modals.Then([](CDialogBase& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Contacts Details  Edit - Fjord AB"));
        EXPECT_EQ(Button(dialog, CContactDetailsDlg::kIdUpdate)->text(), QStringLiteral("&Update"));
        Button(dialog, CContactDetailsDlg::kIdSend)->click();
        Field(dialog, CContactDetailsDlg::kIdEmail)->setText(QStringLiteral("åsa@exämple.se"));
        Button(dialog, CContactDetailsDlg::kIdSend)->click();
        Field(dialog, CContactDetailsDlg::kIdLast)->setText(QStringLiteral("Berg"));
        Button(dialog, CContactDetailsDlg::kIdCancel)->click();
        return dialog.EndCode();
    });
    CContactDetailsDlg dialog(QStringLiteral("Fjord AB"), person, false);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    // A mailto link is passed on as written; the other is encoded.
    EXPECT_EQ(launcher.opened, QStringList({QStringLiteral("mailto:asa@example.se"),
                                            QStringLiteral("mailto:%C3%A5sa@ex%C3%A4mple.se")}));
}

TEST(ContactDetailsDlg, AnEditLeavesAStoredTextLongerThanItsColumnAsItIs)
{
    // As a file database may hold it from another program: longer than the column.
    CPersonValues person;
    person.FirstName = QStringLiteral("Maximiliana-Josefina-Anneliese");
    person.LastName = QStringLiteral("Ngata");
    CScriptedModals modals;
    modals.Then([](CDialogBase& dialog) {
        Field(dialog, CContactDetailsDlg::kIdPhone)->setText(QStringLiteral("021 555"));
        Button(dialog, CContactDetailsDlg::kIdUpdate)->click();
        return dialog.EndCode();
    });
    CContactDetailsDlg dialog(QStringLiteral("Fjord AB"), person, false);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(CRecordingMessages::Current().Count(), 0)
        << CRecordingMessages::Current().Texts().join('|').toStdString();
    EXPECT_EQ(dialog.Person().FirstName, person.FirstName);
    EXPECT_EQ(dialog.Person().Phone, QStringLiteral("021 555"));
}
