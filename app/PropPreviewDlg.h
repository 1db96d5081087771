#pragma once

#include "app/PropertyPage.h"

class QComboBox;

// "Review": the period the review window opens with.
class CPropPreviewDlg : public CPropertyPage {
    Q_OBJECT
public:
    explicit CPropPreviewDlg(CPropsDef& sheet);

    void LoadValues(const CProfile::CValues& values) override;
    void StoreValues(CProfile::CValues& values) const override;

protected:
    void OnInitPage() override;

private:
    int m_length = 0;
    int m_relative = 0;

    QComboBox* m_lengthCombo;
    QComboBox* m_positionCombo;
};
