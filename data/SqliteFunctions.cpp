#include "data/SqliteFunctions.h"

#include "data/SingleText.h"
#include "data/SqlDialect.h"

#include <QLocale>
#include <QSqlDatabase>
#include <QSqlDriver>

#include <sqlite3.h>

namespace {

CDateTime ValueToDateTime(const QVariant& value)
{
    if (value.metaType() == QMetaType::fromType<CDateTime>())
        return value.value<CDateTime>();
    if (value.metaType().id() == QMetaType::QDateTime)
        return CDateTime::FromQDateTime(value.toDateTime());
    // A number is a day count since 30 December 1899, as Jet stores dates.
    if (value.metaType().id() == QMetaType::Double || value.metaType().id() == QMetaType::LongLong)
        return CDateTime::FromOle(value.toDouble());
    return CDateTime::Parse(value.toString());
}

bool StartsWithCi(QStringView text, int pos, const char* token)
{
    return text.mid(pos).startsWith(QLatin1String(token), Qt::CaseInsensitive);
}

QString FormatDatePattern(const CDateTime& dt, const QString& pattern)
{
    const QLocale c = QLocale::c();
    QString out;
    bool lastWasHour = false;
    const bool twelveHour = pattern.contains(QLatin1String("am/pm"), Qt::CaseInsensitive);
    const int n = pattern.size();
    int i = 0;
    while (i < n) {
        const QChar ch = pattern.at(i);
        const QChar lower = ch.toLower();
        if (ch == QLatin1Char('"')) {
            const int j = pattern.indexOf(QLatin1Char('"'), i + 1);
            const int end = j < 0 ? n : j;
            out += QStringView(pattern).mid(i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        if (ch == QLatin1Char('\\') && i + 1 < n) {
            out += pattern.at(i + 1);
            i += 2;
            continue;
        }
        if (StartsWithCi(pattern, i, "am/pm")) {
            const bool pm = dt.Time().hour() >= 12;
            const bool upper = pattern.at(i).isUpper();
            out += upper ? (pm ? QLatin1String("PM") : QLatin1String("AM"))
                         : (pm ? QLatin1String("pm") : QLatin1String("am"));
            i += 5;
            continue;
        }
        int run = 1;
        while (i + run < n && pattern.at(i + run).toLower() == lower)
            ++run;
        if (lower == QLatin1Char('y')) {
            out += run >= 3
                       ? QString::number(dt.Date().year())
                       : QStringLiteral("%1").arg(dt.Date().year() % 100, 2, 10, QLatin1Char('0'));
            lastWasHour = false;
        } else if (lower == QLatin1Char('d')) {
            const QDate d = dt.Date();
            if (run == 1)
                out += QString::number(d.day());
            else if (run == 2)
                out += QStringLiteral("%1").arg(d.day(), 2, 10, QLatin1Char('0'));
            else if (run == 3)
                out += c.dayName(d.dayOfWeek(), QLocale::ShortFormat);
            else
                out += c.dayName(d.dayOfWeek(), QLocale::LongFormat);
            lastWasHour = false;
        } else if (lower == QLatin1Char('m') && (lastWasHour && run <= 2)) {
            out += run == 1 ? QString::number(dt.Time().minute())
                            : QStringLiteral("%1").arg(dt.Time().minute(), 2, 10, QLatin1Char('0'));
            lastWasHour = false;
        } else if (lower == QLatin1Char('m')) {
            const int m = dt.Date().month();
            if (run == 1)
                out += QString::number(m);
            else if (run == 2)
                out += QStringLiteral("%1").arg(m, 2, 10, QLatin1Char('0'));
            else if (run == 3)
                out += c.monthName(m, QLocale::ShortFormat);
            else
                out += c.monthName(m, QLocale::LongFormat);
        } else if (lower == QLatin1Char('n')) {
            out += run == 1 ? QString::number(dt.Time().minute())
                            : QStringLiteral("%1").arg(dt.Time().minute(), 2, 10, QLatin1Char('0'));
        } else if (lower == QLatin1Char('h')) {
            int hour = dt.Time().hour();
            if (twelveHour)
                hour = hour % 12 == 0 ? 12 : hour % 12;
            out += run == 1 ? QString::number(hour)
                            : QStringLiteral("%1").arg(hour, 2, 10, QLatin1Char('0'));
            lastWasHour = true;
            i += run;
            continue;
        } else if (lower == QLatin1Char('s')) {
            out += run == 1 ? QString::number(dt.Time().second())
                            : QStringLiteral("%1").arg(dt.Time().second(), 2, 10, QLatin1Char('0'));
        } else {
            out += QStringView(pattern).mid(i, run);
            // Separators between hours and minutes keep the "m means minutes" rule.
            if (lower != QLatin1Char(':') && !lower.isSpace())
                lastWasHour = false;
            i += run;
            continue;
        }
        if (lower != QLatin1Char('h'))
            lastWasHour = false;
        i += run;
    }
    return out;
}

QString FormatNumberPattern(double value, const QString& pattern)
{
    const bool percent = pattern.contains(QLatin1Char('%'));
    if (percent)
        value *= 100.0;
    const int point = pattern.indexOf(QLatin1Char('.'));
    int decimals = 0;
    if (point >= 0) {
        for (int i = point + 1; i < pattern.size(); ++i) {
            const QChar c = pattern.at(i);
            if (c == QLatin1Char('0') || c == QLatin1Char('#'))
                ++decimals;
            else
                break;
        }
    }
    const bool grouping =
        pattern.left(point < 0 ? pattern.size() : point).contains(QLatin1Char(','));
    QLocale c = QLocale::c();
    c.setNumberOptions(grouping ? QLocale::DefaultNumberOptions : QLocale::OmitGroupSeparator);
    QString out = c.toString(value, 'f', decimals);
    if (percent)
        out += QLatin1Char('%');
    return out;
}

bool IsNumber(const QVariant& v)
{
    switch (v.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

QVariant ArgValue(sqlite3_value* v)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
        return QVariant(static_cast<qlonglong>(sqlite3_value_int64(v)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_value_double(v));
    case SQLITE_NULL:
        return QVariant();
    default:
        return QVariant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(v)),
                                          sqlite3_value_bytes(v)));
    }
}

void ResultText(sqlite3_context* ctx, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_result_text(ctx, utf8.constData(), utf8.size(), SQLITE_TRANSIENT);
}

// A number given for a date that is none: an error of the statement, as the
// server's date functions raise one for a value out of their range.
void NoDayError(sqlite3_context* ctx, const char* function, const QVariant& value)
{
    const QByteArray text = QStringLiteral("%1: %2 is not a day of the years 1 to 9999")
                                .arg(QLatin1String(function), value.toString())
                                .toUtf8();
    sqlite3_result_error(ctx, text.constData(), int(text.size()));
}

void FormatFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const QVariant value = ArgValue(argv[0]);
    const QString pattern = argc > 1 ? ArgValue(argv[1]).toString() : QString();
    QString text;
    if (!FormatValue(value, pattern, text))
        return NoDayError(ctx, "Format", value);
    ResultText(ctx, text);
}

void DateDiffFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[1]) == SQLITE_NULL || sqlite3_value_type(argv[2]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString interval = ArgValue(argv[0]).toString();
    CDateTime dates[2];
    for (int i = 0; i < 2; ++i) {
        const QVariant value = ArgValue(argv[i + 1]);
        dates[i] = ValueToDateTime(value);
        if (dates[i].IsValid())
            continue;
        if (IsNumber(value))
            return NoDayError(ctx, "DateDiff", value);
        sqlite3_result_error(ctx, "DateDiff: argument is not a date", -1);
        return;
    }
    qint64 result = 0;
    if (!JetDateDiff(interval, dates[0], dates[1], &result)) {
        sqlite3_result_error(ctx, "DateDiff: unknown interval", -1);
        return;
    }
    sqlite3_result_int64(ctx, result);
}

void NzFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) != SQLITE_NULL)
        sqlite3_result_value(ctx, argv[0]);
    else if (argc > 1)
        sqlite3_result_value(ctx, argv[1]);
    else
        sqlite3_result_text(ctx, "", 0, SQLITE_STATIC);
}

// A single column's value as the server's CAST(real AS TEXT) writes it.
void SingleTextFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    ResultText(ctx, SingleText(static_cast<float>(sqlite3_value_double(argv[0]))));
}

// lower() for every letter, not only those of ASCII: each character by its
// own lower case, as the server's lower() does.
void LowerFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const int size = sqlite3_value_bytes(argv[0]);
    // Most text is ASCII: lowered byte by byte.
    QByteArray ascii(bytes, size);
    bool plain = true;
    for (char& c : ascii) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            plain = false;
            break;
        }
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    if (plain) {
        sqlite3_result_text(ctx, ascii.constData(), size, SQLITE_TRANSIENT);
        return;
    }
    const QString text = QString::fromUtf8(bytes, size);
    QString lower;
    lower.reserve(text.size());
    for (const char32_t c : text.toUcs4())
        lower += QChar::fromUcs4(QChar::toLower(c));
    ResultText(ctx, lower);
}

void NowFunction(sqlite3_context* ctx, int, sqlite3_value**)
{
    ResultText(ctx, CDateTime::CurrentDateTime().ToIsoText());
}

qint64 FloorDiv(qint64 a, qint64 b)
{
    qint64 q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

qint64 SecondsSinceZero(const CDateTime& dt)
{
    return CDateTime::ZeroDate().daysTo(dt.Date()) * 86400 +
           dt.Time().msecsSinceStartOfDay() / 1000;
}

} // namespace

QString JetFormat(const QVariant& value, const QString& pattern)
{
    QString text;
    return FormatValue(value, pattern, text) ? text : value.toString();
}

bool FormatValue(const QVariant& value, const QString& pattern, QString& text)
{
    text = QString();
    const QString named = pattern.trimmed().toLower();
    if (IsNumber(value)) {
        if (named.isEmpty() || named == QLatin1String("general number"))
            text = value.toString();
        else if (named == QLatin1String("fixed"))
            text = FormatNumberPattern(value.toDouble(), QStringLiteral("0.00"));
        else if (named == QLatin1String("standard"))
            text = FormatNumberPattern(value.toDouble(), QStringLiteral("#,##0.00"));
        else if (named == QLatin1String("percent"))
            text = FormatNumberPattern(value.toDouble(), QStringLiteral("0.00%"));
        else if (pattern.contains(QLatin1Char('0')) || pattern.contains(QLatin1Char('#')))
            text = FormatNumberPattern(value.toDouble(), pattern);
        if (!text.isNull())
            return true;
    }
    const CDateTime dt = ValueToDateTime(value);
    if (!dt.IsValid()) {
        // A text that is no date is shown as it is; a number must be a day.
        text = value.toString();
        return !IsNumber(value);
    }
    if (named.isEmpty() || named == QLatin1String("general date"))
        text = dt.Time() == QTime(0, 0)
                   ? FormatDatePattern(dt, QStringLiteral("dd/mm/yyyy"))
                   : FormatDatePattern(dt, QStringLiteral("dd/mm/yyyy hh:nn:ss"));
    else if (named == QLatin1String("short time"))
        text = FormatDatePattern(dt, QStringLiteral("hh:nn"));
    else if (named == QLatin1String("medium time"))
        text = FormatDatePattern(dt, QStringLiteral("hh:nn AM/PM"));
    else if (named == QLatin1String("long time"))
        text = FormatDatePattern(dt, QStringLiteral("hh:nn:ss"));
    else if (named == QLatin1String("short date"))
        text = FormatDatePattern(dt, QStringLiteral("dd/mm/yyyy"));
    else if (named == QLatin1String("medium date"))
        text = FormatDatePattern(dt, QStringLiteral("dd-mmm-yy"));
    else if (named == QLatin1String("long date"))
        text = FormatDatePattern(dt, QStringLiteral("dddd, d mmmm yyyy"));
    else
        text = FormatDatePattern(dt, pattern);
    return true;
}

bool JetDateDiff(const QString& interval, const CDateTime& first, const CDateTime& second,
                 qint64* result)
{
    const QString iv = interval.trimmed().toLower();
    const QDate d1 = first.Date();
    const QDate d2 = second.Date();
    // In 64 bits: a date of any year Qt holds keeps these in range.
    const qint64 y1 = d1.year();
    const qint64 y2 = d2.year();
    if (iv == QLatin1String("yyyy"))
        *result = y2 - y1;
    else if (iv == QLatin1String("q"))
        *result = (y2 * 4 + (d2.month() - 1) / 3) - (y1 * 4 + (d1.month() - 1) / 3);
    else if (iv == QLatin1String("m"))
        *result = (y2 * 12 + d2.month()) - (y1 * 12 + d1.month());
    else if (iv == QLatin1String("d") || iv == QLatin1String("y"))
        *result = d1.daysTo(d2);
    else if (iv == QLatin1String("w"))
        *result = d1.daysTo(d2) / 7;
    else if (iv == QLatin1String("ww")) {
        // Sundays crossed: compare the Sundays that start each date's week.
        const QDate s1 = d1.addDays(-(d1.dayOfWeek() % 7));
        const QDate s2 = d2.addDays(-(d2.dayOfWeek() % 7));
        *result = s1.daysTo(s2) / 7;
    } else if (iv == QLatin1String("h"))
        *result =
            FloorDiv(SecondsSinceZero(second), 3600) - FloorDiv(SecondsSinceZero(first), 3600);
    else if (iv == QLatin1String("n"))
        *result = FloorDiv(SecondsSinceZero(second), 60) - FloorDiv(SecondsSinceZero(first), 60);
    else if (iv == QLatin1String("s"))
        *result = SecondsSinceZero(second) - SecondsSinceZero(first);
    else
        return false;
    return true;
}

sqlite3* SqliteHandle(const QSqlDatabase& db)
{
    if (!db.isValid() || !db.driver())
        return nullptr;
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

bool RegisterSqliteFunctions(sqlite3* db)
{
    if (!db)
        return false;
    const int det = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    bool ok = true;
    ok &= sqlite3_create_function_v2(db, "Format", 1, det, nullptr, FormatFunction, nullptr,
                                     nullptr, nullptr) == SQLITE_OK;
    ok &= sqlite3_create_function_v2(db, "Format", 2, det, nullptr, FormatFunction, nullptr,
                                     nullptr, nullptr) == SQLITE_OK;
    ok &= sqlite3_create_function_v2(db, "DateDiff", 3, det, nullptr, DateDiffFunction, nullptr,
                                     nullptr, nullptr) == SQLITE_OK;
    ok &= sqlite3_create_function_v2(db, "Nz", 1, det, nullptr, NzFunction, nullptr, nullptr,
                                     nullptr) == SQLITE_OK;
    ok &= sqlite3_create_function_v2(db, "Nz", 2, det, nullptr, NzFunction, nullptr, nullptr,
                                     nullptr) == SQLITE_OK;
    ok &= sqlite3_create_function_v2(db, "Now", 0, SQLITE_UTF8, nullptr, NowFunction, nullptr,
                                     nullptr, nullptr) == SQLITE_OK;
    ok &= sqlite3_create_function_v2(db, "SingleText", 1, det, nullptr, SingleTextFunction, nullptr,
                                     nullptr, nullptr) == SQLITE_OK;
    ok &= sqlite3_create_function_v2(db, "lower", 1, det, nullptr, LowerFunction, nullptr, nullptr,
                                     nullptr) == SQLITE_OK;
    return ok;
}
