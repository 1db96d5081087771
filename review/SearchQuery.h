#pragma once

#include <QList>
#include <QString>

class CDBClass;

// The SELECT a search runs, built section by section: the kind's base query
// and its captioned columns, a filter of conditions joined by "and" / "or",
// an optional row limit, newest first by the first column. The filter is
// SQL the user sees and may edit; the values typed for a section become
// literals of the back end (quoted, dates and numbers checked), never text
// pasted into the statement, and text compares ignoring case.
class CSearchQuery {
public:
    struct CField {
        QString name;
        QString caption;
        int type = 0;        // AdoDataType
        int translation = 0; // 0 as typed, 1 priority, 2 task
    };
    enum class AddResult {
        Added,
        NoField, // nothing chosen: nothing to add, and no fault
        Refused, // message says why
    };

    CSearchQuery(int kind, CDBClass* db);

    int Kind() const { return m_kind; }
    bool IsKnownKind() const { return !m_base.isEmpty(); }
    // The number of column descriptors the kind scans (21, 16, 16, 18).
    int ColumnCount() const { return m_columnCount; }
    const QList<CField>& Fields() const { return m_fields; }
    const QString& BaseName() const { return m_base; }
    const QString& FieldList() const { return m_fieldList; }
    const QString& OrderField() const { return m_orderField; }

    const QString& Filter() const { return m_filter; }
    void SetFilter(const QString& filter) { m_filter = filter; }
    // "TOP n" when on and n is above 0; the back end's dialect turns it
    // into its own form.
    void SetRowLimit(bool on, int rows);
    const QString& TopText() const { return m_top; }
    // The rows a search keeps at most; 0 for no limit.
    int RowLimit() const { return m_rowLimit; }

    // Appends one condition on Fields()[field] (-1: none chosen), after the
    // join when the filter holds one already.
    AddResult AddSection(int field, const QString& equate, const QString& value,
                         const QString& join, QString& message);
    // The condition alone; false with the reason when the value does not fit.
    bool Condition(const CField& field, const QString& equate, const QString& value,
                   QString& condition, QString& message) const;

    // What "Show query" shows, and what a search runs.
    QString ShowQueryText() const;
    QString SearchText() const;

    // The operator as written into SQL ("=", "<>", "LIKE", ...); "" for one
    // that is none of them.
    static QString NormalOperator(const QString& equate);

    static QString JoinMessage();
    static QString OperatorMessage();

private:
    QString Text(const QString& fields) const;
    bool NumberText(const CField& field, const QString& op, const QString& value,
                    QString& condition, QString& message) const;
    bool TaskCondition(const CField& field, const QString& op, const QString& value,
                       QString& condition, QString& message) const;

    int m_kind;
    CDBClass* m_db;
    int m_columnCount = 0;
    QList<CField> m_fields;
    QString m_base;
    QString m_fieldList;
    QString m_orderField;
    QString m_filter;
    QString m_top;
    int m_rowLimit = 0;
};
