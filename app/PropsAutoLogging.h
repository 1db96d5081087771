#pragma once

#include "app/PropertyPage.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

// "Auto Timer": when the auto timer stops, how it rounds its blocks, how far
// it books ahead and how often it refreshes. Locked while the auto timer runs.
class CPropsAutoLogging : public CPropertyPage {
    Q_OBJECT
public:
    explicit CPropsAutoLogging(CPropsDef& sheet);

    void LoadValues(const CProfile::CValues& values) override;
    void StoreValues(CProfile::CValues& values) const override;

    // "AutoLogStopMinVal" is a quarter-hour choice, the way the auto timer
    // reads it: 1 gives 15 minutes, 2 gives 30, 3 gives 45, anything else 0.
    static int RoundingMinutes(int choice);

protected:
    void OnInitPage() override;
    bool DoDataExchange(bool saveAndValidate) override;

private:
    // False (after saying why) while the auto timer runs; the page then
    // shows its members again.
    bool MayChange();
    void ShowMembers();
    void ShowRounding();

    int m_stopHour = 17;
    int m_stopMinute = 2;
    bool m_startNearest = false;
    bool m_stopNearest = false;
    int m_advanceBook = 3;
    bool m_notifyDel = true;
    int m_minSizeDel = 8;
    int m_timerVal = 5;

    QComboBox* m_hour;
    QComboBox* m_minute;
    QLineEdit* m_advance;
    QRadioButton* m_startNearestButton;
    QRadioButton* m_startIntervalButton;
    QRadioButton* m_stopNearestButton;
    QRadioButton* m_stopIntervalButton;
    QCheckBox* m_notify;
    QComboBox* m_minBlock;
    QComboBox* m_refresh;
};
