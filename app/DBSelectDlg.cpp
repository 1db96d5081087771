#include "app/DBSelectDlg.h"

#include "app/DatabaseSwitch.h"
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
    if (chosen.isEmpty() || !TryOpenDatabase(chosen))
        return;
    m_connection = chosen;
    ShowConnection();
    SetChanged();
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
    if (!SwitchProgramDatabase(Sheet().Facade(), Sheet().Hub(), wanted, m_atOpening,
                               SwitchWindows::OpenAgain))
        return false;
    m_atOpening = CProfile::DefDatabaseName();
    return true;
}
