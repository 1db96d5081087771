#include "data/DateTime.h"

#include "platform/Clock.h"

#include <array>
#include <cmath>

namespace {

int Digits(QStringView s, int pos, int count, bool* ok)
{
    int value = 0;
    for (int i = 0; i < count; ++i) {
        const QChar c = s.at(pos + i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            *ok = false;
            return 0;
        }
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

int MonthFromName(QStringView name)
{
    static const std::array<const char*, 12> kMonths = {
        "january", "february", "march",     "april",   "may",      "june",
        "july",    "august",   "september", "october", "november", "december"};
    if (name.size() < 3)
        return 0;
    const QString lower = name.toString().toLower();
    for (int m = 0; m < 12; ++m) {
        const QLatin1String full(kMonths[m]);
        if (lower == full || (lower.size() == 3 && full.startsWith(lower)) ||
            (m == 8 && lower == QLatin1String("sept")))
            return m + 1;
    }
    return 0;
}

// "H:mm[:ss[.zzz]]" with an optional AM/PM; an empty text is midnight.
bool ParseTime(QStringView text, QTime* out)
{
    text = text.trimmed();
    if (text.isEmpty()) {
        *out = QTime(0, 0);
        return true;
    }
    int hourShift = -1; // -1 none, 0 AM, 12 PM
    if (text.size() > 2) {
        const QStringView tail = text.right(2);
        if (tail.compare(QLatin1String("AM"), Qt::CaseInsensitive) == 0)
            hourShift = 0;
        else if (tail.compare(QLatin1String("PM"), Qt::CaseInsensitive) == 0)
            hourShift = 12;
        if (hourShift >= 0)
            text = text.chopped(2).trimmed();
    }
    const auto parts = text.split(QLatin1Char(':'));
    if (parts.size() < 2 || parts.size() > 3)
        return false;
    bool ok = false;
    int h = parts[0].toInt(&ok);
    if (!ok)
        return false;
    const int m = parts[1].toInt(&ok);
    if (!ok)
        return false;
    int s = 0;
    int ms = 0;
    if (parts.size() == 3) {
        const QStringView sec = parts[2];
        const int dot = sec.indexOf(QLatin1Char('.'));
        s = sec.left(dot < 0 ? sec.size() : dot).toInt(&ok);
        if (!ok)
            return false;
        if (dot >= 0) {
            QString frac = sec.mid(dot + 1).left(3).toString();
            while (frac.size() < 3)
                frac += QLatin1Char('0');
            ms = frac.toInt(&ok);
            if (!ok)
                return false;
        }
    }
    if (hourShift >= 0) {
        if (h < 1 || h > 12)
            return false;
        h = h % 12 + hourShift;
    }
    const QTime t(h, m, s, ms);
    if (!t.isValid())
        return false;
    *out = t;
    return true;
}

CDateTime ParseIso(QStringView text)
{
    bool ok = true;
    const int y = Digits(text, 0, 4, &ok);
    const int mo = Digits(text, 5, 2, &ok);
    const int d = Digits(text, 8, 2, &ok);
    const QDate date(y, mo, d);
    if (!ok || !date.isValid())
        return {};
    if (text.size() == 10)
        return CDateTime(date);
    const QChar sep = text.at(10);
    if (sep != QLatin1Char(' ') && sep != QLatin1Char('T'))
        return {};
    if (text.size() == 19 && text.at(13) == QLatin1Char(':') && text.at(16) == QLatin1Char(':')) {
        const QTime time(Digits(text, 11, 2, &ok), Digits(text, 14, 2, &ok),
                         Digits(text, 17, 2, &ok));
        return ok && time.isValid() ? CDateTime(date, time) : CDateTime();
    }
    QStringView rest = text.mid(11);
    // A zone designator is dropped: stored times are wall-clock times.
    if (rest.endsWith(QLatin1Char('Z')))
        rest.chop(1);
    const int zone = qMax(rest.lastIndexOf(QLatin1Char('+')), rest.lastIndexOf(QLatin1Char('-')));
    if (zone > 0)
        rest = rest.left(zone);
    QTime time;
    if (!ParseTime(rest, &time))
        return {};
    return CDateTime(date, time);
}

} // namespace

CDateTime::CDateTime(const QDate& date, const QTime& time)
    : m_date(date)
    , m_time(date.isValid() ? (time.isValid() ? time : QTime(0, 0)) : QTime(0, 0))
{}

CDateTime::CDateTime(int year, int month, int day, int hour, int minute, int second)
    : CDateTime(QDate(year, month, day), QTime(hour, minute, second))
{}

CDateTime CDateTime::FromQDateTime(const QDateTime& value)
{
    if (!value.isValid())
        return {};
    return CDateTime(value.date(), value.time());
}

CDateTime CDateTime::CurrentDateTime()
{
    return FromQDateTime(CClock::Now());
}

CDateTime CDateTime::FromOle(double days)
{
    // Only the years 1 to 9999: beyond them a day count is no date (and
    // would not fit the integers below).
    static const double kFirst = static_cast<double>(ZeroDate().daysTo(QDate(1, 1, 1)));
    static const double kEnd = static_cast<double>(ZeroDate().daysTo(QDate(9999, 12, 31))) + 1;
    if (!(days >= kFirst && days < kEnd))
        return {};
    const double whole = std::floor(days);
    const qint64 msecs = std::llround((days - whole) * 86400000.0);
    const CDateTime day(ZeroDate().addDays(static_cast<qint64>(whole)));
    return day.AddMSecs(msecs);
}

double CDateTime::ToOle() const
{
    if (IsNull())
        return 0.0;
    return static_cast<double>(ZeroDate().daysTo(m_date)) +
           m_time.msecsSinceStartOfDay() / 86400000.0;
}

CDateTime CDateTime::Parse(QStringView text)
{
    text = text.trimmed();
    if (text.size() >= 10 && text.at(4) == QLatin1Char('-') && text.at(7) == QLatin1Char('-'))
        return ParseIso(text);

    const int blank = text.indexOf(QLatin1Char(' '));
    const QStringView datePart = blank < 0 ? text : text.left(blank);
    const QStringView timePart = blank < 0 ? QStringView() : text.mid(blank + 1);
    const auto pieces = datePart.split(QLatin1Char('/'));
    if (pieces.size() == 3) {
        QTime time;
        if (!ParseTime(timePart, &time))
            return {};
        bool ok1 = false;
        bool ok2 = false;
        bool ok3 = false;
        // Four digits: no sign, so "1/2/-001" is no date.
        const int year = pieces[2].toInt(&ok3);
        if (!ok3 || pieces[2].size() != 4 || !pieces[2].front().isDigit() || year < 1)
            return {};
        const int first = pieces[0].toInt(&ok1);
        const int monthByName = MonthFromName(pieces[1]);
        if (monthByName > 0 && ok1) {
            const QDate d(year, monthByName, first);
            return d.isValid() ? CDateTime(d, time) : CDateTime();
        }
        const int second = pieces[1].toInt(&ok2);
        if (!ok1 || !ok2)
            return {};
        QDate date(year, first, second);
        if (!date.isValid())
            date = QDate(year, second, first);
        return date.isValid() ? CDateTime(date, time) : CDateTime();
    }
    if (pieces.size() == 1 && text.contains(QLatin1Char(':'))) {
        QTime time;
        if (ParseTime(text, &time))
            return CDateTime(ZeroDate(), time);
    }
    return {};
}

QString CDateTime::ToIsoText() const
{
    if (IsNull())
        return QString();
    char buf[20];
    const int y = m_date.year();
    const int values[] = {m_date.month(), m_date.day(), m_time.hour(), m_time.minute(),
                          m_time.second()};
    buf[0] = char('0' + (y / 1000) % 10);
    buf[1] = char('0' + (y / 100) % 10);
    buf[2] = char('0' + (y / 10) % 10);
    buf[3] = char('0' + y % 10);
    const char seps[] = {'-', '-', ' ', ':', ':'};
    for (int i = 0; i < 5; ++i) {
        buf[4 + i * 3] = seps[i];
        buf[5 + i * 3] = char('0' + values[i] / 10);
        buf[6 + i * 3] = char('0' + values[i] % 10);
    }
    return QString::fromLatin1(buf, 19);
}

QString CDateTime::ToString(const QString& qtFormat) const
{
    if (IsNull())
        return QString();
    // A UTC value formats its fields as they are, with no zone lookup.
    return QDateTime(m_date, m_time, Qt::UTC).toString(qtFormat);
}

CDateTime CDateTime::AddDays(qint64 days) const
{
    if (IsNull())
        return {};
    return CDateTime(m_date.addDays(days), m_time);
}

CDateTime CDateTime::AddSecs(qint64 seconds) const
{
    return AddMSecs(seconds * 1000);
}

CDateTime CDateTime::AddMSecs(qint64 msecs) const
{
    if (IsNull())
        return {};
    const qint64 total = m_time.msecsSinceStartOfDay() + msecs;
    qint64 days = total / 86400000;
    qint64 rest = total % 86400000;
    if (rest < 0) {
        rest += 86400000;
        --days;
    }
    return CDateTime(m_date.addDays(days), QTime::fromMSecsSinceStartOfDay(static_cast<int>(rest)));
}

qint64 CDateTime::SecsTo(const CDateTime& other) const
{
    if (IsNull() || other.IsNull())
        return 0;
    return m_date.daysTo(other.m_date) * 86400 +
           (other.m_time.msecsSinceStartOfDay() - m_time.msecsSinceStartOfDay()) / 1000;
}

std::strong_ordering CDateTime::operator<=>(const CDateTime& other) const
{
    // Null sorts before every date.
    if (IsNull() || other.IsNull())
        return other.IsNull() <=> IsNull();
    if (auto c = m_date.toJulianDay() <=> other.m_date.toJulianDay(); c != 0)
        return c;
    return m_time.msecsSinceStartOfDay() <=> other.m_time.msecsSinceStartOfDay();
}

int StoredMinutes(const CDateTime& time, const QDate& day)
{
    if (day.isValid() && time.IsValid() && time.Date() > day)
        return 24 * 60;
    const int minutes = time.MinutesOfDay();
    return minutes == 23 * 60 + 59 ? 24 * 60 : minutes;
}
