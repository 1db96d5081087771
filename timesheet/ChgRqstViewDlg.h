#pragma once

#include "ui/TreeListDlg.h"

#include <QString>

class CDBClass;
class QCheckBox;

// Picks one change request of a project to book time against: by default
// the open requests whose team includes the user (or, without a team, whose
// authority the user is); "show all" lists every request of the project.
class CChgRqstViewDlg : public CTreeListDlg {
    Q_OBJECT
public:
    CChgRqstViewDlg(QWidget* parent, int projId, int currentId, CDBClass* db = nullptr);

    bool OnCommand(int id) override;

    // After OK: the chosen row (0 is the "no change request" row) and its
    // id, reference and item; the id text is empty for the empty row.
    int ChosenRow() const { return m_chosenRow; }
    int ChosenId() const { return m_chosenId; }
    QString ChosenIdText() const { return m_chosenIdText; }
    QString ChosenReference() const { return m_chosenReference; }
    QString ChosenItem() const { return m_chosenItem; }
    bool ShowAll() const { return m_showAll; }

    void OnListRowSelected(int row) override;
    void OnListRowActivated(int row, CMyListCtrl* list) override;
    void OnTreeItemActivated(QTreeWidgetItem*) override {}
    void OnContextMenu(int, int, bool) override {}
    void OnContextMenuClosed() override {}
    void OnListMouseMove(Qt::MouseButtons, int, int) override {}
    void OnTreeMouseMove(Qt::MouseButtons, int, int) override {}
    void OnLeftButtonDown(Qt::MouseButtons, int, int) override {}
    void OnListLeftButtonUp(Qt::MouseButtons, int, int) override {}
    void OnTreeLeftButtonUp(Qt::MouseButtons, int, int) override {}
    void OnListFocus(int) override {}
    void OnKeyDown(int virtualKey, bool fromTree) override;
    void OnFillList() override {}
    QString GetColumnSqlName(int) override { return QString(); }
    int GetColumnDataKind(int) override { return 0; }

protected:
    bool OnInitDialog() override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool Fill();
    void Take(int row);
    void SaveLayout();

    CDBClass* m_db;
    int m_projId;
    int m_currentId;
    bool m_showAll = false;
    int m_chosenRow = -1;
    int m_chosenId = -2;
    QString m_chosenIdText;
    QString m_chosenReference;
    QString m_chosenItem;
    QCheckBox* m_showAllBox = nullptr;
};
