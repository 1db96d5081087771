#include "office/CellAddress.h"

namespace {

// The last column and row an .xlsx sheet holds.
constexpr int kMaxColumns = 16384;
constexpr int kMaxRows = 1048576;

// One "$C$2"-style cell: its column and row, or false.
bool ParseCell(const QString& text, int& column, int& row)
{
    int i = 0;
    if (i < text.size() && text.at(i) == QLatin1Char('$'))
        ++i;
    const int letters = i;
    while (i < text.size() && text.at(i).isLetter() && text.at(i).unicode() < 128)
        ++i;
    column = ColumnIndex(text.mid(letters, i - letters));
    if (i < text.size() && text.at(i) == QLatin1Char('$'))
        ++i;
    if (column < 0 || i >= text.size())
        return false;
    qint64 number = 0;
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
        number = number * 10 + (c.unicode() - '0');
        if (number > kMaxRows)
            return false;
    }
    if (number < 1)
        return false;
    row = static_cast<int>(number - 1);
    return true;
}

} // namespace

QString ColumnName(int column)
{
    QString name;
    for (int c = column; c >= 0; c = c / 26 - 1)
        name.prepend(QLatin1Char(static_cast<char>('A' + c % 26)));
    return name;
}

int ColumnIndex(const QString& name)
{
    if (name.isEmpty() || name.size() > 3)
        return -1;
    int index = 0;
    for (const QChar c : name) {
        const char letter = c.toUpper().toLatin1();
        if (letter < 'A' || letter > 'Z')
            return -1;
        index = index * 26 + (letter - 'A' + 1);
    }
    return index <= kMaxColumns ? index - 1 : -1;
}

QString CellName(int column, int row)
{
    return ColumnName(column) + QString::number(row + 1);
}

CCellRange CCellRange::Parse(const QString& text)
{
    const QString trimmed = text.trimmed();
    const qsizetype colon = trimmed.indexOf(QLatin1Char(':'));
    int c1 = 0;
    int r1 = 0;
    if (!ParseCell(colon < 0 ? trimmed : trimmed.left(colon), c1, r1))
        return {};
    int c2 = c1;
    int r2 = r1;
    if (colon >= 0 && !ParseCell(trimmed.mid(colon + 1), c2, r2))
        return {};
    CCellRange range;
    range.column = qMin(c1, c2);
    range.row = qMin(r1, r2);
    range.columns = qAbs(c2 - c1) + 1;
    range.rows = qAbs(r2 - r1) + 1;
    return range;
}

CCellRange CCellRange::Resized(int newRows, int newColumns) const
{
    CCellRange range = *this;
    range.rows = newRows;
    range.columns = newColumns;
    if (newRows < 1 || newColumns < 1 || row + qint64(newRows) > kMaxRows ||
        column + qint64(newColumns) > kMaxColumns)
        range.columns = range.rows = 0;
    return range;
}

QString CCellRange::Name() const
{
    if (!IsValid())
        return QString();
    const QString first = CellName(column, row);
    return columns == 1 && rows == 1 ? first
                                     : first + QLatin1Char(':') + CellName(LastColumn(), LastRow());
}
