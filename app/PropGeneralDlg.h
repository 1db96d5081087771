#pragma once

#include "app/PropAccDlg.h"

class QCheckBox;
class QComboBox;

// "General": the start window, which record windows the user sees, and the
// default project.
class CPropGeneralDlg : public CPropAccDlg {
    Q_OBJECT
public:
    explicit CPropGeneralDlg(CPropsDef& sheet);

    void LoadValues(const CProfile::CValues& values) override;
    void StoreValues(CProfile::CValues& values) const override;

    // The start window's entries: "None" 0 ... "Overview" 8, as the hub reads "OpenDlg".
    static const QStringList& StartWindowNames();

protected:
    void OnInitPage() override;
    bool DoDataExchange(bool saveAndValidate) override;

private:
    void FillStartWindowList();
    void OnPageCheck(bool& value, QCheckBox* check);

    int m_openDlg = 1;
    bool m_useContacts = true;
    bool m_useToDo = true;
    bool m_useChgrqsts = true;
    QString m_defProjStr;

    QComboBox* m_startWindow;
    QCheckBox* m_contacts;
    QCheckBox* m_comments;
    QCheckBox* m_changeRequests;
    QComboBox* m_project;
};
