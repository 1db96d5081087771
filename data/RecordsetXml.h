#pragma once

#include "platform/XsltProcessor.h"

#include <QByteArray>
#include <QList>
#include <QString>

class CMyAdoRecordSet;
class CQueryResult;
class CRowCursor;

// Recordsets as XML, and XML turned into HTML by an XSLT style sheet.
//
// The XML keeps the rowset persistence layout that the program's style
// sheets match on: an <s:Schema> describing each column, then <rs:data>
// with one <z:row> per row and one attribute per non-NULL value. Dates are
// ISO ("2026-12-08T09:00:00"); the text is UTF-8.
//
// Transformations and their stages are CXsltProcessor's.
class CRecordsetXml : public CXsltProcessor {
public:
    struct CTransformResult {
        Stage stage = kDone;
        QString detail; // the parser's or processor's own words
        QByteArray html;
    };

    // Every row of a snapshot not deleted through it, whatever its current
    // row; the current row stays where it is. (A forward-only recordset holds
    // no rows to write: CDBClass::SaveRecordsetAsXml reads it again first.)
    static QByteArray ToXml(const CMyAdoRecordSet& rs);
    // The rows of rowOrder (row numbers of the recordset) in that order; an
    // empty order is every row as read. columnTypes (AdoDataType by column,
    // 0 or missing where the cells tell) types the columns of a recordset
    // without a record class: the file back end holds a single as a double.
    static QByteArray ToXml(const CMyAdoRecordSet& rs, const QList<int>& rowOrder,
                            const QList<int>& columnTypes = {});
    // The rows as <row .../> elements one after another, the form a server
    // function returns when it builds XML from its rows.
    static QString ToRowElements(const CQueryResult& rows);
    // The same from a cursor, read to its end (Failed() tells whether all came).
    static QString ToRowElements(CRowCursor& rows);
    static CTransformResult Transform(const QByteArray& xml, const QByteArray& styleSheet);
};

// Appends the whole text file to `out`; false when it cannot be opened.
bool ReadFileToString(QString& out, const QString& fileName);
