#pragma once

#include "data/DBClassTypes.h"
#include "timesheet/ScheduleDays.h"
#include "ui/DialogBase.h"

#include <QDate>
#include <QString>

#include <array>
#include <functional>

class CDBClass;
class QCheckBox;
class QDateEdit;
class QLineEdit;

// The time block Schedule Time copies, as the time-sheet window hands it over.
struct CScheduleBlock {
    int timeId = -1;
    QDate date;
    CScheduleCopy copy; // employee, project, order, times, task, work type, comment, cost
    QString empName;
    QString projName;
    QString taskName;
};

// Copies one time block onto chosen weekdays of a date range: Verify stages
// the copies and counts those that clash with booked time; Schedule books
// the copies that do not clash.
class CScheduleTimeDlg : public CDialogBase {
    Q_OBJECT
public:
    enum : int {
        kIdStart = 1061,
        kIdStop = 1178,
        kIdFirstDate = 1208,
        kIdLastDate = 1209,
        kIdVerify = 3,
    };
    // The day boxes in their order on the dialog.
    static constexpr std::array<int, 7> kDayBoxIds = {1201, 1202, 1203, 1214, 1205, 1206, 1207};

    CScheduleTimeDlg(CDBClass& db, const CScheduleBlock& block, QWidget* parent = nullptr);
    // The copies this dialog staged go with it.
    ~CScheduleTimeDlg() override;

    // A range whose copies span more than this is booked only after a question.
    static constexpr int kYearsWithoutAsking = 1;

    bool OnCommand(int id) override;
    // Stages the copies, counts the clashes and offers to show them. False
    // (after saying so) when the copies could not be staged.
    bool OnVerify();

    int ClashCount() const { return m_clashCount; }
    bool IsVerified() const { return m_verified; }
    // The number of copies the last Schedule booked.
    int BookedCount() const { return m_booked; }
    const std::array<bool, 7>& WeekdayFlags() const { return m_weekdays; }
    QDate FirstDate() const { return m_first; }
    QDate LastDate() const { return m_last; }

protected:
    bool OnInitDialog() override;
    void DoDataExchange(bool saveAndValidate) override;
    void OnOK() override;

private:
    void OnDayBox(int box);
    void OnDateChanged();
    // Stages the copies and counts the clashes, without a word.
    bool Stage(QString& reason);
    // Asks before copies spanning more than a year are staged or booked.
    bool ConfirmRange();
    // Runs the work in one transaction, which ends before the caller speaks.
    bool InTransaction(const std::function<bool(QString&)>& work, QString& reason);

    CDBClass& m_db;
    CScheduleBlock m_block;
    QString m_startText;
    QString m_stopText;
    QDate m_first;
    QDate m_last;
    std::array<bool, 7> m_checks{};   // by box
    std::array<bool, 7> m_weekdays{}; // by weekday, Sunday first
    std::array<CScheduleDayBox, 7> m_dayBoxes;
    int m_clashCount = 0;
    int m_booked = 0;
    bool m_verified = false;
    bool m_staged = false;
    bool m_exchanging = false;
    QDate m_confirmedFirst;
    QDate m_confirmedLast;

    QLineEdit* m_startEdit = nullptr;
    QLineEdit* m_stopEdit = nullptr;
    std::array<QCheckBox*, 7> m_boxes{};
    QDateEdit* m_firstEdit = nullptr;
    QDateEdit* m_lastEdit = nullptr;
};
