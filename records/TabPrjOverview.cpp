#include "records/TabPrjOverview.h"

#include "app/DummyDlg.h"
#include "app/KelvaneApp.h"
#include "data/DBClass.h"
#include "platform/MessageBox.h"
#include "records/ChgRqstWindows.h"
#include "records/CommentWindows.h"
#include "records/ShowPrjDlg.h"
#include "review/SearchViewDlg.h"
#include "ui/ResourceIds.h"
#include "ui/WaitCursor.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace {

// The columns the results window shows, as the time-sheet search names them.
constexpr int kTimeSheetColumns = 12;

} // namespace

CTabPrjOverview::CTabPrjOverview(CShowPrjDlg* owner, QWidget* parent)
    : CProjectPage(IDD, owner, parent)
{
    auto* grid = new QGridLayout(this);
    m_changeRequests = AddField(grid, 0, 0, QStringLiteral("Change requests "), kIdChangeRequests);
    m_comments = AddField(grid, 1, 0, QStringLiteral("Comments"), kIdComments);
    m_toDos = AddField(grid, 2, 0, QStringLiteral("Todo"), kIdToDos);
    m_timeSheets = AddField(grid, 3, 0, QStringLiteral("Timesheets"), kIdTimeSheets);
    m_viewChangeRequests = AddCommandButton(QStringLiteral("C&R View>>"), kIdViewChangeRequests);
    m_viewComments = AddCommandButton(QStringLiteral("&CM View>>"), kIdViewComments);
    m_viewToDos = AddCommandButton(QStringLiteral("T&D View>>"), kIdViewToDos);
    m_viewTimeSheets = AddCommandButton(QStringLiteral("&TS View>>"), kIdViewTimeSheets);
    int row = 0;
    for (QPushButton* button :
         {m_viewChangeRequests, m_viewComments, m_viewToDos, m_viewTimeSheets}) {
        button->setAutoDefault(false);
        grid->addWidget(button, row++, 2);
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(4, 1);
}

QString CTabPrjOverview::Text(int id) const
{
    const auto* label = Control<QLabel>(id);
    return label ? label->text() : QString();
}

void CTabPrjOverview::Fill()
{
    for (QLabel* label : {m_changeRequests, m_comments, m_toDos, m_timeSheets})
        label->clear();
    const CProfile::CValues options = CurrentOptions();
    m_viewToDos->setEnabled(options.Bool("UseToDo"));
    m_viewComments->setEnabled(options.Bool("UseToDo"));
    m_viewChangeRequests->setEnabled(options.Bool("UseChgrqsts"));
    if (!Owner() || !Owner()->Project())
        return;
    CDBClass& db = Owner()->Db();
    int changeRequests = 0;
    int toDos = 0;
    int comments = 0;
    // Employee 0: everybody's. A project without comments and change
    // requests has no summary row: it has none of either.
    db.OpenProjEmpSummary(Owner()->ProjectId(), 0, changeRequests, toDos, comments);
    int timeSheets = 0;
    db.CountTimeSheets(timeSheets, Owner()->ProjectId());
    m_changeRequests->setText(QString::number(changeRequests));
    m_comments->setText(QString::number(comments));
    m_toDos->setText(QString::number(toDos));
    m_timeSheets->setText(QString::number(timeSheets));
}

bool CTabPrjOverview::OnPageCommand(int id)
{
    switch (id) {
    case kIdViewChangeRequests:
        OnViewChgRqsts();
        return true;
    case kIdViewComments:
        OnViewComments();
        return true;
    case kIdViewToDos:
        OnViewTodos();
        return true;
    case kIdViewTimeSheets:
        OnViewTimesheets();
        return true;
    default:
        return CProjectPage::OnPageCommand(id);
    }
}

void CTabPrjOverview::OnViewChgRqsts()
{
    CDummyDlg* hub = Owner() ? Owner()->Hub() : nullptr;
    if (!hub)
        return;
    ShowProjectChangeRequests(*hub, Owner()->ProjectId());
}

void CTabPrjOverview::OnViewComments()
{
    if (CDummyDlg* hub = Owner() ? Owner()->Hub() : nullptr)
        ShowProjectComments(*hub, Owner()->ProjectId(), false);
}

void CTabPrjOverview::OnViewTodos()
{
    if (CDummyDlg* hub = Owner() ? Owner()->Hub() : nullptr)
        ShowProjectComments(*hub, Owner()->ProjectId(), true);
}

bool CTabPrjOverview::OnViewTimesheets()
{
    if (!Owner() || !Owner()->Project())
        return false;
    CWaitCursor wait;
    CDBClass& db = Owner()->Db();
    // By the project's id: no text of the project's name goes into the SQL.
    const QString sql =
        QStringLiteral("Select projname,ordercode,task,timesheetid,starttime,stoptime,workdate,"
                       "hoursworked,comment,invcost,empfullname,worktype from "
                       "qselTimeJoinProjectTaskOrderAllFields where ProjID = %1 order by WorkDate "
                       "DESC")
            .arg(Owner()->ProjectId());
    QString message = QStringLiteral("Please Wait - Creating Search Records ...");
    QList<CMyAdoRecordSet*> rows;
    QList<QObject*> views;
    db.SetSearchViewFactory(this);
    const bool ran = db.RunQueryToList(sql, message, QString::number(ID_TIMESHEETS),
                                       QString::number(kTimeSheetColumns), rows, views, this);
    db.SetSearchViewFactory(nullptr);
    for (int i = 0; i < rows.size(); ++i)
        Owner()->KeepSearchResult(rows.at(i), views.value(i));
    if (!ran)
        ShowMessageBox(QStringLiteral("Unable to show the time sheets of %1\n%2")
                           .arg(Owner()->ProjectName(), message),
                       kMbOk | kMbIconError);
    return ran;
}

QObject* CTabPrjOverview::CreateSearchView(const QString&, const QString& text,
                                           CMyAdoRecordSet* rows, QObject*)
{
    auto* view = new CSearchViewDlg(ID_TIMESHEETS, text.toInt(), rows,
                                    Owner() ? &Owner()->Db() : nullptr, this);
    view->Create();
    if (Owner())
        view->setWindowTitle(view->windowTitle() + QStringLiteral(" - ") + Owner()->ProjectName());
    return view;
}
