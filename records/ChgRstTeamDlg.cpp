#include "records/ChgRstTeamDlg.h"

#include "data/DBClass.h"
#include "platform/MessageBox.h"
#include "platform/UserAction.h"
#include "records/ChgRqstTeamList.h"
#include "records/DialogFields.h"
#include "ui/CaptionWidth.h"
#include "ui/ResourceIds.h"

#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

CChgRstTeamDlg::CChgRstTeamDlg(int chgReqId, CDBClass& db, QWidget* parent)
    : CDialogBase(260, parent)
    , m_db(db)
    , m_chgReqId(chgReqId)
{
    setWindowTitle(QStringLiteral("Change Team For Change Request"));
    auto* layout = new QVBoxLayout(this);
    m_team = new QListWidget(this);
    SetControlId(m_team, kIdTeam);
    auto* label = new QLabel(QStringLiteral("&Team"), this);
    label->setBuddy(m_team);
    layout->addWidget(label);
    layout->addWidget(m_team, 1);
    layout->addLayout(OkCancelRow(*this, QStringLiteral("OK")));
    resize(300, 360);
    WidenToCaption(*this);
}

QString CChgRstTeamDlg::NotChanged() const
{
    return QStringLiteral("The team of change request # %1 was not changed.").arg(m_chgReqId);
}

bool CChgRstTeamDlg::OnInitDialog()
{
    const CActionFailureText failure(NotChanged());
    QList<int> team;
    QString reason;
    if (!m_db.FillChgReqTeamIds(m_chgReqId, team, &reason)) {
        // Without the team as stored, OK could only lose it.
        ShowMessageBox(FailureMessage(NotChanged(), kE_CommandError, reason), kMbOk | kMbIconError);
        return false;
    }
    FillTeamList(m_db, m_team, team);
    return true;
}

void CChgRstTeamDlg::OnOK()
{
    QStringList names;
    QList<int> ids;
    SelectedTeam(m_team, names, ids);
    const CActionFailureText failure(NotChanged());
    QString reason;
    switch (m_db.ReplaceChgReqTeam(m_chgReqId, ids, reason)) {
    case ChgReqResult::Ok:
        m_names = names;
        m_ids = ids;
        EndDialog(IDOK);
        return;
    case ChgReqResult::NotFound:
        m_gone = true;
        ShowMessageBox(QStringLiteral("Change request %1 does not exist anymore - another user "
                                      "may have deleted it")
                           .arg(m_chgReqId),
                       kMbOk | kMbIconWarning);
        EndDialog(IDCANCEL);
        return;
    default:
        // The team is as it was; the dialog keeps the choice.
        ShowMessageBox(FailureMessage(NotChanged(), kE_CommandError, reason), kMbOk | kMbIconError);
        return;
    }
}
