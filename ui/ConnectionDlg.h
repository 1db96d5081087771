#pragma once

#include "data/DBConnection.h"

#include <QDialog>
#include <functional>

class QLineEdit;
class QRadioButton;
class QSpinBox;
class QStackedWidget;

// Lets the user choose the database: a database file, or a database on a
// PostgreSQL server. Builds the connection string the data layer opens.
class CConnectionDlg : public QDialog {
    Q_OBJECT
public:
    explicit CConnectionDlg(QWidget* parent = nullptr);

    void SetConnectionString(const QString& connectionString);
    QString ConnectionString() const;

    // Chooses the file for Browse...; defaults to a file dialog.
    void SetFileChooser(std::function<QString(const QString& current)> chooser)
    {
        m_chooseFile = std::move(chooser);
    }

    void accept() override;

private:
    void OnBrowse();
    void OnProviderChanged();

    QRadioButton* m_fileProvider;
    QRadioButton* m_serverProvider;
    QStackedWidget* m_pages;
    QLineEdit* m_file;
    QLineEdit* m_host;
    QSpinBox* m_port;
    QLineEdit* m_database;
    QLineEdit* m_user;
    QLineEdit* m_password;
    std::function<QString(const QString&)> m_chooseFile;
};

// The program's prompt: runs the dialog modally.
class CConnectionDlgPrompt : public IConnectionPrompt {
public:
    explicit CConnectionDlgPrompt(QWidget* parent = nullptr)
        : m_parent(parent)
    {}
    QString PromptConnectionString(const QString& current) override;

private:
    QWidget* m_parent;
};
