#pragma once

#include "treelist/ImageList.h"
#include "treelist/ListKeyData.h"
#include "treelist/MyPopMenu.h"

#include <QPointer>
#include <QString>
#include <QStringList>

#include <cstdint>

class CSarvexCtrl;
class QPoint;
class QRect;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace Sarvex {

class CViewManager;

// The right pane in list view: a report list showing the list definition of
// one tree key (its columns and stored rows). Definitions are kept by the
// view manager for every key, shown or not; a click on a heading sorts the
// rows shown by that column, the direction alternating.
class CMyListCtrl {
public:
    static constexpr int kWindowId = 202;

    CMyListCtrl(CSarvexCtrl& ctrl, CViewManager& manager);
    ~CMyListCtrl();
    CMyListCtrl(const CMyListCtrl&) = delete;
    CMyListCtrl& operator=(const CMyListCtrl&) = delete;

    void Create(QWidget* parent, const QRect& rect);
    QWidget* Window() const;

    // ---- Definitions -----------------------------------------------------------
    // Makes key's definition when it has none (with parentKey) and appends
    // one column.
    bool AddColumn(std::int32_t key, std::int32_t parentKey, std::int16_t colInfo,
                   std::int16_t orderAsc, const QString& heading, std::int16_t format, int width);
    // Stores the row in slot tagKey of key's definition (cells past the
    // columns are dropped), and with showNow adds it to the window. False
    // without a definition or for a negative tag key.
    bool AddRow(std::int32_t key, std::int32_t tagKey, const QStringList& cells, bool showNow,
                std::int32_t iconId);
    // Fills the window from key's definition; nothing without one.
    void ShowKey(std::int32_t key);
    // New texts for the stored row (and the item showing it): with no rows
    // yet the cells become the row.
    bool ModifyRow(std::int32_t key, std::int32_t tagKey, const QString& csv);
    // The text of a stored cell; "" for a missing row or cell. *rowCount
    // is set when key has a definition.
    QString GetCell(std::int32_t key, std::int32_t* rowCount, std::int32_t row,
                    std::int32_t column) const;
    void DeleteRow(std::int32_t key, std::int32_t tagKey);
    // Drops key's definition; the window empties when it shows key.
    void DropKey(std::int32_t key);
    void DropAll();
    void SetColumnWidth(std::int32_t key, std::int32_t column, std::int32_t width);
    bool SetIcon(const QString& iconFile, const QString& selIconFile, int iconId, int position,
                 int maximum);
    // The tag key of the first row whose first cell is text: the shown
    // key's rows first, then every key's in key order; -1 when none.
    std::int32_t FindTagKey(const QString& text) const;

    // ---- The window ------------------------------------------------------------
    void DeleteAllItems();
    void Show(bool visible);
    int ItemCount() const;

    CMyPopMenu& Menu() { return m_menu; }
    // Index of the selected item at the last click; -1 when none.
    std::int32_t SelectedIndex() const { return m_selIndex; }
    const QString& ClickedText() const { return m_clickedText; }
    std::int32_t ClickedKey() const { return m_clickedKey; }

    // ---- The window's input ----------------------------------------------------
    void OnClick(QPoint pos);
    void OnDblClk(QPoint pos);
    void OnRButtonDown(QPoint pos);
    void OnColumnClick(int column);

private:
    CListKeyData* Definition(std::int32_t key);
    const CListKeyData* Definition(std::int32_t key) const;
    QTreeWidgetItem* NewItem(const QStringList& cells, std::int32_t tagKey,
                             std::int32_t iconId) const;
    void ClearColumns();
    int FirstSelectedIndex() const;
    // The sort mark moves to column, in the direction just sorted.
    void MarkHeading(int column, bool ascending);

    CSarvexCtrl& m_ctrl;
    CViewManager& m_manager;
    CMyPopMenu m_menu{CMyPopMenu::kListBase};
    CImageList m_images;
    bool m_showsKey = false;
    std::int32_t m_shownKey = 0;
    QString m_clickedText;
    std::int32_t m_selIndex = -1;
    std::int32_t m_clickedKey = -1;
    QPointer<QTreeWidget> m_wnd;
};

} // namespace Sarvex
