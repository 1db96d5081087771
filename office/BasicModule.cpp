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
    // The end of the declarations or of the procedure before: what a
    // procedure's own lines start after.
    int ownedFrom = 0;
    bool continued = false;
    for (int i = 0; i < m_lines.size(); ++i) {
        const QString& line = m_lines.at(i);
        const bool continuation = continued;
        continued = Continues(line);
        if (continuation)
            continue;
        const QRegularExpressionMatch declared = Declaration().match(line);
        if (!declared.hasMatch()) {
            if (!IsBlankOrComment(line))
                ownedFrom = i + 1;
            continue;
        }
        CProcedure procedure;
        procedure.name = declared.captured(1);
        procedure.firstLine = ownedFrom;
        procedure.declarationLine = i;
        procedure.lastLine = static_cast<int>(m_lines.size()) - 1;
        // The body: up to the End line, skipping continued lines.
        continued = Continues(line);
        for (int j = i + 1; j < m_lines.size(); ++j) {
            const bool inContinuation = continued;
            continued = Continues(m_lines.at(j));
            if (!inContinuation && EndLine().match(m_lines.at(j)).hasMatch()) {
                procedure.lastLine = j;
                break;
            }
        }
        m_procedures.append(procedure);
        i = procedure.lastLine;
        ownedFrom = i + 1;
        continued = false;
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
