#include "review/TimeSheetFile.h"

#include "data/records/TimeSheetSet.h"
#include "review/TimeSheetLineReader.h"

#include <QDir>
#include <QFileInfo>

#include <array>
#include <cmath>

namespace TimeSheetFile {

const QString kHeader =
    QStringLiteral("EmpID, ProjID, OrderID, HoursWorked, TaskID, Comment, Invoice Cost, "
                   "WorkTypeID, TimeID, StartTime, StopTime, WorkDate, ObjectTypeID, ObjectID");

namespace {

// A file where more than one byte in this many is a control byte is no text.
constexpr qsizetype kControlShare = 32;
constexpr int kEndOfDay = 24 * 60;

// Columns of CTimeSheetSet.
enum Column : int {
    kEmpID = 1,
    kProjID = 2,
    kOrderID = 3,
    kWorkDate = 4,
    kStartTime = 5,
    kStopTime = 6,
    kHoursWorked = 7,
    kTaskID = 8,
    kComment = 9,
    kInvCost = 10,
    kWorkTypeID = 11,
    kTimeID = 12,
    kInvID = 13,
    kObjectTypeID = 14,
    kObjectID = 15,
};

// Fields of a data line, counted from 0.
enum Field : int {
    fEmpID,
    fProjID,
    fOrderID,
    fHoursWorked,
    fTaskID,
    fComment,
    fInvCost,
    fWorkTypeID,
    fTimeID,
    fStartTime,
    fStopTime,
    fWorkDate,
    fObjectTypeID,
    fObjectID,
    fInvID,
};

const std::array<const char*, kFieldCount> kFieldNames = {
    "EmpID",    "ProjID",       "OrderID",      "HoursWorked", "TaskID",
    "Comment",  "Invoice Cost", "WorkTypeID",   "TimeID",      "StartTime",
    "StopTime", "WorkDate",     "ObjectTypeID", "ObjectID",    "InvID"};

// The fields of a data line, written one after another with commas between.
// A NULL column is an empty field.
class CLineWriter {
public:
    explicit CLineWriter(const CTimeSheetSet& row)
        : m_row(row)
    {
        m_line.reserve(160);
    }
    QByteArray Line() const { return m_line; }

    void Int(int column, int value)
    {
        const bool present = Next(column);
        // Another program's value beyond the buffer goes on as stored.
        if (m_row.Descriptor(column).status == adFldDataOverFlow)
            m_line += QByteArray::number(m_row.Recordset()->Cell(column).Int());
        else if (present)
            m_line += QByteArray::number(value);
    }
    // "%f" in the C locale, whatever the desktop's.
    void Number(int column, double value)
    {
        if (Next(column))
            m_line += QByteArray::number(value, 'f', 6);
    }
    void Text(int column, const QString& text)
    {
        if (Next(column))
            m_line += CleanComment(text).toUtf8();
    }
    void Date(int column, const CDateTime& value, bool withTime)
    {
        if (!Next(column) || !value.IsValid())
            return;
        const QDate d = value.Date();
        const QTime t = value.Time();
        char text[24];
        const int n =
            withTime
                ? std::snprintf(text, sizeof text, "%02d/%02d/%04d %02d:%02d:%02d", d.day(),
                                d.month(), d.year(), t.hour(), t.minute(), t.second())
                : std::snprintf(text, sizeof text, "%02d/%02d/%04d", d.day(), d.month(), d.year());
        m_line.append(text, n);
    }

private:
    // Starts the field; false when the column is NULL.
    bool Next(int column)
    {
        if (m_fields++ > 0)
            m_line += ',';
        return !m_row.IsNull(column);
    }

    const CTimeSheetSet& m_row;
    QByteArray m_line;
    int m_fields = 0;
};

// A whole number, with an optional sign.
bool ReadInt(QStringView text, int& value)
{
    bool ok = false;
    value = text.trimmed().toInt(&ok);
    return ok;
}

QString Unspaced(const QString& text)
{
    QString out = text;
    out.removeIf([](QChar c) { return c.isSpace(); });
    return out;
}

// Unsigned numbers separated by `separator`, each of 1 to `digits[i]`
// digits, or exactly -digits[i] when that is negative.
bool ReadParts(QStringView text, QChar separator, int* parts, int count, const int* digits)
{
    int n = 0;
    for (QStringView piece : text.tokenize(separator)) {
        if (n >= count || piece.isEmpty())
            return false;
        const int most = digits[n] < 0 ? -digits[n] : digits[n];
        if (piece.size() > most || (digits[n] < 0 && piece.size() != most))
            return false;
        for (const QChar c : piece)
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return false;
        parts[n++] = piece.toInt();
    }
    return n == count;
}

// "h:mm" or "h:mm:ss" as minutes since midnight; "24:00" is the end of
// the day, as the time sheet reads it.
bool ReadTime(QStringView text, int& minutes)
{
    static constexpr int kTwoDigits[] = {2, 2, 2};
    int parts[3] = {0, 0, 0};
    if (!ReadParts(text, QLatin1Char(':'), parts, 3, kTwoDigits) &&
        !ReadParts(text, QLatin1Char(':'), parts, 2, kTwoDigits))
        return false;
    if (parts[0] == 24 && parts[1] == 0 && parts[2] == 0) {
        minutes = kEndOfDay;
        return true;
    }
    if (!QTime(parts[0], parts[1], parts[2]).isValid())
        return false;
    minutes = parts[0] * 60 + parts[1];
    return true;
}

// "d/m/yyyy", day first as the file writes it, never by the desktop's
// locale, the year in four digits, with an optional time of day after a
// blank (minutes since midnight; 0 when none is given).
bool ReadDate(QStringView text, QDate& date, int& minutes)
{
    static constexpr int kDayMonthYear[] = {2, 2, -4};
    text = text.trimmed();
    const qsizetype blank = text.indexOf(QLatin1Char(' '));
    int parts[3] = {0, 0, 0};
    if (!ReadParts(blank < 0 ? text : text.left(blank), QLatin1Char('/'), parts, 3, kDayMonthYear))
        return false;
    date = QDate(parts[2], parts[1], parts[0]);
    minutes = 0;
    if (!date.isValid())
        return false;
    return blank < 0 || ReadTime(text.mid(blank + 1).trimmed(), minutes);
}

QString Quoted(QStringView text)
{
    return QLatin1Char('"') + text.toString() + QLatin1Char('"');
}

} // namespace

QString CleanComment(const QString& comment)
{
    QString clean = comment;
    clean.remove(QLatin1Char(','));
    clean.remove(QLatin1Char('\n'));
    clean.remove(QLatin1Char('\r'));
    // The reader drops NULs; what is written is what is read back.
    clean.remove(QChar(u'\0'));
    return clean;
}

QByteArray DataLine(const CTimeSheetSet& row)
{
    CLineWriter w(row);
    w.Int(kEmpID, row.m_EmpID);
    w.Int(kProjID, row.m_ProjID);
    w.Int(kOrderID, row.m_OrderID);
    w.Number(kHoursWorked, row.m_HoursWorked);
    w.Int(kTaskID, row.m_TaskID);
    w.Text(kComment, row.m_Comment);
    w.Number(kInvCost, row.m_InvCost);
    w.Int(kWorkTypeID, row.m_WorkTypeID);
    w.Int(kTimeID, row.m_TimeID);
    w.Date(kStartTime, row.m_StartTime, true);
    w.Date(kStopTime, row.m_StopTime, true);
    w.Date(kWorkDate, row.m_WorkDate, false);
    w.Int(kObjectTypeID, row.m_ObjectTypeID);
    w.Int(kObjectID, row.m_ObjectID);
    w.Int(kInvID, row.m_InvID);
    return w.Line();
}

Content Inspect(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return Content::Empty;
    // Text has few control bytes but line ends and tabs: a control character
    // in a comment is carried as any other, wherever it sits in the file. A
    // picture, an archive or UTF-16 text has them everywhere. An odd NUL
    // (which the reader drops) is let through.
    qsizetype controls = 0;
    qsizetype nuls = 0;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b == 0)
            ++nuls;
        else if (b < 0x20 && b != '\n' && b != '\r' && b != '\t' && b != '\f')
            ++controls;
    }
    const bool manyNuls = nuls > 4 && nuls * 100 > bytes.size();
    return manyNuls || controls * kControlShare > bytes.size() ? Content::Binary : Content::Text;
}

QList<CFileLine> SplitLines(const QByteArray& bytes, bool* singleByte)
{
    QList<CFileLine> lines;
    CTimeSheetLineReader reader(bytes);
    CFileLine line;
    while (reader.Next(line))
        lines.append(std::move(line));
    if (singleByte)
        *singleByte = reader.SingleByte();
    return lines;
}

bool IsHeader(const QString& line)
{
    // The header itself, however spaced; a data line that merely mentions
    // "EmpID" in its comment is a data line.
    static const QString header = Unspaced(kHeader);
    return Unspaced(line).compare(header, Qt::CaseInsensitive) == 0;
}

bool ParseDataLine(const CFileLine& line, const QString& fileName, CImportRow& row, QString& reason)
{
    std::array<QStringView, kFieldCount> f;
    int count = 0;
    for (QStringView piece : QStringView(line.text).tokenize(QLatin1Char(','))) {
        if (count < kFieldCount)
            f[count] = piece;
        ++count;
    }
    if (count != kFieldCount) {
        reason = QStringLiteral("Unable to Parse Line #%1 in File %2 Correctly - skipping line "
                                "(%3 fields, %4 expected)")
                     .arg(QString::number(line.number), fileName, QString::number(count),
                          QString::number(kFieldCount));
        // Another program's quoting: a quoted comma or line break shifts the fields.
        if (line.text.contains(QLatin1Char('"')))
            reason += QStringLiteral("; the line holds quoted text, which this file format "
                                     "cannot carry");
        return false;
    }
    // A field that is not what it should be: false with the reason.
    const auto refuse = [&](int field, const char* what) {
        reason = QStringLiteral("Field %1 (%2) on line #%3 is not %4: %5")
                     .arg(QString::number(field + 1), QLatin1String(kFieldNames[field]),
                          QString::number(line.number), QLatin1String(what), Quoted(f[field]));
        return false;
    };
    const auto notANumber = [&](int field) { return refuse(field, "a number"); };
    const auto required = [&](int field, int& value) {
        return ReadInt(f[field], value) || notANumber(field);
    };
    // Empty, or 0 as older files wrote a missing value: none.
    const auto optional = [&](int field, int& value) {
        value = -1;
        if (f[field].trimmed().isEmpty())
            return true;
        if (!ReadInt(f[field], value))
            return notANumber(field);
        if (value == 0)
            value = -1;
        return true;
    };
    const auto number = [&](int field) {
        const QStringView text = f[field].trimmed();
        bool ok = text.isEmpty();
        if (!ok) {
            const double value = text.toDouble(&ok);
            ok = ok && std::isfinite(value);
        }
        return ok || notANumber(field);
    };
    row = CImportRow();
    row.Line = line.number;
    if (!required(fEmpID, row.EmpID) || !required(fProjID, row.ProjID) ||
        !required(fOrderID, row.OrderID) || !number(fHoursWorked) ||
        !required(fTaskID, row.TaskID) || !number(fInvCost) ||
        !optional(fWorkTypeID, row.WorkTypeID) || !required(fTimeID, row.TimeID) ||
        !optional(fObjectTypeID, row.ObjectTypeID) || !optional(fObjectID, row.ObjectID) ||
        !optional(fInvID, row.InvID))
        return false;

    const auto notADate = [&](int field) {
        return refuse(field, "a day/month/year date with a four-digit year");
    };
    QDate startDay;
    QDate stopDay;
    int ignored = 0;
    if (!ReadDate(f[fStartTime], startDay, row.Start))
        return notADate(fStartTime);
    if (!ReadDate(f[fStopTime], stopDay, row.Stop))
        return notADate(fStopTime);
    if (!ReadDate(f[fWorkDate], row.WorkDate, ignored))
        return notADate(fWorkDate);
    // Only the times of day count. The end of the day is stored as 23:59;
    // another program may write midnight of the next day.
    if (row.Stop == kEndOfDay - 1 || (row.Stop == 0 && stopDay == startDay.addDays(1)))
        row.Stop = kEndOfDay;
    if (row.Stop <= row.Start) {
        reason = QStringLiteral("Stop time %1 on line #%2 is not after the start time %3")
                     .arg(f[fStopTime].trimmed().toString(), QString::number(line.number),
                          f[fStartTime].trimmed().toString());
        return false;
    }
    row.Comment = f[fComment].toString();
    return true;
}

QString ErrorFileName(const QString& importFile)
{
    const QFileInfo info(importFile);
    // The first dot of the file's own name: a dotted folder stays whole.
    QString base = info.fileName().section(QLatin1Char('.'), 0, 0);
    if (base.isEmpty())
        base = info.fileName();
    QString name = info.absoluteDir().filePath(base + QStringLiteral(".err"));
    if (QFileInfo(name).absoluteFilePath() == info.absoluteFilePath())
        name += QStringLiteral(".err"); // never the file being imported
    return name;
}

} // namespace TimeSheetFile
