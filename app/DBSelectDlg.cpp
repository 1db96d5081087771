#include "app/DBSelectDlg.h"

#include "app/DummyDlg.h"
#include "app/Profile.h"
#include "app/PropsDef.h"
#include "data/ConnectionString.h"
#include "data/DBClass.h"
#include "data/DBConnection.h"
#include "platform/MessageBox.h"
#include "ui/ResourceIds.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

// How CConnectionString::Masked shows a password.
const QString kMaskedPassword = QStringLiteral("*****");
const QString kPasswordKey = QStringLiteral("Password");

QString Masked(const QString& connectionString)
{
    return connectionString.isEmpty() ? QString() : CConnectionString(connectionString).Masked();
}

} // namespace

CDBSelectDlg::CDBSelectDlg(CPropsDef& sheet)
    : CPropertyPage(sheet, IDD_DB_SELECT, QStringLiteral("Database Connection"))
{
    m_text = new QTextEdit(this);
    CDialogBase::SetControlId(m_text, IDC_CONNECTION_TEXT);
    m_text->setAcceptRichText(false);
    m_text->setTabChangesFocus(true);
    auto* select = new QPushButton(QStringLiteral("&Select"), this);
    CDialogBase::SetControlId(select, IDC_SELECT_DATABASE);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(select);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(NewLabel(QStringLiteral("&Database :"), m_text));
    layout->addWidget(m_text, 1);
    layout->addLayout(buttons);

    // Only Select marks the page: a string typed by hand is taken by OK.
    connect(select, &QPushButton::clicked, this, [this] { OnSelect(); });
}

void CDBSelectDlg::OnInitPage()
{
    m_text->setLineWrapMode(QTextEdit::WidgetWidth);
    m_text->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_connection = CProfile::DefDatabaseName();
    if (m_connection.isEmpty() && Sheet().Facade())
        m_connection = Sheet().Facade()->Connection()->ConnectionString();
    m_atOpening = m_connection;
    m_changedDatabase = false;
    ShowConnection();
}

void CDBSelectDlg::ShowConnection()
{
    // The password is never shown; it is kept in the member.
    m_text->setPlainText(Masked(m_connection));
}

bool CDBSelectDlg::DoDataExchange(bool saveAndValidate)
{
    if (!saveAndValidate) {
        ShowConnection();
        return true;
    }
    const QString typed = m_text->toPlainText().simplified();
    if (typed == Masked(m_connection).simplified())
        return true;
    // Edited by hand: a password still shown masked is the one it stands for.
    CConnectionString edited(typed);
    if (edited.Value(kPasswordKey) == kMaskedPassword)
        edited.Set(kPasswordKey, CConnectionString(m_connection).Value(kPasswordKey));
    m_connection = typed.isEmpty() ? QString() : edited.ToString();
    return true;
}

void CDBSelectDlg::OnSelect()
{
    IConnectionPrompt* prompt = CDBConnection::Prompt();
    QString chosen = prompt ? prompt->PromptConnectionString(m_connection) : QString();
    // Cancelled: the page keeps what it had.
    if (chosen.isEmpty() || !TryOpen(chosen))
        return;
    m_connection = chosen;
    ShowConnection();
    SetChanged();
}

bool CDBSelectDlg::TryOpen(QString& connectionString)
{
    CDBConnection probe;
    probe.UseConnectionString(connectionString);
    if (!probe.Connect(false))
        return false;
    connectionString = probe.ConnectionString();
    probe.ReleaseConnection(true);
    return true;
}

bool CDBSelectDlg::OnApply()
{
    CPropertyPage::OnApply();
    UpdateData(true);
    m_changedDatabase = m_connection != m_atOpening;
    if (!m_changedDatabase)
        return true;
    const bool switched = SwitchDatabase(m_connection);
    // What is in use from now on; a second apply has nothing to do.
    m_connection = m_atOpening;
    ShowConnection();
    ClearChanged();
    return switched;
}

bool CDBSelectDlg::SwitchDatabase(const QString& wanted)
{
    const QString before = m_atOpening;
    const auto named = [](const QString& connectionString) {
        return connectionString.isEmpty() ? QStringLiteral("(none)") : Masked(connectionString);
    };
    const auto refuse = [&](const QString& tried) {
        ShowMessageBox(QStringLiteral("Kelvane could not open the database %1 and goes on with %2.")
                           .arg(named(tried), named(before)),
                       kMbOk | kMbIconWarning);
    };
    QString opened = wanted;
    if (wanted.isEmpty() || !TryOpen(opened)) {
        refuse(wanted);
        return false;
    }
    CDBClass* db = Sheet().Facade();
    CDummyDlg* hub = Sheet().Hub();
    // The windows hold ids of the old database.
    if (hub)
        hub->CloseAllWindows(false);
    if (!db) {
        CProfile::SetDefDatabaseName(opened);
        m_atOpening = opened;
        return true;
    }
    db->ReleaseConnection(true, true);
    CProfile::SetDefDatabaseName(opened);
    db->Connection()->UseProfileString();
    // The back end may differ; its SQL forms are chosen before connecting.
    db->DetectProvider();
    // The new database's own start-up information is read on connecting.
    const CStartupInfo previousInfo = db->StartupInfo();
    db->StartupInfo() = CStartupInfo();
    const bool connected = db->Connect();
    if (!connected || db->StartupAccess() != CDBClass::Access::Ready) {
        // It went away in between, or cannot serve the program (not Kelvane's
        // tables, held by another session): back to the old one, windows and all.
        if (connected)
            db->ReleaseConnection(true, true);
        CProfile::SetDefDatabaseName(before);
        db->Connection()->UseProfileString();
        db->DetectProvider();
        db->StartupInfo() = previousInfo;
        refuse(opened);
        if (hub)
            hub->CloseAllWindows(true);
        return false;
    }
    m_atOpening = opened;
    QString user;
    db->GetCurrentUser(user);
    db->ReleaseConnection(false, false);
    return true;
}
