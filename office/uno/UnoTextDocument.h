#pragma once

#include "office/TextDocument.h"

#include <QStringList>

#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextCursor.hpp>
#include <com/sun/star/text/XTextTable.hpp>

// A Writer document written the way Word's selection moves: at the end of
// the body, or at the end of the current cell of the last table added.
class CUnoTextDocument : public ITextDocument {
public:
    explicit CUnoTextDocument(
        const com::sun::star::uno::Reference<com::sun::star::lang::XComponent>& document);
    ~CUnoTextDocument() override;

    void TypeText(const QString& text) override;
    void TypeParagraph() override;
    void SetStyle(const QString& style) override;
    void AddTable(int rows, int columns) override;
    void MoveRightCell() override;
    int RowCount() override;
    void MergeRow(int row) override;
    void SplitRow(int row, int columns) override;
    void ShadeRow(int row, int colorIndex) override;
    void SetRowBold(int row, bool bold) override;
    void SetCellBold(int row, int column, bool bold) override;
    void SaveAs(const QString& path) override;
    void Close() override;

private:
    using TextRef = com::sun::star::uno::Reference<com::sun::star::text::XText>;
    using CursorRef = com::sun::star::uno::Reference<com::sun::star::text::XTextCursor>;

    void CheckOpen() const;
    com::sun::star::text::XTextTable& Table();
    // The text and a cursor at the end of where the insertion point is.
    TextRef CurrentText();
    CursorRef EndOf(const TextRef& text);
    // The cell names of a row (1-based), left to right.
    QStringList RowCells(int row);
    void SetBold(const QString& cell, bool bold);
    bool IsBold(const QString& cell);
    // A row added after the last takes the shading and bold of the row above.
    void FormatLikeRowAbove(int row);

    com::sun::star::uno::Reference<com::sun::star::lang::XComponent> m_document;
    TextRef m_body;
    com::sun::star::uno::Reference<com::sun::star::text::XTextTable> m_table;
    QString m_cell;
};
