#include "timesheet/SaveTimesChgReqDlg.h"

#include "data/DBClass.h"
#include "data/records/ChgRqstBriefSet.h"
#include "platform/MessageBox.h"
#include "timesheet/ChgRqstViewDlg.h"
#include "ui/PlainLabel.h"
#include "ui/ResourceIds.h"
#include "ui/RichTextCtrl.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {
constexpr int kChooser = 1029;
constexpr int kChgReqText = 1030;
} // namespace

CSaveTimesChgReqDlg::CSaveTimesChgReqDlg(ISaveTimesOwner& owner, const CSaveTimesInput& input,
                                         QWidget* parent)
    : CSaveTimesDlg(owner, input, parent, 348)
{
    m_chgReqLabel = new CPlainLabel(QStringLiteral("No Change Request"), this);
    SetControlId(m_chgReqLabel, kChgReqText);
    QPushButton* chooser = AddCommandButton(QStringLiteral("..."), kChooser);
    chooser->setToolTip(QStringLiteral("Change Request"));
    const int row = Grid()->rowCount();
    Grid()->addWidget(new QLabel(QStringLiteral("ChgR:"), this), row, 0);
    Grid()->addWidget(m_chgReqLabel, row, 1, 1, 3);
    Grid()->addWidget(chooser, row, 4);
    m_chgReqId = input.chgReqId;
}

void CSaveTimesChgReqDlg::Refill(const CSaveTimesInput& input)
{
    CSaveTimesDlg::Refill(input);
    m_chgReqId = input.chgReqId;
}

bool CSaveTimesChgReqDlg::OnInitDialog()
{
    CSaveTimesDlg::OnInitDialog();
    if (m_chgReqId < 0) {
        m_chgReqText.clear();
    } else {
        CDBClass& db = Owner().Facade();
        CChgRqstBriefSet set(db.Connection(), 0, QStringLiteral("[qselchgreqlist]"));
        set.Recordset()->SetFilter(QStringLiteral("ChgReqID = ?"), {m_chgReqId});
        if (!db.OpenRecordSet(&set)) {
            ShowMessageBox(QStringLiteral("Error querying for Change Request Data"),
                           kMbOk | kMbIconWarning);
        } else {
            if (!set.Recordset()->IsEOF())
                m_chgReqText = QStringLiteral("%1, %2").arg(QString::number(m_chgReqId),
                                                            ShownText(set.m_Item));
            db.CloseRecordSet(&set);
        }
    }
    ShowText();
    return true;
}

void CSaveTimesChgReqDlg::ShowText()
{
    m_chgReqLabel->setText(m_chgReqText);
}

bool CSaveTimesChgReqDlg::OnCommand(int id)
{
    if (id == kChooser) {
        ChooseChangeRequest();
        return true;
    }
    return CSaveTimesDlg::OnCommand(id);
}

void CSaveTimesChgReqDlg::ChooseChangeRequest()
{
    CChgRqstViewDlg chooser(this, ProjId(), m_chgReqId, &Owner().Facade());
    if (chooser.DoModal() != IDOK)
        return;
    const QString idText = chooser.ChosenIdText();
    if (idText.isEmpty()) {
        m_chgReqText.clear();
        m_chgReqId = -2;
    } else if (chooser.ChosenRow() >= 0) {
        m_chgReqText = idText + QStringLiteral(", ") + chooser.ChosenItem();
        m_chgReqId = idText.toInt();
    } else {
        m_chgReqId = -2;
    }
    ShowText();
}
