#include "review/SearchQuery.h"

#include "data/AdoTypes.h"
#include "data/BindingSet.h"
#include "data/DBClass.h"
#include "review/SearchKind.h"
#include "ui/TypedDate.h"
#include "ui/TypedNumber.h"

#include <QStringList>

#include <cmath>

namespace {

bool IsNumberType(int type)
{
    switch (type) {
    case adSmallInt:
    case adInteger:
    case adSingle:
    case adDouble:
    case adCurrency:
        return true;
    default:
        return false;
    }
}

// The number as SQL writes it; false with the reason when the text is no
// number. A single is written as the value it is stored as, so that = finds it.
bool ParseNumber(const QString& text, int type, QString& sql, QString& message)
{
    const CTypedNumber typed(text);
    if (!typed.IsValid()) {
        message = typed.Message();
        return false;
    }
    double value = typed.Value();
    // Whole numbers that a double holds exactly are written without a point.
    if (typed.IsWhole() && std::abs(value) < 9007199254740992.0) {
        sql = QString::number(static_cast<qint64>(value));
        return true;
    }
    if (type == adSingle && std::isfinite(static_cast<float>(value)))
        value = static_cast<float>(value);
    sql = QString::number(value, 'g', 17);
    return true;
}

// Priorities are stored 1 high, 2 medium, 3 low; a word that is none of
// these is read by its letters, the last rule that fits winning.
QString PriorityNumber(const QString& text)
{
    const QString word = text.trimmed().toLower();
    if (word == QLatin1String("high"))
        return QStringLiteral("1");
    if (word == QLatin1String("medium"))
        return QStringLiteral("2");
    if (word == QLatin1String("low"))
        return QStringLiteral("3");
    QString number = QStringLiteral("2");
    if (word.contains(QLatin1Char('l')) || word.contains(QLatin1Char('w')))
        number = QStringLiteral("3");
    if (word.contains(QLatin1Char('m')) || word.contains(QLatin1Char('d')))
        number = QStringLiteral("2");
    if (word.contains(QLatin1Char('h')))
        number = QStringLiteral("1");
    return number;
}

bool ParseBool(const QString& text, bool& value)
{
    const QString word = text.trimmed().toLower();
    for (const char* yes : {"yes", "true", "1", "-1", "on", "y"})
        if (word == QLatin1String(yes)) {
            value = true;
            return true;
        }
    for (const char* no : {"no", "false", "0", "off", "n"})
        if (word == QLatin1String(no)) {
            value = false;
            return true;
        }
    return false;
}

} // namespace

CSearchQuery::CSearchQuery(int kind, CDBClass* db)
    : m_kind(kind)
    , m_db(db)
{
    const CSearchKind* known = FindSearchKind(kind);
    if (!known || !db)
        return;
    const std::unique_ptr<CBindingSet> set = CreateSearchListSet(kind, db->Connection());
    m_base = set->Source();
    m_columnCount = known->columns;
    QStringList names;
    for (int c = 0; c < known->columns && c < set->BoundColumnCount(); ++c) {
        const CColumnDescriptor& d = set->Descriptor(c);
        if (d.caption.isEmpty() || d.name.isEmpty())
            continue;
        m_fields << CField{d.name, d.caption, SearchColumnType(kind, d), d.translation};
        // Named alike on both back ends, so style sheets match either's XML.
        names << db->Dialect().SelectColumn(d.name);
    }
    // A blank after each comma lets a message box wrap the list.
    m_fieldList = names.join(QStringLiteral(", "));
    if (!m_fields.isEmpty())
        m_orderField = m_fields.first().name;
}

void CSearchQuery::SetRowLimit(bool on, int rows)
{
    m_rowLimit = on && rows > 0 ? rows : 0;
    m_top = m_rowLimit > 0 ? QStringLiteral("TOP %1").arg(rows) : QString();
}

QString CSearchQuery::JoinMessage()
{
    return QStringLiteral(
        "With more than one filter section you must have a joining phrase and/or");
}

QString CSearchQuery::OperatorMessage()
{
    return QStringLiteral("A filter string must contain a equation operator - >,<>, >, =, LIKE");
}

QString CSearchQuery::NormalOperator(const QString& equate)
{
    const QString op = equate.simplified().toUpper();
    if (op == QLatin1String("!="))
        return QStringLiteral("<>");
    for (const char* known : {"=", "<", ">", "<>", "<=", ">=", "LIKE", "NOT LIKE"})
        if (op == QLatin1String(known))
            return op;
    return QString();
}

CSearchQuery::AddResult CSearchQuery::AddSection(int field, const QString& equate,
                                                 const QString& value, const QString& join,
                                                 QString& message)
{
    const bool first = m_filter.trimmed().isEmpty();
    const QString joinWord = join.trimmed().toLower();
    if (!first && joinWord != QLatin1String("and") && joinWord != QLatin1String("or")) {
        message = JoinMessage();
        return AddResult::Refused;
    }
    if (field < 0 || field >= m_fields.size())
        return AddResult::NoField;
    QString condition;
    if (!Condition(m_fields.at(field), equate, value, condition, message))
        return AddResult::Refused;
    // The join goes between sections only.
    if (first)
        m_filter = QLatin1Char(' ') + condition;
    else
        m_filter += QLatin1Char(' ') + joinWord + QLatin1Char(' ') + condition;
    return AddResult::Added;
}

bool CSearchQuery::Condition(const CField& field, const QString& equate, const QString& value,
                             QString& condition, QString& message) const
{
    const QString op = NormalOperator(equate);
    if (op.isEmpty()) {
        message = OperatorMessage();
        return false;
    }
    const CSqlDialect& dialect = m_db->Dialect();
    const bool like = op.endsWith(QLatin1String("LIKE"));
    if (IsTextType(field.type)) {
        condition = dialect.TextCondition(field.name, op, value, true);
        return true;
    }
    if (IsNumberType(field.type))
        return NumberText(field, op, value, condition, message);
    if (like) {
        condition = dialect.TextCondition(field.name, op, value, false);
        return true;
    }
    if (field.type == adDate) {
        const CTypedDate date(value);
        if (!date.IsValid()) {
            message = date.Message();
            return false;
        }
        condition = QStringLiteral("%1 %2 %3")
                        .arg(field.name, op, dialect.DateLiteral(date.Value(), date.HasTime()));
        return true;
    }
    if (field.type == adBoolean) {
        bool flag = false;
        if (!ParseBool(value, flag)) {
            message = QStringLiteral("%1 is neither yes nor no").arg(value.trimmed());
            return false;
        }
        condition = QStringLiteral("%1 %2 %3")
                        .arg(field.name, op, flag ? QLatin1String("True") : QLatin1String("False"));
        return true;
    }
    condition = dialect.TextCondition(field.name, op, value, false);
    return true;
}

bool CSearchQuery::NumberText(const CField& field, const QString& op, const QString& value,
                              QString& condition, QString& message) const
{
    QString number;
    QString notNumber;
    const bool numeric = ParseNumber(value, field.type, number, notNumber);
    if (!numeric && field.translation == 2)
        return TaskCondition(field, op, value, condition, message);
    QString text = value.trimmed();
    if (!numeric && field.translation == 1)
        text = number = PriorityNumber(text);
    if (op.endsWith(QLatin1String("LIKE"))) {
        // The number's text, the same on both back ends.
        const CSqlDialect& dialect = m_db->Dialect();
        condition =
            dialect.TextCondition(dialect.NumberText(field.name, field.type), op, text, true);
        return true;
    }
    if (number.isEmpty()) {
        message = notNumber;
        return false;
    }
    condition = QStringLiteral("%1 %2 %3").arg(field.name, op, number);
    return true;
}

bool CSearchQuery::TaskCondition(const CField& field, const QString& op, const QString& value,
                                 QString& condition, QString& message) const
{
    // Task ids are found by name; names repeat across projects.
    if (op != QLatin1String("=") && op != QLatin1String("<>")) {
        message = QStringLiteral("A task is found by its name with = or <>");
        return false;
    }
    if (m_db->Tasks().isEmpty())
        m_db->LoadTasks();
    QStringList ids;
    for (const CTaskEntry& task : m_db->Tasks())
        if (task.Task.compare(value.trimmed(), Qt::CaseInsensitive) == 0)
            ids << QString::number(task.TaskID);
    if (ids.isEmpty()) {
        message = QStringLiteral("There is no task named %1").arg(value.trimmed());
        return false;
    }
    condition = QStringLiteral("%1 %2 (%3)")
                    .arg(field.name,
                         op == QLatin1String("=") ? QLatin1String("IN") : QLatin1String("NOT IN"),
                         ids.join(QStringLiteral(", ")));
    return true;
}

QString CSearchQuery::ShowQueryText() const
{
    return Text(m_fieldList);
}

QString CSearchQuery::SearchText() const
{
    QString fields = m_fieldList.trimmed();
    if (fields.endsWith(QLatin1Char(',')))
        fields.chop(1);
    return Text(fields.isEmpty() ? QStringLiteral("*") : fields);
}

QString CSearchQuery::Text(const QString& fields) const
{
    QString text = QStringLiteral("Select %1 %2 from %3").arg(m_top, fields, m_base);
    // A filter the user typed may not start with a blank.
    if (!m_filter.trimmed().isEmpty())
        text += QStringLiteral(" where ") + m_filter.trimmed();
    if (!m_orderField.isEmpty())
        text += QStringLiteral(" order by %1 DESC").arg(m_orderField);
    return text;
}
