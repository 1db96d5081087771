#pragma once

#include "app/HubWindow.h"
#include "ui/DialogBase.h"

class QLineEdit;

// Registers the workbook that serves as the template of the weekly time
// sheet: its folder and file name go to the profile ("UE"/"xlsDir" and
// "UE"/"xlsTemp"). An empty folder stands for the program's own template
// in the user's documents folder.
class CRegsiterXSL : public CDialogBase, public IHubWindow {
    Q_OBJECT
public:
    enum : int {
        kTemplateId = 367,
        kIdFile = 1396,
        kIdBrowse = 1197,
        kIdOk = 1397,
    };

    explicit CRegsiterXSL(QWidget* parent = nullptr);

    bool OnCommand(int id) override;

    // IHubWindow: the hub runs the dialog modally.
    QWidget* Widget() override { return this; }
    void CloseWindow(int) override { OnCommand(2); }

    QString m_fileName;
    QString m_folder;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(bool saveAndValidate) override;
    void OnOK() override;

private:
    void OnBrowse();

    QLineEdit* m_fileEdit;
};
