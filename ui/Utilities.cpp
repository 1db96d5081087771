#include "ui/Utilities.h"

#include "platform/Clock.h"
#include "platform/DesktopUser.h"
#include "platform/MessageBox.h"
#include "platform/ProfileStore.h"
#include "ui/StringTable.h"
#include "ui/TypedDate.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLocale>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <array>
#include <cmath>

namespace {

const QString kPlacementSection = QStringLiteral("Window Settings");

// Show words by show state; any other state is written as "NORM".
constexpr std::array<const char*, 4> kShowWords = {"HIDE", "NORM", "MIN", "MAX"};

constexpr std::array<int, 12> kDaysPerMonth = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

constexpr std::array<const char*, 7> kDayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                  "Thursday", "Friday", "Saturday"};
constexpr std::array<const char*, 12> kMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

struct CModifierKey {
    int virtualKey;
    int flag;
};
constexpr std::array<CModifierKey, 5> kModifierKeys = {
    {{17, 1}, {162, 1}, {163, 1}, {16, 2}, {-1, -1}}};

// A cursor over a placement text with the conversions sscanf would make:
// numbers and words skip leading white space, literals do not.
class CScanner {
public:
    explicit CScanner(QStringView text)
        : m_text(text)
    {}

    bool Literal(QChar c)
    {
        if (m_pos < m_text.size() && m_text.at(m_pos) == c) {
            ++m_pos;
            return true;
        }
        return false;
    }

    void SkipSpace()
    {
        while (m_pos < m_text.size() && m_text.at(m_pos).isSpace())
            ++m_pos;
    }

    // An int that does not fit counts as not converted.
    bool Int(int& out)
    {
        SkipSpace();
        qsizetype end = m_pos;
        if (end < m_text.size() && (m_text.at(end) == u'-' || m_text.at(end) == u'+'))
            ++end;
        const qsizetype digits = end;
        while (end < m_text.size() && m_text.at(end).isDigit() && m_text.at(end).unicode() < 128)
            ++end;
        if (end == digits)
            return false;
        bool ok = false;
        const int value = m_text.mid(m_pos, end - m_pos).toInt(&ok);
        if (!ok)
            return false;
        out = value;
        m_pos = end;
        return true;
    }

    bool Word(QString& out, int maxLength)
    {
        SkipSpace();
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && m_pos - start < maxLength && !m_text.at(m_pos).isSpace())
            ++m_pos;
        if (m_pos == start)
            return false;
        out = m_text.mid(start, m_pos - start).toString();
        return true;
    }

private:
    QStringView m_text;
    qsizetype m_pos = 0;
};

int ShowStateFromWord(const QString& word)
{
    for (int i = 0; i < int(kShowWords.size()); ++i) {
        if (word == QLatin1String(kShowWords[i]))
            return i;
    }
    return 1;
}

// Counts the events delivered while it is installed and notices a request
// to quit, so a pump can stop instead of swallowing it.
class CPumpWatch : public QObject {
public:
    CPumpWatch() { QCoreApplication::instance()->installEventFilter(this); }
    ~CPumpWatch() override
    {
        if (QCoreApplication::instance())
            QCoreApplication::instance()->removeEventFilter(this);
    }

    int Count() const { return m_count; }
    bool QuitSeen() const { return m_quit; }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        ++m_count;
        if (event->type() == QEvent::Quit)
            m_quit = true;
        return false;
    }

private:
    int m_count = 0;
    bool m_quit = false;
};

constexpr int kMaxPumpedEvents = 10000;

// Qt's pattern letters to the picture letters of the converters below. Hours
// are 12-hour in Qt only when the pattern shows AM/PM, always 24-hour in a
// picture's "H"; the AM/PM marker moves to the end as "tt", where the time
// converter looks for it. Quoted text keeps no letter a converter would read.
QString QtPatternToPicture(const QString& pattern)
{
    bool twelveHour = false;
    bool quoted = false;
    for (const QChar c : pattern) {
        if (c == u'\'')
            quoted = !quoted;
        else if (!quoted && (c == u'A' || c == u'a'))
            twelveHour = true;
    }
    QString out;
    bool marker = false;
    const qsizetype size = pattern.size();
    qsizetype i = 0;
    auto dropTrailingSpace = [&out] {
        while (!out.isEmpty() && out.back().isSpace())
            out.chop(1);
    };
    while (i < size) {
        const QChar c = pattern.at(i);
        if (c == u'\'') {
            ++i;
            if (i < size && pattern.at(i) == u'\'') {
                out += c;
                ++i;
                continue;
            }
            while (i < size) {
                if (pattern.at(i) == u'\'') {
                    if (i + 1 < size && pattern.at(i + 1) == u'\'') {
                        out += u'\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                if (!QStringLiteral("dMyHhmst").contains(pattern.at(i)))
                    out += pattern.at(i);
                ++i;
            }
            continue;
        }
        qsizetype run = 1;
        while (i + run < size && pattern.at(i + run) == c)
            ++run;
        switch (c.unicode()) {
        case 'd':
            out += QString(qMin<qsizetype>(run, 4), c);
            break;
        case 'M':
            out += QString(qMin<qsizetype>(run, 4), c);
            break;
        case 'y':
            out += run >= 3 ? QStringLiteral("yyyy") : QStringLiteral("yy");
            break;
        case 'h':
        case 'H':
            out += QString(qMin<qsizetype>(run, 2),
                           twelveHour && c == u'h' ? QLatin1Char('h') : QLatin1Char('H'));
            break;
        case 'm':
        case 's':
            out += QString(qMin<qsizetype>(run, 2), c);
            break;
        case 'z':
            // Milliseconds have no picture; their separator goes with them.
            if (out.endsWith(QLatin1Char('.')) || out.endsWith(QLatin1Char(',')))
                out.chop(1);
            break;
        case 't':
            dropTrailingSpace();
            break;
        case 'A':
        case 'a':
            marker = true;
            dropTrailingSpace();
            // "AP" and "ap" are one marker.
            if (run == 1 && i + 1 < size &&
                (pattern.at(i + 1) == u'P' || pattern.at(i + 1) == u'p'))
                run = 2;
            while (i + run < size && pattern.at(i + run).isSpace())
                ++run;
            break;
        default:
            out += QString(run, c);
            break;
        }
        i += run;
    }
    dropTrailingSpace();
    while (!out.isEmpty() && out.front().isSpace())
        out.remove(0, 1);
    if (marker)
        out += QStringLiteral(" tt");
    return out;
}

// Walks a picture, turning each run of one of `letters` into the item that
// `item` gives for its length (empty: nothing); other characters are copied.
template <typename ItemFn>
QString ConvertPicture(const QString& picture, const char* letters, ItemFn item)
{
    QString out;
    const QLatin1String set(letters);
    qsizetype i = 0;
    while (i < picture.size()) {
        const QChar c = picture.at(i);
        if (!set.contains(c)) {
            out += c;
            ++i;
            continue;
        }
        qsizetype run = 1;
        while (i + run < picture.size() && picture.at(i + run) == c)
            ++run;
        out += QLatin1String(item(c.toLatin1(), run));
        i += run;
    }
    return out;
}

QString Padded(int value, bool pad, int width = 2)
{
    return pad ? QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'))
               : QString::number(value);
}

} // namespace

// ---- Window placements -----------------------------------------------------------

QString FormatWindowPlacement(const CWindowPlacement& placement, int n)
{
    const QRect& r = placement.normal;
    const int state = placement.showState;
    const char* word = state >= 0 && state < int(kShowWords.size()) ? kShowWords[state] : "NORM";
    // Right and bottom are kept exclusive, as a placement rectangle has them.
    return QStringLiteral("(%1,%2,%3,%4),%5 %6")
        .arg(r.top())
        .arg(r.top() + r.height())
        .arg(r.left())
        .arg(r.left() + r.width())
        .arg(QLatin1String(word))
        .arg(n);
}

CWindowPlacement ParseWindowPlacement(const QString& text, int* n, int* a, int* b)
{
    int top = 0;
    int bottom = 0;
    int left = 0;
    int right = 0;
    int trailing = 0;
    int first = 0;
    int second = 0;
    QString word;
    CScanner scan(text);
    int converted = 0;
    // The same steps as the pattern "(%d,%d,%d,%d),%7s %d [%d,%d]": stop at the
    // first that fails, leaving the remaining fields 0.
    [&] {
        if (!scan.Literal(u'(') || !scan.Int(top))
            return;
        ++converted;
        if (!scan.Literal(u',') || !scan.Int(bottom))
            return;
        ++converted;
        if (!scan.Literal(u',') || !scan.Int(left))
            return;
        ++converted;
        if (!scan.Literal(u',') || !scan.Int(right))
            return;
        ++converted;
        if (!scan.Literal(u')') || !scan.Literal(u',') || !scan.Word(word, 7))
            return;
        ++converted;
        scan.SkipSpace();
        if (!scan.Int(trailing))
            return;
        ++converted;
        scan.SkipSpace();
        if (!scan.Literal(u'[') || !scan.Int(first))
            return;
        ++converted;
        if (!scan.Literal(u',') || !scan.Int(second))
            return;
        ++converted;
    }();

    CWindowPlacement placement;
    if (converted > 0) {
        placement.valid = true;
        placement.normal = QRect(QPoint(left, top), QSize(right - left, bottom - top));
        placement.showState = ShowStateFromWord(word);
    }
    if (n)
        *n = trailing;
    if (a)
        *a = first;
    if (b)
        *b = second;
    return placement;
}

CWindowPlacement GetWindowPlacementFromString(const QString& text)
{
    return ParseWindowPlacement(text);
}

void SaveWindowPlacement(const QWidget* window, const QString& key)
{
    if (!window || key.isEmpty())
        return;
    CWindowPlacement placement;
    placement.normal = window->normalGeometry();
    if (!placement.normal.isValid())
        placement.normal = window->geometry();
    // A window is saved as it closes, already hidden: keep the state it
    // comes back in, never "hidden".
    if (window->isMaximized())
        placement.showState = 3;
    else if (window->isMinimized())
        placement.showState = 2;
    else
        placement.showState = 1;
    placement.valid = true;
    CProfileStore profile;
    profile.setValue(kPlacementSection + QLatin1Char('/') + key, FormatWindowPlacement(placement));
}

bool RestoreWindowPlacement(QWidget* window, const QString& key)
{
    if (!window || key.isEmpty())
        return false;
    const QVariant stored = CProfileStore().value(kPlacementSection + QLatin1Char('/') + key);
    if (!stored.isValid())
        return false;
    const CWindowPlacement placement = ParseWindowPlacement(stored.toString());
    const QRect& rect = placement.normal;
    if (!placement.valid || rect.width() <= 0 || rect.height() <= 0)
        return false;
    // A screen that has gone (a laptop off its dock) must not take the window
    // with it.
    bool onScreen = false;
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().intersects(rect)) {
            onScreen = true;
            break;
        }
    }
    if (!onScreen)
        return false;
    window->setGeometry(rect);
    // Minimised and hidden are not states to open a window in.
    if (placement.showState == 3)
        window->setWindowState(window->windowState() | Qt::WindowMaximized);
    else
        window->setWindowState(window->windowState() &
                               ~(Qt::WindowMaximized | Qt::WindowMinimized));
    return true;
}

// ---- Calendar and clock ------------------------------------------------------------

int DaysInMonth(int month, int year)
{
    if (month < 1 || month > 12)
        return 0;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return kDaysPerMonth[month - 1] + (month == 2 && leap ? 1 : 0);
}

int GetUtcOffset()
{
    return CClock::Now().offsetFromUtc();
}

void GetDayName(int day, QString& out)
{
    if (day >= 1 && day <= 7)
        out = QLatin1String(kDayNames[day - 1]);
}

bool ParseDateParts(const QString& text, int& year, int& month, int& day, int& hour, int& minute,
                    int& second)
{
    year = month = day = hour = minute = second = 0;
    // The dates the program shows are read back as a person's typing is.
    const CDateTime value = CTypedDate(text).Value();
    if (value.IsNull())
        return false;
    year = value.Date().year();
    month = value.Date().month();
    day = value.Date().day();
    hour = value.Time().hour();
    minute = value.Time().minute();
    second = value.Time().second();
    return true;
}

// ---- The user's regional formats ---------------------------------------------------

namespace {
CRegionalFormats& Formats()
{
    static CRegionalFormats s_formats;
    return s_formats;
}
} // namespace

CRegionalFormats ReadRegionalFormats()
{
    CRegionalFormats formats;
    QString picture;
    if (ReadIntlSetting(QStringLiteral("sShortDate"), picture)) {
        const QString format = DatePictureToFormat(picture);
        if (format.contains(QLatin1Char('%')))
            formats.dateFormat = format;
    }
    if (ReadIntlSetting(QStringLiteral("sTimeFormat"), picture)) {
        bool twelveHour = false;
        const QString format = TimePictureToFormat(picture, twelveHour);
        if (format.contains(QLatin1Char('%'))) {
            formats.timeFormat = format;
            formats.twelveHour = twelveHour;
        }
    }
    ReadIntlSetting(QStringLiteral("s1159"), formats.amDesignator);
    ReadIntlSetting(QStringLiteral("s2359"), formats.pmDesignator);
    formats.utcOffset = GetUtcOffset();
    return formats;
}

const CRegionalFormats& RegionalFormats()
{
    return Formats();
}

void SetRegionalFormats(const CRegionalFormats& formats)
{
    Formats() = formats;
}

bool ReadIntlSetting(const QString& name, QString& out)
{
    // QLocale() is the system locale unless the program chose another.
    const QLocale locale;
    QString value;
    if (name == QLatin1String("sShortDate"))
        value = QtPatternToPicture(locale.dateFormat(QLocale::ShortFormat));
    else if (name == QLatin1String("sTimeFormat"))
        value = QtPatternToPicture(locale.timeFormat(QLocale::ShortFormat));
    else if (name == QLatin1String("s1159"))
        value = locale.amText();
    else if (name == QLatin1String("s2359"))
        value = locale.pmText();
    else
        return false;
    if (value.isEmpty())
        return false;
    out = value;
    return true;
}

QString TimePictureToFormat(const QString& picture, bool& twelveHour)
{
    twelveHour = false;
    QString walked = picture;
    if (picture.indexOf(QLatin1String("tt")) > 0) {
        twelveHour = true;
        walked = picture.left(picture.indexOf(QLatin1Char('t')));
    }
    return ConvertPicture(walked, "Hhms", [](char letter, qsizetype run) -> const char* {
        if (run > 2)
            return "";
        switch (letter) {
        case 'H':
            return run == 1 ? "%#H" : "%H";
        case 'h':
            return run == 1 ? "%#I" : "%I";
        case 'm':
            return run == 1 ? "%#M" : "%M";
        default:
            return run == 1 ? "%#S" : "%S";
        }
    });
}

QString DatePictureToFormat(const QString& picture)
{
    return ConvertPicture(picture, "Mdy", [](char letter, qsizetype run) -> const char* {
        static const char* const kMonth[] = {"%#m", "%m", "%b", "%B"};
        static const char* const kDay[] = {"%#d", "%d", "%a", "%A"};
        if (letter == 'y')
            return run == 2 ? "%y" : run == 4 ? "%Y" : "";
        if (run > 4)
            return "";
        return letter == 'M' ? kMonth[run - 1] : kDay[run - 1];
    });
}

QString FormatDateTime(const CDateTime& value, const QString& format, const QString& am,
                       const QString& pm)
{
    if (value.IsNull())
        return QString();
    const QDate date = value.Date();
    const QTime time = value.Time();
    QString out;
    out.reserve(format.size() + 16);
    const qsizetype size = format.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = format.at(i);
        if (c != u'%' || i + 1 >= size) {
            out += c;
            continue;
        }
        qsizetype j = i + 1;
        bool pad = true;
        if (format.at(j) == u'#' && j + 1 < size) {
            pad = false;
            ++j;
        }
        const int hour12 = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
        switch (format.at(j).unicode()) {
        case 'd':
            out += Padded(date.day(), pad);
            break;
        case 'm':
            out += Padded(date.month(), pad);
            break;
        case 'b':
            out += QLatin1String(kMonthNames[date.month() - 1]).left(3);
            break;
        case 'B':
            out += QLatin1String(kMonthNames[date.month() - 1]);
            break;
        case 'y':
            out += Padded(((date.year() % 100) + 100) % 100, pad);
            break;
        case 'Y':
            out += QString::number(date.year());
            break;
        case 'a':
            out += QLatin1String(kDayNames[date.dayOfWeek() % 7]).left(3);
            break;
        case 'A':
            out += QLatin1String(kDayNames[date.dayOfWeek() % 7]);
            break;
        case 'H':
            out += Padded(time.hour(), pad);
            break;
        case 'I':
            out += Padded(hour12, pad);
            break;
        case 'M':
            out += Padded(time.minute(), pad);
            break;
        case 'S':
            out += Padded(time.second(), pad);
            break;
        case 'p':
            if (time.hour() < 12)
                out += am.isEmpty() ? QStringLiteral("AM") : am;
            else
                out += pm.isEmpty() ? QStringLiteral("PM") : pm;
            break;
        case '%':
            out += u'%';
            break;
        default:
            // Not ours: shown as written.
            out += format.mid(i, j - i + 1);
            break;
        }
        i = j;
    }
    return out;
}

QString FormatTimeOfDay(int hour, int minute)
{
    const CRegionalFormats& formats = RegionalFormats();
    const int minutes = hour * 60 + minute;
    // Through the seconds, so that 24:00 (the end of a day) is a time too.
    const CDateTime value = CDateTime(CDateTime::ZeroDate()).AddSecs(qint64(minutes) * 60);
    QString text =
        FormatDateTime(value, formats.timeFormat, formats.amDesignator, formats.pmDesignator);
    if (formats.twelveHour) {
        if (minutes == 720)
            text += QStringLiteral("noon");
        else if (minutes > 720)
            text += formats.pmDesignator;
        else
            text += formats.amDesignator;
    }
    return text;
}

// ---- Texts -------------------------------------------------------------------------------

QStringList SplitString(const QString& text, const QString& separator)
{
    if (separator.isEmpty())
        return {text};
    QStringList parts;
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = text.indexOf(separator, from);
        if (at < 0)
            break;
        parts << text.mid(from, at - from);
        from = at + separator.size();
    }
    parts << text.mid(from);
    return parts;
}

QString StripAfterHash(const QString& text)
{
    const qsizetype hash = text.indexOf(QLatin1Char('#'));
    return hash < 0 ? text : text.left(hash);
}

QString RemoveChars(const QString& text, const QString& set)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (!set.contains(c))
            out += c;
    }
    return out;
}

bool GetWindowsUserName(QString& out)
{
    return GetDesktopLogin(out);
}

// ---- Numbers and flags -------------------------------------------------------------------

bool TestFlags(qint64 value, qint64 mask)
{
    return (value & mask) != 0;
}

int& SetFlags(int& value, int mask)
{
    value |= mask;
    return value;
}

int& ClearFlags(int& value, int mask)
{
    value &= ~mask;
    return value;
}

int LookupIdTable(int virtualKey)
{
    for (const CModifierKey& entry : kModifierKeys) {
        if (entry.virtualKey == -1 || entry.virtualKey == virtualKey)
            return entry.flag;
    }
    return -1;
}

bool CompareDoubles(double a, double b, int decimals)
{
    // Truncated in floating point: the same as an int cast wherever that is
    // defined, and no overflow for values it is not.
    const double scale = std::pow(10.0, decimals);
    return std::trunc(a * scale) <= std::trunc(b * scale);
}

// ---- Screen and messages ---------------------------------------------------------------

void GetPixelScale(double& x, double& y)
{
    x = 1.0;
    y = 1.0;
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        x = screen->logicalDotsPerInchX() / 96.0;
        y = screen->logicalDotsPerInchY() / 96.0;
    }
}

bool PumpMessages()
{
    if (!QCoreApplication::instance() || QCoreApplication::closingDown())
        return false;
    CPumpWatch watch;
    // Pass after pass, so that events posted by the handlers of the last one
    // are seen too, until nothing is left or the bound is reached.
    for (;;) {
        const int before = watch.Count();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (watch.QuitSeen() || watch.Count() == before || watch.Count() >= kMaxPumpedEvents)
            break;
    }
    return !watch.QuitSeen() && !QCoreApplication::closingDown();
}

void WaitPumping(int milliseconds)
{
    const QDeadlineTimer deadline(qMax(milliseconds, 0), Qt::PreciseTimer);
    if (!PumpMessages())
        return;
    while (!deadline.hasExpired() && !QCoreApplication::closingDown()) {
        // A nested loop sleeps until an event or the deadline, so waiting
        // costs no processor time.
        QEventLoop loop;
        QTimer timer;
        timer.setSingleShot(true);
        timer.setTimerType(Qt::PreciseTimer);
        bool timedOut = false;
        QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
            timedOut = true;
            loop.quit();
        });
        timer.start(int(qMax<qint64>(deadline.remainingTime(), 0)));
        loop.exec();
        // Left early: the program was told to quit.
        if (!timedOut)
            return;
    }
}

int ShowMessage(const QString& text)
{
    return ShowMessageBox(text, kMbOk);
}

int ShowStringMessage(int stringId)
{
    return ShowMessageBox(LoadStringRes(stringId), kMbOk);
}
