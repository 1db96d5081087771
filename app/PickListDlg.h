#pragma once

#include "ui/DialogBase.h"

#include <QString>

class CDBClass;
class QCheckBox;
class QListWidget;

// What a window that opens a pick list shares with it: the project the
// tasks and orders belong to, and whether they are listed in full.
struct CPickListContext {
    int projectId = -1;
    bool showAllTasks = false;
    bool showAllOrders = false;
};

// A window that carries a pick-list context for the lists it opens.
class IPickListOwner {
public:
    virtual ~IPickListOwner() = default;
    virtual CPickListContext* PickListContext() = 0;
};

// A small list from which the user picks one project, task, order, work
// type or company; read from the database each time it is filled.
class CPickListDlg : public CDialogBase {
    Q_OBJECT
public:
    enum Kind : int { kProject = 0, kTask = 1, kOrder = 2, kWorkType = 3, kCompany = 4 };

    // With useContext the context is the given one, or the parent's when
    // the parent is an IPickListOwner.
    CPickListDlg(int kind, QWidget* parent, CPickListContext* context, bool useContext,
                 bool showAll, CDBClass* db = nullptr);

    // Kinds 0 and 4 start with an "All" row (id -1).
    void SetAllEntry(bool all) { m_allEntry = all; }
    void SetPreselect(const QString& text) { m_preselect = text; }
    // Lists that user's projects instead of the default user's ("All": every one).
    void SetUserName(const QString& name) { m_userName = name; }

    // The row picked: its text up to the first tab, without trailing blanks.
    QString PickedText() const;
    int PickedId() const { return m_pickedId; }
    bool ShowAll() const { return m_showAll; }
    int Kind() const { return m_kind; }

    static QString PlacementKey(int kind);
    // A list row's text up to its first tab, trailing blanks removed.
    static QString CutAtTab(const QString& text);

protected:
    bool OnInitDialog() override;
    void DoDataExchange(bool saveAndValidate) override;

private:
    void Fill(bool first);
    bool FillProjects(bool first);
    bool FillTasks();
    bool FillOrders();
    bool FillWorkTypes();
    bool FillCompanies();
    void AddRow(const QString& text, int id);
    void OnShowAll(bool checked);
    void OnRowChanged(int row);
    void OnRowActivated(int row);

    int m_kind;
    CDBClass* m_db;
    CPickListContext* m_context = nullptr;
    CPickListContext m_ownContext;
    bool m_showAll;
    bool m_showAllProjects = false;
    bool m_allEntry = false;
    QString m_preselect;
    QString m_userName;
    QString m_pickedText;
    int m_pickedId = -1;
    QListWidget* m_list = nullptr;
    QCheckBox* m_showAllBox = nullptr;
};
