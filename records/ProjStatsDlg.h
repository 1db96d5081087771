#pragma once

#include "data/DateTime.h"
#include "records/ProjectPage.h"

#include <QColor>

class CColorStatic;

// "&Progress": the project's dates, state, the manager's estimate of its
// progress, its hour rate and its actual and estimated hours.
class CProjStatsDlg : public CProjectPage {
    Q_OBJECT
public:
    enum : int {
        IDD = 353,
        kIdHourRate = 1149,
        kIdStopDate = 1150,
        kIdState = 1153,
        kIdProgress = 1156,
        kIdStartDate = 1157,
        kIdRatio = 1163,
        kIdActualHours = 1324,
        kIdEstimatedHours = 1325,
    };
    static inline const QColor kOverColor = QColor(255, 0, 0);

    explicit CProjStatsDlg(CShowPrjDlg* owner, QWidget* parent = nullptr);

    QString Text(int id) const;
    // The colour of "Actual / Estimated".
    QColor RatioColor() const;
    // A stored date in the user's date format; "Not set" for none.
    static QString FormatProjectDate(const CDateTime& value);

protected:
    void Fill() override;

private:
    QLabel* m_startDate;
    QLabel* m_stopDate;
    QLabel* m_state;
    QLabel* m_progress;
    QLabel* m_hourRate;
    QLabel* m_actualHours;
    QLabel* m_estimatedHours;
    CColorStatic* m_ratio;
};
