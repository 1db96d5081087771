#pragma once

#include "data/FacadeClients.h"
#include "records/ProjectPage.h"

class QPushButton;

// "&Documentation": the numbers of the project's change requests, comments,
// to-dos and time-sheet rows, and buttons that show them: the first three in
// their windows through the hub, the time sheets in a search-results window.
class CTabPrjOverview : public CProjectPage, public ISearchViewFactory {
    Q_OBJECT
public:
    enum : int {
        IDD = 357,
        kIdChangeRequests = 1159,
        kIdComments = 1160,
        kIdToDos = 1161,
        kIdTimeSheets = 1162,
        kIdViewChangeRequests = 1265,
        kIdViewToDos = 1267,
        kIdViewTimeSheets = 1268,
        kIdViewComments = 1269,
    };

    explicit CTabPrjOverview(CShowPrjDlg* owner, QWidget* parent = nullptr);

    QString Text(int id) const;
    void OnViewChgRqsts();
    void OnViewComments();
    void OnViewTodos();
    // False when the time sheets could not be read (the user was told).
    bool OnViewTimesheets();

    // ISearchViewFactory: the results window of the time sheets.
    QObject* CreateSearchView(const QString& kind, const QString& text, CMyAdoRecordSet* rows,
                              QObject* parent) override;

protected:
    void Fill() override;
    bool OnPageCommand(int id) override;

private:
    QLabel* m_changeRequests;
    QLabel* m_comments;
    QLabel* m_toDos;
    QLabel* m_timeSheets;
    QPushButton* m_viewChangeRequests;
    QPushButton* m_viewComments;
    QPushButton* m_viewToDos;
    QPushButton* m_viewTimeSheets;
};
