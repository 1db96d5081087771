#pragma once

#include "app/HubWindow.h"
#include "review/OverviewFilterGroup.h"
#include "review/OverviewFilters.h"
#include "ui/DialogBase.h"
#include "ui/HtmlView.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>

class CDBClass;
class CDummyDlg;
class CSarvex;
class COverviewSummary;
class IOverviewXmlSource;

// The employee overview: the signed-on employee's projects, time sheets,
// change requests and comments in the tree-list control. The tree holds the
// user, four groups and their members from the server's summary; a group
// shows its members in the control's list, a member its page: the XML of a
// server procedure made into HTML by a style sheet beside the program, shown
// in the control's browser. A heading of a page re-sorts it; the tree's
// popup menus print and filter.
class CEmpOverviewDlg : public CDialogBase, public IHubWindow {
    Q_OBJECT
public:
    enum : int {
        kIdControl = 1365,
        kCmdRefreshTotals = 12898,
        // The tree's popup-menu items.
        kMenuView = 110,
        kMenuPrint = 111,
        kMenuPrintPreview = 112,
        kMenuSeparator = 113,
        kMenuProjectFilter = 999,
        kMenuProjects = 1000,
        kMenuPriorityFilter = 1998,
        kMenuStatusFilter = 1999,
        kMenuChangeRequests = 2000,
        kMenuTimesheetFilter = 2999,
        kMenuTimesheets = 3000,
        kMenuCommentFilter = 3999,
        kMenuComments = 4000,
        // The first key of the groups' members.
        kFirstChildKey = 5,
    };
    // The groups by position, which is also their tree key.
    enum Group : int { kRoot, kProjects, kTimesheets, kChangeRequests, kComments, kGroupCount };

    // The window on the XML of `source`; null, after telling the user, when
    // the tree-list control cannot be created.
    static CEmpOverviewDlg* Create(CDummyDlg* hub, CDBClass& db,
                                   std::unique_ptr<IOverviewXmlSource> source,
                                   QWidget* parent = nullptr);
    ~CEmpOverviewDlg() override;

    bool OnCommand(int id) override;

    // ---- IHubWindow ---------------------------------------------------------------------
    QWidget* Widget() override { return this; }
    void CloseWindow(int flag) override;
    void ReadAgain() override;

    // ---- The control's events ---------------------------------------------------------
    void OnNotifyReadySarvexctrl1();
    void OnTreeClick(int key, const QString& text);
    void OnListDblClick(int key, const QString& text);
    void OnListLButDown(int key, const QString& text);
    void OnMenuItemClick(int selKey, int uid, const QString& text);
    void OnNotifyBrowseEvent(int code, const QString& text);

    // ---- Operations -------------------------------------------------------------------
    // The project states and change-request statuses the filter menus offer,
    // while they have not been read.
    void ReadFilterNames();
    // Fills the tree from the summary; false when the summary could not be
    // read (the tree then holds the user and the groups only).
    bool BuildTree();
    // The whole file; false after telling the user.
    bool GetXSLTStr(QString& text, const QString& fileName);
    // Runs a procedure and writes its page with the style sheet (a file
    // under the program's xml folder); false after telling the user, and
    // the page shown before stays the current one.
    bool GetXMLStrDoc(const QString& procedure, const QList<int>& args, const QString& sheetFile);
    // The XML through the style sheet into the browse page; false after
    // telling the user, the page file then unchanged.
    bool CreateHTMLDoc(const QString& styleSheet, const QString& xml);

    // ---- Files ------------------------------------------------------------------------
    // The program's xml folder, beside the program, and a file in it.
    static QString XmlFolder();
    static QString XmlFile(const QString& name);
    // The page the browser shows: in the user's runtime folder, one per
    // running program.
    const QString& BrowsePage() const { return m_browsePage; }
    void SetBrowsePage(const QString& path) { m_browsePage = path; }

    // ---- State ------------------------------------------------------------------------
    CSarvex* Control() const { return m_sarvex; }
    const QString& UserName() const { return m_userName; }
    int EmployeeId() const { return m_empId; }
    const COverviewFilterGroup& FilterGroup(int group) const { return m_groups.at(group); }
    const COverviewFilters& Filters() const { return m_filters; }
    const QStringList& StateNames() const { return m_stateNames; }
    const QStringList& StatusNames() const { return m_statusNames; }
    const QList<int>& TimesheetYears() const { return m_timesheetYears; }
    const QList<int>& CommentYears() const { return m_commentYears; }
    bool SortDescending() const { return m_sortDescending; }
    // The style sheet and XML of the page shown.
    const QString& StyleSheetText() const { return m_styleSheet; }
    const QString& XmlText() const { return m_xml; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Printing from the browser asks the program's print hook.
    class CPrintHook : public IHtmlPrintHook {
    public:
        bool ChoosePrinter(QPrinter& printer, QWidget* parent) override;
        void ShowPreview(QPrinter& printer, QWidget* parent,
                         const std::function<void(QPrinter*)>& paint) override;
    };

    CEmpOverviewDlg(CDummyDlg* hub, CDBClass& db, std::unique_ptr<IOverviewXmlSource> source,
                    QWidget* parent);
    // An error in a message box.
    static void Tell(const QString& text);
    void BuildControls();
    void BuildMenus();
    void WireEvents();
    void InitGroups();

    void AddFilterMenu(int group);
    void AddChildren(int group, const COverviewSummary& summary);
    QString Selector(int group) const;
    void ShowMemberPage(int group, int index);
    void NavigateToPage();
    // The member of the group shown in the list whose row has this id text;
    // the event's key when there is none.
    int RowKey(int eventKey, const QString& idText);
    bool RunProcedure(const QString& procedure, const QList<int>& args, QString& xml);
    void Refresh();

    CDummyDlg* m_hub;
    CDBClass& m_db;
    std::unique_ptr<IOverviewXmlSource> m_source;
    CSarvex* m_sarvex = nullptr;
    CPrintHook m_printHook;

    QString m_userName;
    int m_empId = -1;
    QString m_browsePage;
    QString m_styleSheet;
    QString m_xml;
    std::array<COverviewFilterGroup, kGroupCount> m_groups;
    QStringList m_stateNames;
    QStringList m_statusNames;
    QList<int> m_timesheetYears;
    QList<int> m_commentYears;
    COverviewFilters m_filters;
    bool m_sortDescending = true;
    int m_nextKey = kFirstChildKey;
    bool m_connected = false;
    bool m_closing = false;
};
