#include "review/TimeSheetExchangeDlg.h"

#include "app/DatabaseSwitch.h"
#include "app/Profile.h"
#include "data/ConnectionString.h"
#include "data/DBClass.h"
#include "data/DBConnection.h"
#include "ui/PlainLabel.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

bool CTimeSheetExchangeDlg::s_running = false;

CTimeSheetExchangeDlg::CTimeSheetExchangeDlg(int templateId, CDBClass& db, CDummyDlg* hub,
                                             int statusId, QWidget* parent)
    : CDialogBase(templateId, parent)
    , m_db(db)
    , m_hub(hub)
{
    s_running = true;
    m_fileEdit = new QLineEdit(this);
    SetControlId(m_fileEdit, kIdFile);
    m_fileEdit->setMinimumWidth(320);
    m_databaseEdit = new QLineEdit(this);
    SetControlId(m_databaseEdit, kIdDatabase);
    // Chosen with "...": the field shows the name, never a password.
    m_databaseEdit->setReadOnly(true);
    m_fileButton = AddCommandButton(QStringLiteral("..."), kIdChooseFile);
    m_databaseButton = AddCommandButton(QStringLiteral("..."), kIdChooseDatabase);
    for (QPushButton* button : {m_fileButton, m_databaseButton}) {
        button->setAutoDefault(false);
        button->setFixedWidth(32);
    }
    m_status = new CPlainLabel(QStringLiteral("Report"), this);
    SetControlId(m_status, statusId);
    m_status->setWordWrap(true);
    m_status->setFrameShape(QFrame::StyledPanel);
    m_status->setFrameShadow(QFrame::Sunken);
    m_status->setMinimumHeight(m_status->fontMetrics().lineSpacing() * 4);
    m_status->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
}

CTimeSheetExchangeDlg::~CTimeSheetExchangeDlg()
{
    ReleaseConnectionUse();
    s_running = false;
}

bool CTimeSheetExchangeDlg::OnInitDialog()
{
    m_fileName = QDir(CProfile::DefDirectory()).filePath(QStringLiteral("TimeSheetExp.txt"));
    m_holdsConnection = m_db.OpenConnection();
    UpdateData(false);
    return true;
}

void CTimeSheetExchangeDlg::DoDataExchange(bool saveAndValidate)
{
    if (saveAndValidate) {
        m_fileName = m_fileEdit->text().trimmed();
        return;
    }
    m_fileEdit->setText(m_fileName);
    m_databaseEdit->setText(DatabaseName());
}

void CTimeSheetExchangeDlg::OnCancel()
{
    // The use held since opening goes with the window.
    ReleaseConnectionUse();
    CDialogBase::OnCancel();
}

void CTimeSheetExchangeDlg::ReleaseConnectionUse()
{
    if (m_holdsConnection)
        m_db.ReleaseConnection(false, false);
    m_holdsConnection = false;
}

bool CTimeSheetExchangeDlg::OnCommand(int id)
{
    switch (id) {
    case kIdChooseFile: {
        UpdateData(true);
        const QString chosen = ChooseFile(m_fileName);
        if (!chosen.isEmpty())
            SetFileName(chosen);
        return true;
    }
    case kIdChooseDatabase:
        OnChooseDatabase();
        return true;
    default:
        return CDialogBase::OnCommand(id);
    }
}

void CTimeSheetExchangeDlg::SetFileName(const QString& fileName)
{
    m_fileName = fileName;
    m_fileEdit->setText(fileName);
}

QString CTimeSheetExchangeDlg::DatabaseName() const
{
    QString connectionString = m_db.Connection()->ConnectionString();
    if (connectionString.isEmpty())
        connectionString = CProfile::DefDatabaseName();
    return CConnectionString(connectionString).DatabaseName();
}

QLabel* CTimeSheetExchangeDlg::NewLabel(const QString& text, QWidget* buddy)
{
    auto* label = new QLabel(text, this);
    label->setBuddy(buddy);
    return label;
}

QString CTimeSheetExchangeDlg::StatusText() const
{
    return m_status->text();
}

void CTimeSheetExchangeDlg::SetStatus(const QString& text)
{
    m_status->setText(text);
}

bool CTimeSheetExchangeDlg::EnsureConnected(const QString& failure)
{
    if (!m_holdsConnection)
        m_holdsConnection = m_db.OpenConnection();
    if (m_holdsConnection && m_db.EnsureConnected())
        return true;
    const QString why = m_db.Connection()->LastOpenError();
    SetStatus(why.isEmpty() ? failure : failure + QLatin1Char('\n') + why);
    return false;
}

void CTimeSheetExchangeDlg::OnChooseDatabase()
{
    UpdateData(true);
    QString current = m_db.Connection()->ConnectionString();
    if (current.isEmpty())
        current = CProfile::DefDatabaseName();
    IConnectionPrompt* prompt = CDBConnection::Prompt();
    const QString chosen = prompt ? prompt->PromptConnectionString(current) : QString();
    // Cancelled, or the same one: nothing changes.
    if (chosen.isEmpty() || chosen == current)
        return;
    ReleaseConnectionUse();
    // A database that cannot be opened leaves the program on the one it had.
    // The user goes on where he was: this dialog, and the windows he had
    // open, on the chosen database.
    const bool switched =
        SwitchProgramDatabase(&m_db, m_hub, chosen, current, SwitchWindows::OpenAgain);
    m_holdsConnection = m_db.OpenConnection();
    UpdateData(false);
    if (switched)
        SetStatus(QStringLiteral("Database %1 chosen").arg(DatabaseName()));
    // The windows opened again on the database are behind this dialog, which
    // goes on with it.
    raise();
    activateWindow();
}
