#pragma once

#include "data/BindingSet.h"
#include "tests/support/TestDatabases.h"

#include <array>

// A table with one column of every buffer type, and a record class over it.
inline QString SampleTableSql(bool postgres)
{
    if (postgres)
        return QStringLiteral(
            "CREATE TABLE tblsample (sampleid SERIAL PRIMARY KEY, name VARCHAR(50), note TEXT, "
            "amount REAL, total DOUBLE PRECISION, cost NUMERIC(19,4), workdate TIMESTAMP, "
            "isdone SMALLINT, small SMALLINT, count BIGINT, blob BYTEA, spare INTEGER DEFAULT 0)");
    return QStringLiteral(
        "CREATE TABLE tblSample (SampleID INTEGER PRIMARY KEY AUTOINCREMENT, Name VARCHAR(50), "
        "Note TEXT, Amount REAL, Total DOUBLE, Cost NUMERIC, WorkDate TEXT, IsDone INTEGER, "
        "Small INTEGER, Count INTEGER, Blob BLOB, Spare INTEGER DEFAULT 0)");
}

inline constexpr std::array<CColumnDef, 12> kSampleColumns = {{
    Col("SampleID", adInteger),
    Text("Name", 20),
    Text("Note", 20000),
    Col("Amount", adSingle, ReadRule::NullZero),
    Col("Total", adDouble, ReadRule::NullOne),
    Col("Cost", adCurrency),
    Col("WorkDate", adDate, ReadRule::NullDateZero),
    Col("IsDone", adBoolean),
    Col("Small", adSmallInt),
    Col("Count", adInteger, ReadRule::NullMinusOne),
    Col("Blob", adLongVarBinary),
    Unbound("Spare", adInteger),
}};

class CSampleSet : public CBindingSet {
public:
    explicit CSampleSet(CDBConnection* connection,
                        const QString& source = QStringLiteral("tblSample"))
        : CBindingSet(connection, kSampleColumns, 12, 1, source)
    {
        BindBuffers(m_SampleID, m_Name, m_Note, m_Amount, m_Total, m_Cost, m_WorkDate, m_IsDone,
                    m_Small, m_Count, m_Blob);
    }

    int m_SampleID = 0;
    QString m_Name;
    QString m_Note;
    float m_Amount = 0;
    double m_Total = 0;
    double m_Cost = 0;
    CDateTime m_WorkDate;
    bool m_IsDone = false;
    int m_Small = 0;
    int m_Count = 0;
    QByteArray m_Blob;
};

// A link table without a key: rows are found by their values.
inline QString LinkTableSql()
{
    return QStringLiteral("CREATE TABLE tblLink (A INTEGER, B INTEGER, Label VARCHAR(10))");
}

inline constexpr std::array<CColumnDef, 3> kLinkColumns = {{
    Col("A", adInteger),
    Col("B", adInteger),
    Text("Label", 10),
}};

class CLinkSet : public CBindingSet {
public:
    explicit CLinkSet(CDBConnection* connection)
        : CBindingSet(connection, kLinkColumns, 3, 0, QStringLiteral("[tblLink]"))
    {
        BindBuffers(m_A, m_B, m_Label);
    }

    int m_A = 0;
    int m_B = 0;
    QString m_Label;
};
