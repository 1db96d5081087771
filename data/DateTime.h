#pragma once

#include <QDate>
#include <QDateTime>
#include <QMetaType>
#include <QString>
#include <QTime>

#include <compare>

// A wall-clock date and time with no time zone, as the database stores it.
// Kept apart from QDateTime so that a stored 02:30 never moves because of a
// daylight-saving change, and so that reading a million rows costs no zone
// lookups. Convert to QDateTime only at the edges (widgets, the clock).
class CDateTime {
public:
    CDateTime() = default; // null
    explicit CDateTime(const QDate& date, const QTime& time = QTime(0, 0));
    CDateTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

    static CDateTime FromQDateTime(const QDateTime& value);
    static CDateTime CurrentDateTime();
    // Days since 30 December 1899 with the time of day as the fraction.
    static CDateTime FromOle(double days);
    double ToOle() const;

    // ISO forms ("yyyy-MM-dd[ HH:mm[:ss[.zzz]]]", a 'T' in place of the blank),
    // "d/MMMM/yyyy" and "d/MMM/yyyy", numeric "M/d/yyyy" (read day first when
    // that is the only valid reading), each with an optional time, and a bare
    // time of day (on 30 December 1899). Null when nothing fits.
    static CDateTime Parse(QStringView text);
    // "yyyy-MM-dd HH:mm:ss", the stored form.
    QString ToIsoText() const;
    QString ToString(const QString& qtFormat) const;

    bool IsNull() const { return !m_date.isValid(); }
    bool IsValid() const { return m_date.isValid(); }
    QDate Date() const { return m_date; }
    QTime Time() const { return m_time; }
    QDateTime ToQDateTime() const { return QDateTime(m_date, m_time); }

    int MinutesOfDay() const { return m_time.hour() * 60 + m_time.minute(); }
    CDateTime AddDays(qint64 days) const;
    CDateTime AddSecs(qint64 seconds) const;
    CDateTime AddMSecs(qint64 msecs) const;
    qint64 SecsTo(const CDateTime& other) const;

    static QDate ZeroDate() { return QDate(1899, 12, 30); }

    bool operator==(const CDateTime& other) const = default;
    std::strong_ordering operator<=>(const CDateTime& other) const;

private:
    QDate m_date;
    QTime m_time = QTime(0, 0);
};

Q_DECLARE_METATYPE(CDateTime)

// Minutes since midnight of a stored start or stop of a time-sheet row:
// the day's end, 1440, is stored as 23:59 and reads back as 1440. Given the
// row's day, a time on a later day (a stop at the next midnight, as other
// programs store it) is the day's end too.
int StoredMinutes(const CDateTime& time, const QDate& day = QDate());
