#pragma once

#include "app/PropAccDlg.h"

class QCheckBox;
class QLineEdit;

// "Search": how many records a search returns at most.
class CPropsSearch : public CPropAccDlg {
    Q_OBJECT
public:
    explicit CPropsSearch(CPropsDef& sheet);

    void LoadValues(const CProfile::CValues& values) override;
    void StoreValues(CProfile::CValues& values) const override;

    static constexpr int kLargestLimit = 1000000;

protected:
    void OnInitPage() override;
    bool DoDataExchange(bool saveAndValidate) override;

private:
    bool m_limit = true;
    int m_size = 1000;

    QCheckBox* m_limitCheck;
    QLineEdit* m_sizeEdit;
};
