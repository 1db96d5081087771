#include "ui/TypedDate.h"

#include "platform/Clock.h"
#include "ui/Utilities.h"

#include <QList>
#include <QLocale>
#include <QStringList>

#include <array>

namespace {

constexpr std::array<const char*, 12> kMonths = {"january",   "february", "march",    "april",
                                                 "may",       "june",     "july",     "august",
                                                 "september", "october",  "november", "december"};
constexpr std::array<const char*, 7> kDays = {"monday", "tuesday",  "wednesday", "thursday",
                                              "friday", "saturday", "sunday"};

struct CToken {
    QString text;
    bool word = false;
    bool negative = false;
};

bool IsAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Numbers and words, with blanks and at most one mark (. / - ,) between
// two of them. A minus after a mark, or first, is a number's sign: it is
// what makes "1/2/-001" a negative year rather than a date.
bool Split(QStringView text, QList<CToken>& tokens)
{
    int marks = 0;
    bool gap = true;
    bool negative = false;
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text.at(i);
        if (IsAsciiDigit(c) || c.isLetter()) {
            if (!gap || marks > 1 || (tokens.isEmpty() && marks > 0))
                return false;
            const bool word = c.isLetter();
            qsizetype end = i;
            while (end < text.size() &&
                   (word ? text.at(end).isLetter() : IsAsciiDigit(text.at(end))))
                ++end;
            tokens.append({text.mid(i, end - i).toString(), word, negative});
            negative = false;
            marks = 0;
            gap = false;
            i = end;
            continue;
        }
        gap = true;
        if (c == u'-' && (tokens.isEmpty() || marks > 0) && i + 1 < text.size() &&
            IsAsciiDigit(text.at(i + 1))) {
            negative = true;
        } else if (!c.isSpace()) {
            ++marks;
        }
        ++i;
    }
    // One mark may end the date ("29. 03. 26.").
    return !tokens.isEmpty() && marks <= 1 && !negative;
}

QString Folded(const QString& name)
{
    QString folded = name.toLower();
    if (folded.endsWith(u'.'))
        folded.chop(1);
    return folded;
}

// English names and their first three letters or more, or the desktop's
// names and abbreviations.
template <typename LocalNames>
int NameIndex(const QString& word, const char* const* english, int count, LocalNames local)
{
    const QString lower = word.toLower();
    for (int i = 0; i < count; ++i) {
        const QLatin1String name(english[i]);
        if (lower.size() >= 3 && name.startsWith(lower))
            return i + 1;
        for (const QString& localName : local(i + 1))
            if (!localName.isEmpty() && Folded(localName) == lower)
                return i + 1;
    }
    return 0;
}

int MonthOfWord(const QString& word)
{
    const QLocale locale;
    return NameIndex(word, kMonths.data(), int(kMonths.size()), [&locale](int m) {
        return QStringList{locale.monthName(m, QLocale::LongFormat),
                           locale.monthName(m, QLocale::ShortFormat),
                           locale.standaloneMonthName(m, QLocale::LongFormat),
                           locale.standaloneMonthName(m, QLocale::ShortFormat)};
    });
}

bool IsDayName(const QString& word)
{
    const QLocale locale;
    return NameIndex(word, kDays.data(), int(kDays.size()), [&locale](int d) {
               return QStringList{locale.dayName(d, QLocale::LongFormat),
                                  locale.dayName(d, QLocale::ShortFormat)};
           }) > 0;
}

// Day, month and year ('d', 'm', 'y') in the order the program writes them.
QString FieldOrder()
{
    const QString& format = RegionalFormats().dateFormat;
    QString order;
    for (qsizetype i = 0; i + 1 < format.size(); ++i) {
        if (format.at(i) != u'%')
            continue;
        qsizetype j = i + 1;
        if (format.at(j) == u'#' && j + 1 < format.size())
            ++j;
        QChar field;
        switch (format.at(j).unicode()) {
        case 'd':
            field = u'd';
            break;
        case 'm':
        case 'b':
        case 'B':
            field = u'm';
            break;
        case 'y':
        case 'Y':
            field = u'y';
            break;
        default:
            break;
        }
        if (!field.isNull() && !order.contains(field))
            order += field;
        i = j;
    }
    return order.size() == 3 ? order : QStringLiteral("dmy");
}

bool SmallNumber(const CToken* token, int& value)
{
    if (!token || token->word || token->negative || token->text.size() > 2)
        return false;
    value = token->text.toInt();
    return true;
}

} // namespace

CTypedDate::CTypedDate(const QString& text, const QDate& today)
{
    const QDate now = today.isValid() ? today : CClock::Today();
    const QString trimmed = text.trimmed();
    QString datePart = trimmed;
    QString timePart;
    // The time begins with the digits before the first colon, after a blank
    // or the 'T' of ISO.
    const qsizetype colon = trimmed.indexOf(u':');
    bool readable = true;
    if (colon >= 0) {
        qsizetype start = colon;
        while (start > 0 && IsAsciiDigit(trimmed.at(start - 1)))
            --start;
        const QChar before = start > 0 ? trimmed.at(start - 1) : QChar();
        readable = start > 1 && (before.isSpace() || before == u'T' || before == u't');
        datePart = trimmed.left(start - 1).trimmed();
        timePart = trimmed.mid(start);
        m_hasTime = true;
    }
    QDate date;
    QTime time(0, 0);
    bool badYear = false;
    if (readable && ReadDate(datePart, now, date, badYear) &&
        (!m_hasTime || ReadTime(timePart, time)))
        m_value = CDateTime(date, time);
    if (m_value.IsValid())
        return;
    m_hasTime = false;
    const QString forms = Forms(now);
    if (trimmed.isEmpty())
        m_message = QStringLiteral("A date is needed: type it as %1").arg(forms);
    else if (badYear)
        m_message = QStringLiteral("%1 has no possible year (1 to 9999, with two or four digits): "
                                   "type the date as %2")
                        .arg(trimmed, forms);
    else
        m_message = QStringLiteral("%1 is not a date: type it as %2, a time may follow")
                        .arg(trimmed, forms);
}

bool CTypedDate::ReadDate(const QString& text, const QDate& today, QDate& date, bool& badYear) const
{
    QList<CToken> tokens;
    if (!Split(text, tokens))
        return false;
    // A weekday's name beside the date adds nothing ("mar." is a Tuesday in
    // French, "Mar" March in English: only a fourth word is dropped).
    if (tokens.size() > 3)
        tokens.removeIf([](const CToken& t) { return t.word && IsDayName(t.text); });
    if (tokens.size() != 3)
        return false;
    int month = 0;
    QList<const CToken*> numbers;
    for (const CToken& token : std::as_const(tokens)) {
        if (!token.word) {
            numbers << &token;
            continue;
        }
        if (month > 0)
            return false;
        month = MonthOfWord(token.text);
        if (month == 0)
            return false;
    }
    const QString order = FieldOrder();
    const CToken* day = nullptr;
    const CToken* year = nullptr;
    const CToken* monthNumber = nullptr;
    if (month > 0) {
        // A number too long for a day is the year, wherever it stands.
        const bool yearFirst = numbers.at(0)->text.size() > 2 ? true
                               : numbers.at(1)->text.size() > 2
                                   ? false
                                   : order.indexOf(u'y') < order.indexOf(u'd');
        year = numbers.at(yearFirst ? 0 : 1);
        day = numbers.at(yearFirst ? 1 : 0);
    } else if (tokens.at(0).text.size() > 2) {
        // Year first, as ISO has it.
        year = &tokens.at(0);
        monthNumber = &tokens.at(1);
        day = &tokens.at(2);
    } else {
        for (int i = 0; i < 3; ++i) {
            const CToken* token = &tokens.at(i);
            if (order.at(i) == u'd')
                day = token;
            else if (order.at(i) == u'm')
                monthNumber = token;
            else
                year = token;
        }
    }
    int dayNumber = 0;
    if (!SmallNumber(day, dayNumber) || (monthNumber && !SmallNumber(monthNumber, month)))
        return false;
    const qsizetype digits = year->text.size();
    // Two digits are a year near today; four a year as it stands, year 0 none.
    const int value = digits == 2 || digits == 4 ? year->text.toInt() : 0;
    if (year->negative || (digits != 2 && value < 1)) {
        badYear = true;
        return false;
    }
    date = QDate(digits == 2 ? FullYear(value, today) : value, month, dayNumber);
    return date.isValid();
}

bool CTypedDate::ReadTime(const QString& text, QTime& time) const
{
    // The desktop's own AM and PM, as the program shows them.
    QString typed = text.trimmed();
    const CRegionalFormats& formats = RegionalFormats();
    const std::array<std::pair<QString, QLatin1String>, 2> designators = {
        {{formats.amDesignator, QLatin1String("AM")}, {formats.pmDesignator, QLatin1String("PM")}}};
    for (const auto& [local, latin] : designators) {
        if (!local.isEmpty() && typed.endsWith(local, Qt::CaseInsensitive)) {
            typed = typed.left(typed.size() - local.size()).trimmed() + QLatin1Char(' ') + latin;
            break;
        }
    }
    const CDateTime parsed = CDateTime::Parse(typed);
    if (!parsed.IsValid() || parsed.Date() != CDateTime::ZeroDate())
        return false;
    time = parsed.Time();
    return true;
}

int CTypedDate::FullYear(int twoDigits, const QDate& today)
{
    const int year = today.year();
    const int full = year - year % 100 + twoDigits;
    if (full > year + 20)
        return full - 100;
    if (full <= year - 80)
        return full + 100;
    return full;
}

QString CTypedDate::Forms(const QDate& example)
{
    QString two = RegionalFormats().dateFormat;
    QString four = two;
    two.replace(QLatin1String("%Y"), QLatin1String("%y"));
    four.replace(QLatin1String("%y"), QLatin1String("%Y"));
    const CDateTime day(example);
    QStringList forms = {FormatDateTime(day, two), FormatDateTime(day, four)};
    forms.removeDuplicates();
    return forms.join(QStringLiteral(", ")) + QStringLiteral(" or ") +
           day.ToString(QStringLiteral("yyyy-MM-dd"));
}
