#pragma once

#include "data/ContactTypes.h"
#include "ui/DialogBase.h"

class QPushButton;

// The small form in which the contacts window adds or edits one person of
// a company. It only collects and checks the values (and can start an
// e-mail); the window writes the person.
class CContactDetailsDlg : public CDialogBase {
    Q_OBJECT
public:
    enum : int {
        IDD = 194,
        kIdPhone = 1158,
        kIdMobile = 1159,
        kIdEmail = 1160,
        kIdFax = 1162,
        kIdUpdate = 1163,
        kIdCancel = 1164,
        kIdSend = 1165,
        kIdFirst = 1243,
        kIdLast = 1244,
    };

    CContactDetailsDlg(const QString& company, const CPersonValues& person, bool add,
                       QWidget* parent = nullptr);

    // The values as accepted (after OK).
    const CPersonValues& Person() const { return m_person; }
    bool OnCommand(int id) override;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(bool saveAndValidate) override;
    void OnOK() override;

private:
    void OnSend();

    QString m_company;
    CPersonValues m_person;
    // The texts as opened: those left so are not cut to their columns.
    const CPersonValues m_opened;
    bool m_add;
    QPushButton* m_update;
    QPushButton* m_send;
};
