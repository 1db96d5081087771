#pragma once

#include "app/PropertyPage.h"

class QCheckBox;
class QComboBox;
class QRadioButton;

// "Contacts/Comnts/ChgRqsts": where contacts are kept, what the comments and
// change-request windows show, and how change requests notify.
class CPropsContacts : public CPropertyPage {
    Q_OBJECT
public:
    explicit CPropsContacts(CPropsDef& sheet);

    void LoadValues(const CProfile::CValues& values) override;
    void StoreValues(CProfile::CValues& values) const override;

protected:
    void OnInitPage() override;
    bool DoDataExchange(bool saveAndValidate) override;

private:
    bool m_useVekContact = true;
    QString m_defTaskType;
    int m_chgRqstNot = 0;
    bool m_showMine = true;
    bool m_showMineComments = true;
    bool m_bookTime = false;
    bool m_commentsAsActions = true;
    bool m_withinDept = true;

    QCheckBox* m_kelvane;
    QComboBox* m_source;
    QCheckBox* m_mine;
    QCheckBox* m_mineComments;
    QComboBox* m_taskType;
    QComboBox* m_notify;
    QCheckBox* m_book;
    QCheckBox* m_asActions;
    QRadioButton* m_within;
    QRadioButton* m_across;
};
