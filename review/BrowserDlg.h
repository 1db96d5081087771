#pragma once

#include "ui/DialogBase.h"

class CDBClass;
class CHtmlView;
class QLineEdit;

// The program's browser: one local page or XML file with its address in an
// edit field, "&GO.." to show a typed address and "&.." to choose a file.
// The caption is the address. It shows the manual and the XML and XSLT
// views of search results.
class CBrowserDlg : public CDialogBase {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 186;
    static constexpr int kView = 1140;
    static constexpr int kAddress = 1142;
    static constexpr int kGo = 1143;
    static constexpr int kChoose = 1114;

    // An address to show, or else a file name looked for in the facade's
    // file folder, beside the program and as given; when neither is found
    // the user is asked for a page. db may be null (no file folder then).
    CBrowserDlg(QWidget* parent, const QString& address, const QString& fileName,
                CDBClass* db = nullptr);

    bool OnCommand(int id) override;

    // The address shown last.
    const QString& Address() const { return m_address; }
    CHtmlView* View() const { return m_view; }
    // Every page shown becomes the manual's address in the profile.
    void SetKeepsManualAddress(bool keep) { m_keepsManual = keep; }

protected:
    bool OnInitDialog() override;
    void DoDataExchange(bool saveAndValidate) override;

private:
    void Navigate();
    bool ChoosePage(QString& address);
    QString FindFile() const;

    CDBClass* m_db;
    QString m_address;
    QString m_fileName;
    bool m_keepsManual = false;
    QLineEdit* m_edit;
    CHtmlView* m_view;
};
