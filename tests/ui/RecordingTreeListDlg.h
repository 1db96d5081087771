#pragma once

#include "ui/MyColorBut.h"
#include "ui/MyListCtrl.h"
#include "ui/MyTreeCtrl.h"
#include "ui/ResourceIds.h"
#include "ui/TreeListDlg.h"

#include <QStringList>
#include <QTreeWidgetItem>

// A tree/list window that writes down each operation its controls call, by
// the operation's number, and lays the tree and the list out on showing.
class CRecordingTreeListDlg : public CTreeListDlg {
public:
    explicit CRecordingTreeListDlg(const QStringList& titles = {"Name", "Count", "When"})
        : CTreeListDlg(160)
    {
        resize(600, 300);
        const QRect area(0, 0, 600, 300);
        Tree()->CreateTree(IDC_TREE, QRect(0, 0, 150, 300), this);
        List()->CreateList(QRect(154, 0, 446, 300), this, titles);
        LayoutTreeAndList(area, 150);
    }

    QStringList log;
    // Mouse moves are many; they are written only when asked.
    bool logMoves = false;

    void OnListRowSelected(int row) override { Write(QStringLiteral("1 %1").arg(row)); }
    void OnListRowActivated(int row, CMyListCtrl* list) override
    {
        Write(QStringLiteral("2 %1 %2").arg(row).arg(list == List() ? "list" : "?"));
    }
    void OnTreeItemActivated(QTreeWidgetItem* item) override
    {
        Write(QStringLiteral("3 %1").arg(item ? item->text(0) : QStringLiteral("none")));
    }
    void OnSplitterMoved(int phase, int x, int) override
    {
        Write(QStringLiteral("4 %1 %2").arg(phase).arg(x));
    }
    void OnContextMenu(int, int, bool fromList) override
    {
        Write(QStringLiteral("5 %1").arg(fromList ? "list" : "tree"));
    }
    void OnContextMenuClosed() override { Write(QStringLiteral("6")); }
    void OnListMouseMove(Qt::MouseButtons, int, int) override
    {
        if (logMoves)
            Write(QStringLiteral("7"));
    }
    void OnTreeMouseMove(Qt::MouseButtons, int, int) override
    {
        if (logMoves)
            Write(QStringLiteral("8"));
    }
    void OnLeftButtonDown(Qt::MouseButtons, int, int) override { Write(QStringLiteral("9")); }
    void OnListLeftButtonUp(Qt::MouseButtons, int, int) override { Write(QStringLiteral("10")); }
    void OnTreeLeftButtonUp(Qt::MouseButtons, int, int) override { Write(QStringLiteral("11")); }
    void OnListFocus(int row) override { Write(QStringLiteral("12 %1").arg(row)); }
    void OnKeyDown(int virtualKey, bool fromTree) override
    {
        Write(QStringLiteral("13 %1 %2").arg(virtualKey).arg(fromTree ? "tree" : "list"));
    }
    void OnFillList() override { Write(QStringLiteral("14")); }
    QString GetColumnSqlName(int column) override { return QStringLiteral("[c%1]").arg(column); }
    int GetColumnDataKind(int) override { return kColumnText; }

    // Makes a later test step start with an empty log.
    void Forget() { log.clear(); }

    // The tree/list base lays out with these; the tests check them.
    QRect TreeRect() const { return m_treeRect; }

private:
    void Write(const QString& entry) { log << entry; }
};
