#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// Stored office files read back the way another program would read them:
// the zip container and the XML inside, without the office.

// The entries of a zip file (stored or deflated).
class CZipArchive {
public:
    explicit CZipArchive(const QString& path);
    bool IsValid() const { return m_valid; }
    QStringList Names() const { return m_entries.keys(); }
    // The entry's bytes; empty when missing or damaged.
    QByteArray Entry(const QString& name) const;

private:
    struct CEntry {
        quint16 method = 0;
        quint32 compressedSize = 0;
        quint32 size = 0;
        quint32 localHeader = 0;
    };
    QByteArray m_data;
    QMap<QString, CEntry> m_entries;
    bool m_valid = false;
};

// The first worksheet of a stored .xlsx workbook.
class CXlsxSheet {
public:
    struct CCell {
        QString text; // the text shown for a text, the stored number otherwise
        bool number = false;
        bool date = false; // a number in a date format
        bool bold = false;
        bool underline = false;
        double size = 0;
        QString fontColor; // "RRGGBB", empty for automatic
        QString fillColor; // "RRGGBB", empty for none
    };

    explicit CXlsxSheet(const QString& path);
    bool IsValid() const { return m_valid; }
    // A cell by its A1 name; an empty cell when it holds nothing.
    CCell Cell(const QString& name) const;
    QString Text(const QString& name) const { return Cell(name).text; }
    // The names of the cells holding a value.
    QStringList FilledCells() const;
    // The stored width of a column (0-based) in characters; 0 when default.
    double ColumnWidth(int column) const;
    // The highest row (1-based) holding a value.
    int LastRow() const;

private:
    QHash<QString, CCell> m_cells;
    QMap<int, double> m_widths;
    bool m_valid = false;
};

// The body of a stored .docx document: paragraphs and tables in order.
class CDocxBody {
public:
    struct CCell {
        QString text;      // paragraphs joined by '\n'
        int span = 1;      // columns the cell spans
        QString fill;      // "RRGGBB", empty for none
        bool bold = false; // every run with text is bold
    };
    struct CBlock {
        bool table = false;
        QString style; // paragraph style id ("Heading1")
        QString text;
        QList<QList<CCell>> rows;
    };

    explicit CDocxBody(const QString& path);
    bool IsValid() const { return m_valid; }
    const QList<CBlock>& Blocks() const { return m_blocks; }
    // The first table; empty when none.
    QList<QList<CCell>> FirstTable() const;
    // The text of every paragraph of the body with its style, as "style: text".
    QStringList Paragraphs() const;

private:
    QList<CBlock> m_blocks;
    bool m_valid = false;
};
