#include "records/TabPrjMembers.h"

#include "data/DBClass.h"
#include "records/KeyedColumns.h"
#include "records/ShowPrjDlg.h"
#include "ui/MyListCtrl.h"

#include <QVBoxLayout>

namespace {

const QString kLayoutKey = QStringLiteral("MemDlgList");

const QList<CKeyedColumn> kColumns = {
    {"ID", 1, kColumnInteger, kFormatLeft},
    {"Name", 120, kColumnText, kFormatLeft},
    {"Act Hours", 100, kColumnInteger, kFormatRight},
};

} // namespace

CTabPrjMembers::CTabPrjMembers(CShowPrjDlg* owner, QWidget* parent)
    : CProjectPage(IDD, owner, parent)
{
    auto* layout = new QVBoxLayout(this);
    m_list = new CMyListCtrl;
    // The window hears the list as it hears its own.
    m_columnKeys = CreateKeyedList(*m_list, owner, kLayoutKey, kColumns);
    layout->addWidget(m_list);
}

QString CTabPrjMembers::Cell(int row, int key) const
{
    return m_list->ItemText(row, static_cast<int>(m_columnKeys.indexOf(key)));
}

void CTabPrjMembers::Fill()
{
    m_list->Clear();
    m_memberRows.clear();
    if (Owner() && Owner()->Project())
        FillMembers(Owner()->ProjectId());
}

void CTabPrjMembers::FillMembers(int projId)
{
    m_list->Clear();
    m_memberRows.clear();
    if (!Owner())
        return;
    Owner()->Db().FillProjectMembers(projId, Owner()->LeaderId(), Owner()->LeaderName(),
                                     m_memberRows);
    for (const CProjectMember& member : std::as_const(m_memberRows))
        m_list->InsertRow(PlaceByKey(m_columnKeys, {QString::number(member.EmpID), member.Name,
                                                    QString::asprintf("%.2f", member.Hours)}));
}
