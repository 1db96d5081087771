#pragma once

#include "app/HubWindow.h"
#include "ui/DialogBase.h"

#include <QString>

class CDBClass;
class CDummyDlg;
class QLabel;
class QLineEdit;
class QPushButton;

// What the export and import dialogs share: the file, the database (chosen
// with the connection prompt; choosing one switches the program to it), the
// status line, and a use of the connection held while the dialog is open.
class CTimeSheetExchangeDlg : public CDialogBase, public IHubWindow {
    Q_OBJECT
public:
    enum : int {
        kIdFile = 1124,
        kIdDatabase = 1113,
        kIdChooseDatabase = 1114,
        kIdChooseFile = 1115,
    };

    ~CTimeSheetExchangeDlg() override;

    bool OnCommand(int id) override;

    QString FileName() const { return m_fileName; }
    void SetFileName(const QString& fileName);
    // What the database is called in files and in the dialog.
    QString DatabaseName() const;
    QString StatusText() const;
    // The one export or import dialog that runs; none while neither does.
    static bool IsRunning() { return s_running; }

    // IHubWindow: the hub runs the dialog modally.
    QWidget* Widget() override { return this; }
    void CloseWindow(int) override { OnCommand(2); }

protected:
    CTimeSheetExchangeDlg(int templateId, CDBClass& db, CDummyDlg* hub, int statusId,
                          QWidget* parent);

    bool OnInitDialog() override;
    void DoDataExchange(bool saveAndValidate) override;
    void OnCancel() override;

    // The text file: the export chooses where to write, the import what to read.
    virtual QString ChooseFile(const QString& current) = 0;
    void SetStatus(const QString& text);
    void OnChooseDatabase();
    // The connection, opened again when the database went away; false
    // (with the status said) when it cannot be had.
    bool EnsureConnected(const QString& failure);
    void ReleaseConnectionUse();

    // A label for a control, with its mnemonic going to it.
    QLabel* NewLabel(const QString& text, QWidget* buddy);
    // The rows of the dialog's layout that the two share.
    QLineEdit* FileEdit() const { return m_fileEdit; }
    QLineEdit* DatabaseEdit() const { return m_databaseEdit; }
    QPushButton* FileButton() const { return m_fileButton; }
    QPushButton* DatabaseButton() const { return m_databaseButton; }
    QLabel* StatusLabel() const { return m_status; }

    CDBClass& m_db;
    CDummyDlg* m_hub;

private:
    QString m_fileName;
    bool m_holdsConnection = false;
    QLineEdit* m_fileEdit;
    QLineEdit* m_databaseEdit;
    QPushButton* m_fileButton;
    QPushButton* m_databaseButton;
    QLabel* m_status;

    static bool s_running;
};
