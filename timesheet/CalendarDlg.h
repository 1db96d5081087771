#pragma once

#include "data/DateTime.h"
#include "ui/DialogBase.h"

#include <QCalendarWidget>

// The month calendar the date chooser hosts, with the year, month and day
// it shows.
class CCalendar : public QCalendarWidget {
    Q_OBJECT
public:
    explicit CCalendar(QWidget* parent = nullptr);

    short GetYear() const;
    void SetYear(short year);
    short GetMonth() const;
    void SetMonth(short month);
    short GetDay() const;
    void SetDay(short day);
    // Moves to the current date.
    void Today();

private:
    // A day, month or year change that would give no valid date keeps the
    // others and takes the nearest valid day.
    void Show(int year, int month, int day);
};

// A small modal date chooser.
class CCalendarDlg : public CDialogBase {
    Q_OBJECT
public:
    explicit CCalendarDlg(QWidget* parent = nullptr);

    // Set before the run: the caption (the window has none when it is
    // empty), and a start date when not starting at today.
    QString m_caption;
    bool m_startAtToday = true;
    short m_year = 0;
    short m_month = 0;
    short m_day = 0;
    // After OK: the chosen day at midnight; the zero date before.
    CDateTime m_result = CDateTime::FromOle(0);

    CCalendar* Calendar() const { return m_calendar; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    CCalendar* m_calendar;
};
