#include "timeline/TimeUtil.h"

namespace TimeUtil {

namespace {

// Length of the run of c starting at i.
int RunLength(const QString& text, int i)
{
    int n = 1;
    while (i + n < text.size() && text.at(i + n) == text.at(i))
        ++n;
    return n;
}

} // namespace

QString ConvertTimeFormat(const QString& format, bool* twelveHour, bool withSeconds)
{
    QString source = format;
    bool twelve = false;
    const int marker = static_cast<int>(source.indexOf(QLatin1String("tt")));
    if (marker > 0) {
        twelve = true;
        source.remove(marker, 2);
    }
    // A lone marker letter means the same.
    const int single = static_cast<int>(source.indexOf(QLatin1Char('t')));
    if (single > 0) {
        twelve = true;
        source.remove(single, 1);
    }
    source = source.trimmed();

    QString result;
    for (int i = 0; i < source.size();) {
        const QChar c = source.at(i);
        const int run = RunLength(source, i);
        if (c == QLatin1Char('H')) {
            result += run >= 2 ? QStringLiteral("%H") : QStringLiteral("%#H");
        } else if (c == QLatin1Char('h')) {
            result += run >= 2 ? QStringLiteral("%I") : QStringLiteral("%#I");
        } else if (c == QLatin1Char('m')) {
            result += run >= 2 ? QStringLiteral("%M") : QStringLiteral("%#M");
        } else if (c == QLatin1Char('s')) {
            if (withSeconds) {
                result += run >= 2 ? QStringLiteral("%S") : QStringLiteral("%#S");
            } else {
                // The separator before the seconds goes with them.
                if (!result.isEmpty() && !result.endsWith(QLatin1Char('H')) &&
                    !result.endsWith(QLatin1Char('I')) && !result.endsWith(QLatin1Char('M')))
                    result.chop(1);
                break;
            }
        } else {
            result += QString(run, c);
        }
        i += run;
    }
    if (twelveHour)
        *twelveHour = twelve;
    return result.trimmed();
}

QString DesktopTimeFormat(const QString& qtFormat)
{
    QString result;
    for (int i = 0; i < qtFormat.size();) {
        const QChar c = qtFormat.at(i);
        const int run = RunLength(qtFormat, i);
        if (c == QLatin1Char('A') || c == QLatin1Char('a')) {
            result += QStringLiteral("tt");
            // "AP" and "ap" are one marker.
            if (i + run < qtFormat.size() && qtFormat.at(i + run).toLower() == QLatin1Char('p'))
                ++i;
        } else if (c == QLatin1Char('t') || c == QLatin1Char('z')) {
            // Time zones and milliseconds have no place on the time line.
        } else if (c == QLatin1Char('\'')) {
            // Quoted text is copied without its quotes.
            const int end = static_cast<int>(qtFormat.indexOf(QLatin1Char('\''), i + 1));
            const int stop = end < 0 ? static_cast<int>(qtFormat.size()) : end;
            result += qtFormat.mid(i + 1, stop - i - 1);
            i = stop + 1;
            continue;
        } else {
            result += QString(run, c);
        }
        i += run;
    }
    return result.trimmed();
}

QString FormatMinutes(int minutes, const QString& format)
{
    const int hours = minutes / 60;
    const int mins = minutes % 60;
    const int twelve = hours % 12 == 0 ? 12 : hours % 12;
    QString result;
    for (int i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c != QLatin1Char('%') || i + 1 >= format.size()) {
            result += c;
            continue;
        }
        bool noPad = false;
        int j = i + 1;
        if (format.at(j) == QLatin1Char('#')) {
            noPad = true;
            ++j;
        }
        if (j >= format.size())
            break;
        int value = -1;
        switch (format.at(j).toLatin1()) {
        case 'H':
            value = hours;
            break;
        case 'I':
            value = twelve;
            break;
        case 'M':
            value = mins;
            break;
        case 'S':
            value = 0;
            break;
        case '%':
            result += QLatin1Char('%');
            i = j;
            continue;
        default:
            break;
        }
        if (value < 0) {
            result += format.mid(i, j - i + 1);
        } else {
            result += noPad ? QString::number(value)
                            : QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
        }
        i = j;
    }
    return result;
}

QString HourMinute(int minutes)
{
    return QStringLiteral("%1:%2")
        .arg(minutes / 60, 2, 10, QLatin1Char('0'))
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

int RowsPerDay(int increment)
{
    switch (increment) {
    case 6:
    case 12:
    case 15:
        return 96;
    case 30:
        return 48;
    default:
        return 24;
    }
}

int LatestTime(int increment, bool wholeDay)
{
    if (wholeDay && (increment <= 60 || increment == 120))
        return 1440;
    switch (increment) {
    case 15:
        return 1425;
    case 30:
        return 1410;
    case 120:
        return 1320;
    default:
        return 1380;
    }
}

bool IsValidStart(int row, int hour, int minute, int increment, bool wholeDay)
{
    const int minutes = minute + hour * 60 + row * increment;
    return minutes >= 0 && minutes <= LatestTime(increment, wholeDay);
}

} // namespace TimeUtil
