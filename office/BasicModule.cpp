#include "office/BasicModule.h"

#include <QRegularExpression>

namespace {

const QRegularExpression& Declaration()
{
    static const QRegularExpression re(
        QStringLiteral("^\\s*(?:(?:Public|Private|Friend|Static)\\s+)*"
                       "(?:Sub|Function|Property\\s+(?:Get|Let|Set))\\s+([A-Za-z_]\\w*)"),
        QRegularExpression::CaseInsensitiveOption);
    return re;
}

const QRegularExpression& EndLine()
{
    static const QRegularExpression re(QStringLiteral("^\\s*End\\s+(?:Sub|Function|Property)\\b"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re;
}

bool IsBlankOrComment(const QString& line)
{
    const QString text = line.trimmed();
    if (text.isEmpty() || text.startsWith(QLatin1Char('\'')))
        return true;
    // The office marks a module's kind in a Rem line at its top; that line
    // belongs to the module, never to the procedure below it.
    if (text.startsWith(QLatin1String("Rem Attribute"), Qt::CaseInsensitive))
        return false;
    return text.compare(QLatin1String("Rem"), Qt::CaseInsensitive) == 0 ||
           text.startsWith(QLatin1String("Rem "), Qt::CaseInsensitive) ||
           text.startsWith(QLatin1String("Rem\t"), Qt::CaseInsensitive);
}

// A line that goes on in the next one (" _" at its end).
bool Continues(const QString& line)
{
    const QString text = line.trimmed();
    return text == QLatin1String("_") || text.endsWith(QLatin1String(" _")) ||
           text.endsWith(QLatin1String("\t_"));
}

} // namespace

CBasicModule::CBasicModule(const QString& code)
    : m_lines(code.split(QLatin1Char('\n')))
{
    const int count = static_cast<int>(m_lines.size());
    // The last physical line of the logical line that begins at `first`:
    // a line ending in " _" goes on in the next, in code and in comments.
    const auto logicalEnd = [this, count](int first) {
        int last = first;
        while (last + 1 < count && Continues(m_lines.at(last)))
            ++last;
        return last;
    };
    // The end of the declarations or of the procedure before: what a
    // procedure's own lines start after.
    int ownedFrom = 0;
    for (int i = 0; i < count; i = logicalEnd(i) + 1) {
        const QString& line = m_lines.at(i);
        const QRegularExpressionMatch declared = Declaration().match(line);
        if (!declared.hasMatch()) {
            // A declaration or statement, whole: its continued lines too.
            if (!IsBlankOrComment(line))
                ownedFrom = logicalEnd(i) + 1;
            continue;
        }
        CProcedure procedure;
        procedure.name = declared.captured(1);
        procedure.firstLine = ownedFrom;
        procedure.declarationLine = i;
        procedure.lastLine = count - 1;
        // The body: up to the End line that begins a logical line.
        for (int j = logicalEnd(i) + 1; j < count; j = logicalEnd(j) + 1) {
            if (EndLine().match(m_lines.at(j)).hasMatch()) {
                procedure.lastLine = logicalEnd(j);
                break;
            }
        }
        m_procedures.append(procedure);
        ownedFrom = procedure.lastLine + 1;
        // The loop goes on after the procedure's last line.
        i = procedure.lastLine;
    }
}

QStringList CBasicModule::ProcedureNames() const
{
    QStringList names;
    for (const CProcedure& procedure : m_procedures)
        names << procedure.name;
    return names;
}

bool CBasicModule::HasProcedure(const QString& name) const
{
    return ProcedureNames().contains(name, Qt::CaseInsensitive);
}

QString CBasicModule::WithoutProceduresExcept(const QStringList& keep) const
{
    QList<bool> dropped(m_lines.size(), false);
    for (const CProcedure& procedure : m_procedures) {
        if (keep.contains(procedure.name, Qt::CaseInsensitive))
            continue;
        for (int i = procedure.firstLine; i <= procedure.lastLine; ++i)
            dropped[i] = true;
    }
    QStringList lines;
    for (int i = 0; i < m_lines.size(); ++i)
        if (!dropped.at(i))
            lines << m_lines.at(i);
    return lines.join(QLatin1Char('\n'));
}
