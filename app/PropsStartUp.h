#pragma once

#include "app/PropertyPage.h"

class QCheckBox;
class QComboBox;

// "Start Up": which day the time sheet opens on, and the time line's start
// hour and increment.
class CPropsStartUp : public CPropertyPage {
    Q_OBJECT
public:
    explicit CPropsStartUp(CPropsDef& sheet);

    void LoadValues(const CProfile::CValues& values) override;
    void StoreValues(CProfile::CValues& values) const override;

    // The minutes of an increment entry for a booking interval (15: "1 Hour",
    // "30 Mins", "15 Mins"; 6: "30 Mins", "12 Mins", "6 Mins"); any other
    // interval gives itself.
    static int GetIncrementStep(int index, int bookingInterval);
    // The entry of a number of minutes; the inverse of GetIncrementStep.
    static int GetIncrementRatio(int minutes, int bookingInterval);

    int StartTime() const { return m_startTime; }
    int IncrementMinutes() const { return m_incrMinutes; }

protected:
    void OnInitPage() override;
    bool DoDataExchange(bool saveAndValidate) override;

private:
    void FillStartList();
    // Corrects a start beyond the increment's range; true when it did.
    bool CheckStart();
    void ShowOpenDay();
    void OnSetStartTime();
    void OnSetIncrement();
    void OnIncrementChanged(int index);

    bool m_openCurDay = true;
    bool m_setDefStartTime = true;
    bool m_setDefIncrTime = true;
    int m_startTime = 8;
    int m_incrIndex = 1;
    int m_incrMinutes = 30;

    QCheckBox* m_currentDay;
    QCheckBox* m_sameDay;
    QCheckBox* m_setStart;
    QCheckBox* m_setIncrement;
    QComboBox* m_start;
    QComboBox* m_increment;
};
