#include "ui/ConnectionDlg.h"

#include "data/ConnectionString.h"
#include "data/SqlDialect.h"
#include "platform/MessageBox.h"
#include "ui/ModalRuns.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>

CConnectionDlg::CConnectionDlg(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Select Database"));

    m_fileProvider = new QRadioButton(tr("Database &file (SQLite)"), this);
    m_fileProvider->setObjectName(QStringLiteral("providerFile"));
    m_serverProvider = new QRadioButton(tr("Database &server (PostgreSQL)"), this);
    m_serverProvider->setObjectName(QStringLiteral("providerServer"));
    m_fileProvider->setChecked(true);

    auto* filePage = new QWidget(this);
    auto* fileForm = new QFormLayout(filePage);
    fileForm->setContentsMargins(0, 0, 0, 0);
    auto* fileRow = new QHBoxLayout;
    m_file = new QLineEdit(filePage);
    m_file->setObjectName(QStringLiteral("file"));
    m_file->setMinimumWidth(320);
    auto* browse = new QPushButton(tr("&Browse..."), filePage);
    browse->setObjectName(QStringLiteral("browse"));
    fileRow->addWidget(m_file);
    fileRow->addWidget(browse);
    fileForm->addRow(tr("File:"), fileRow);

    auto* serverPage = new QWidget(this);
    auto* form = new QFormLayout(serverPage);
    form->setContentsMargins(0, 0, 0, 0);
    m_host = new QLineEdit(QStringLiteral("localhost"), serverPage);
    m_host->setObjectName(QStringLiteral("host"));
    m_port = new QSpinBox(serverPage);
    m_port->setObjectName(QStringLiteral("port"));
    m_port->setRange(1, 65535);
    m_port->setValue(5432);
    m_database = new QLineEdit(serverPage);
    m_database->setObjectName(QStringLiteral("database"));
    m_user = new QLineEdit(serverPage);
    m_user->setObjectName(QStringLiteral("user"));
    m_password = new QLineEdit(serverPage);
    m_password->setObjectName(QStringLiteral("password"));
    m_password->setEchoMode(QLineEdit::Password);
    form->addRow(tr("&Host:"), m_host);
    form->addRow(tr("P&ort:"), m_port);
    form->addRow(tr("&Database:"), m_database);
    form->addRow(tr("&User name:"), m_user);
    form->addRow(tr("&Password:"), m_password);

    // Each page keeps its rows at the top, whatever the other page's height.
    m_pages = new QStackedWidget(this);
    m_pages->addWidget(filePage);
    m_pages->addWidget(serverPage);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_fileProvider);
    layout->addWidget(m_serverProvider);
    layout->addWidget(m_pages, 0, Qt::AlignTop);
    layout->addStretch();
    layout->addWidget(buttons);

    connect(m_fileProvider, &QRadioButton::toggled, this, &CConnectionDlg::OnProviderChanged);
    connect(browse, &QPushButton::clicked, this, &CConnectionDlg::OnBrowse);
    connect(buttons, &QDialogButtonBox::accepted, this, &CConnectionDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CConnectionDlg::reject);

    m_chooseFile = [this](const QString& current) {
        return QFileDialog::getOpenFileName(this, tr("Select Database File"), current,
                                            tr("Kelvane databases (*.db *.sqlite);;All files (*)"));
    };
}

void CConnectionDlg::SetConnectionString(const QString& connectionString)
{
    const CConnectionString cs(connectionString);
    if (CSqlDialect::DetectProvider(connectionString) == kProviderPostgres) {
        m_serverProvider->setChecked(true);
        m_host->setText(cs.Value(QStringLiteral("Host"), QStringLiteral("localhost")));
        bool ok = false;
        const int port = cs.Value(QStringLiteral("Port")).toInt(&ok);
        m_port->setValue(ok ? port : 5432);
        m_database->setText(cs.Value(QStringLiteral("Database")));
        m_user->setText(cs.Value(QStringLiteral("User ID")));
        m_password->setText(cs.Value(QStringLiteral("Password")));
    } else {
        m_fileProvider->setChecked(true);
        m_file->setText(cs.Value(QStringLiteral("Data Source")));
    }
    OnProviderChanged();
}

QString CConnectionDlg::ConnectionString() const
{
    if (m_fileProvider->isChecked())
        return CConnectionString::SqliteString(m_file->text().trimmed());
    return CConnectionString::PostgresString(m_host->text().trimmed(), m_port->value(),
                                             m_database->text().trimmed(), m_user->text().trimmed(),
                                             m_password->text());
}

void CConnectionDlg::accept()
{
    if (m_fileProvider->isChecked() && m_file->text().trimmed().isEmpty()) {
        ShowMessageBox(tr("Please choose a database file."), kMbOk | kMbIconWarning);
        m_file->setFocus();
        return;
    }
    if (m_serverProvider->isChecked() &&
        (m_host->text().trimmed().isEmpty() || m_database->text().trimmed().isEmpty())) {
        ShowMessageBox(tr("Please enter the server and the database name."),
                       kMbOk | kMbIconWarning);
        (m_host->text().trimmed().isEmpty() ? m_host : m_database)->setFocus();
        return;
    }
    QDialog::accept();
}

void CConnectionDlg::OnBrowse()
{
    const QString file = m_chooseFile ? m_chooseFile(m_file->text()) : QString();
    if (!file.isEmpty())
        m_file->setText(file);
}

void CConnectionDlg::OnProviderChanged()
{
    m_pages->setCurrentIndex(m_fileProvider->isChecked() ? 0 : 1);
}

QString CConnectionDlgPrompt::PromptConnectionString(const QString& current)
{
    CConnectionDlg dlg(m_parent);
    if (!current.isEmpty())
        dlg.SetConnectionString(current);
    const CModalRuns::CRun run(&dlg);
    return dlg.exec() == QDialog::Accepted ? dlg.ConnectionString() : QString();
}
