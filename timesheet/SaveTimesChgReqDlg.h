#pragma once

#include "timesheet/SaveTimesDlg.h"

// Save Times with a change request the time is booked against.
class CSaveTimesChgReqDlg : public CSaveTimesDlg {
    Q_OBJECT
public:
    CSaveTimesChgReqDlg(ISaveTimesOwner& owner, const CSaveTimesInput& input,
                        QWidget* parent = nullptr);

    void Refill(const CSaveTimesInput& input) override;
    bool OnCommand(int id) override;

    // "id, item" of the request, empty for none.
    QString ChgReqText() const override { return m_chgReqText; }
    int ChgReqId() const override { return m_chgReqId; }

protected:
    bool OnInitDialog() override;

private:
    void ShowText();
    void ChooseChangeRequest();

    int m_chgReqId = -2;
    QString m_chgReqText;
    QLabel* m_chgReqLabel = nullptr;
};
