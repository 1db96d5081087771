#pragma once

#include "app/HubWindow.h"
#include "ui/TreeListDlg.h"

#include <QList>
#include <QString>

class CDummyDlg;
class QComboBox;
class QLabel;
class QMenu;
struct CMenuEntry;

// The base of the project-record windows (comments, change requests): a
// tree on the left and a list on the right over one area the splitter bar
// divides, the main menu with the hub's windows, the keys to list and tree,
// and the list's column layout kept in the profile.
class CRecordListDlg : public CTreeListDlg, public IHubWindow {
    Q_OBJECT
public:
    enum : int {
        kCmdSaveLayout = 12845,
        kCmdDefaultLayout = 12846,
        kCmdRefresh = 12880,
        kCmdFocusList = 12886,
        kCmdFocusTree = 12887,
    };

    // One column of a window's list: its title, default width, value kind
    // (ListColumnKind) and alignment.
    struct CListColumn {
        QString title;
        int width = 100;
        int kind = 0;
        bool right = false;
    };

    CRecordListDlg(int templateId, CDummyDlg* hub, QWidget* parent = nullptr);

    // The main menu's other windows go to the hub; the keys' commands and
    // "&Close" are handled here.
    bool OnCommand(int id) override;

    // ---- IHubWindow --------------------------------------------------------------------
    QWidget* Widget() override { return this; }
    void CloseWindow(int flag) override;

    // ---- The tree/list operations the windows leave alone ---------------------------------
    void OnSplitterMoved(int phase, int x, int y) override;
    void OnListMouseMove(Qt::MouseButtons, int, int) override {}
    void OnTreeMouseMove(Qt::MouseButtons, int, int) override {}
    void OnLeftButtonDown(Qt::MouseButtons, int, int) override {}
    // The bar takes the mouse while it is dragged: its own release ends a drag.
    void OnListLeftButtonUp(Qt::MouseButtons, int, int) override {}
    void OnTreeLeftButtonUp(Qt::MouseButtons, int, int) override {}

protected:
    // The area for tree, bar and list, placed by hand so that the bar can
    // move the edge between them; the window puts it in its layout.
    QWidget* MakeArea(int splitterId);
    void LayoutArea();
    QWidget* Area() const { return m_area; }
    // While the area lays out tree and list.
    bool IsSizing() const { return m_sizing; }
    bool eventFilter(QObject* watched, QEvent* event) override;

    // "&Menu" with the hub's windows, Help and "&Close", then the window's
    // own popups, then "&Search" (its command).
    void BuildMainMenu(const QList<CMenuEntry>& popups, int searchCommand);
    QMenu* MainMenu() const { return m_mainMenu; }

    // Creates the list's columns in the order of the layout stored under
    // the key; the column index in the window's table of each list column.
    QList<int> CreateListColumns(const QString& layoutKey, const QList<CListColumn>& columns);
    // "Save &List Layout" and "Set List to &Default Layout": the layout
    // stored, then the list made again (RebuildList).
    void SaveListLayout(const QString& layoutKey, int columns);
    void ResetListLayout(const QString& layoutKey, int columns);
    virtual void RebuildList() = 0;

    void OnOK() override;
    void OnCancel() override;

    static QComboBox* MakeCombo(QWidget* parent, int id);
    static QLabel* MakeLabel(const QString& text, QWidget* buddy, QWidget* parent);

    CDummyDlg* m_hub;

private:
    QWidget* m_area = nullptr;
    QMenu* m_mainMenu = nullptr;
    int m_treeWidth = 180;
    bool m_sizing = false;
};
