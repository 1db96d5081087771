#pragma once

#include "app/HubWindow.h"
#include "ui/AcceleratorTable.h"
#include "ui/KeyFilter.h"
#include "ui/TreeListDlg.h"

#include <QStringList>

class CDBClass;
class CDummyDlg;
class QLabel;
class QMenu;

// The built-in address book: the companies in a tree (under one root, or
// grouped by business type), the contact persons of the chosen company in a
// report list, and the company's address above them. Companies, persons and
// business types are added, changed and deleted from here; a person can be
// mailed, a company's web page and comments opened.
class CContactDlg : public CTreeListDlg, public IHubWindow, public IKeyPreTranslator {
    Q_OBJECT
public:
    enum : int {
        IDD = 160,
        kIdAddressComment = 1010,
        kIdCompanyText = 1084,
        kIdSplitterBar = 12843,
        // Commands of the window's menus, popups and keys.
        kCmdMailPerson = 12790,
        kCmdEditCompany = 12805,
        kCmdBrowseWeb = 12806,
        kCmdTreeAddCompany = 12807,
        kCmdDeleteCompany = 12810,
        kCmdAddCompany = 12832,
        kCmdRefresh = 12833,
        kCmdSearch = 12840,
        kCmdSaveLayout = 12845,
        kCmdDefaultLayout = 12846,
        kCmdEditPerson = 12849,
        kCmdDeletePerson = 12850,
        kCmdAddPerson = 12851,
        kCmdFocusList = 12886,
        kCmdFocusTree = 12887,
        kCmdArrange = 12908,
        kCmdManageTypes = 12909,
        kCmdCompanyComments = 57709,
        kCmdTreeFocus = 57712,
    };
    // The person list's columns, by key; a stored layout may show them in
    // another order.
    enum Column : int {
        kColId,
        kColFirstName,
        kColLastName,
        kColPhone,
        kColMobile,
        kColEmail,
        kColFax,
        kColumnCount,
    };

    CContactDlg(CDummyDlg* hub, CDBClass& db, QWidget* parent = nullptr);
    ~CContactDlg() override;

    bool OnCommand(int id) override;

    // ---- IHubWindow ----------------------------------------------------------------
    QWidget* Widget() override { return this; }
    void CloseWindow(int flag) override;

    // Chooses the tree item of that text (the root for none), shows it at
    // the top and gives the tree the focus.
    void OnSetSelect(const QString& name);
    // The same for the first item of a company.
    void SelectCompany(int companyId);

    // ---- What the window shows ---------------------------------------------------------
    // The chosen company (-1 for none) with its name and texts.
    int CompanyId() const { return m_companyId; }
    const QString& CompanyName() const { return m_companyName; }
    QString CompanyText() const;
    QString AddressComment() const;
    bool ArrangedByType() const { return m_arranged; }
    // The list column that shows a column key.
    int ColumnOfKey(int key) const { return static_cast<int>(m_columnKeys.indexOf(key)); }
    QString Cell(int row, int key) const;
    // The ORDER BY of the person list: the sort column's, or by last name.
    QString PersonOrder() const;

    // ---- The tree's and the list's operations ------------------------------------------
    void OnListRowSelected(int row) override;
    void OnListRowActivated(int row, CMyListCtrl* list) override;
    void OnTreeItemActivated(QTreeWidgetItem* item) override;
    void OnSplitterMoved(int phase, int x, int y) override;
    void OnContextMenu(int x, int y, bool fromList) override;
    void OnContextMenuClosed() override;
    void OnListMouseMove(Qt::MouseButtons, int, int) override {}
    void OnTreeMouseMove(Qt::MouseButtons, int, int) override {}
    void OnLeftButtonDown(Qt::MouseButtons, int, int) override {}
    void OnListLeftButtonUp(Qt::MouseButtons, int, int) override {}
    void OnTreeLeftButtonUp(Qt::MouseButtons, int, int) override {}
    void OnListFocus(int) override {}
    void OnKeyDown(int virtualKey, bool fromTree) override;
    void OnFillList() override {}
    QString GetColumnSqlName(int column) override;
    int GetColumnDataKind(int column) override;

    // ---- Keys: the window's own accelerators go first -----------------------------------
    bool PreTranslateKey(QKeyEvent& event) override;
    bool TakesKey(const QKeyEvent& event) const override;

protected:
    bool OnInitDialog() override;
    // Enter closes without keeping placement and arrangement; Esc and the
    // close box keep them.
    void OnOK() override;
    void OnCancel() override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildControls();
    void BuildMenus();
    void Layout();
    void CreatePersonList();
    void FillTree();
    void FillTreePlain();
    void FillTreeByType();
    void FillPersonList();
    void ClearPersonList();
    void ClearCompany(const QString& name);
    void OnTreeSelChanged(QTreeWidgetItem* item);
    void SelectItem(QTreeWidgetItem* item);
    // The tree's current item when it is a company; its id, else -1.
    int CurrentCompanyId() const;
    void Refresh();
    void ReadAgain() override;

    // ContactDlgCommands.cpp
    void AddCompany();
    void EditCompany();
    void DeleteCompany();
    void BrowseWeb();
    void CompanyComments();
    void ViewPerson(int row, bool add);
    void DeletePerson();
    void MailPerson();
    void SaveListLayout();
    void DefaultListLayout();
    void ToggleArrangement();
    void ManageBusinessTypes();
    void SelectPerson(int personId, int fallbackRow);

    CDummyDlg* m_hub;
    CDBClass& m_db;
    QLabel* m_companyText = nullptr;
    QLabel* m_addressComment = nullptr;
    QWidget* m_info = nullptr;
    CAcceleratorTable m_accelerators;
    QList<int> m_columnKeys;
    QString m_companyName;
    // The company's address as text; the window shows it as a form.
    QString m_companyTextValue;
    int m_companyId = -1;
    // The company whose persons the list shows (-1: none).
    int m_listedCompanyId = -1;
    // The chosen company's web page, for "Browse Web".
    QString m_web;
    int m_treeWidth = 220;
    bool m_arranged = false;
    bool m_connected = false;
    bool m_filling = false;
    bool m_resizing = false;
    bool m_keepState = true;
    bool m_closed = false;
};
