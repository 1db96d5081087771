#include "records/ChgRqstTeamList.h"

#include "data/DBClass.h"

#include <QListWidget>

namespace {

constexpr int kNameRole = Qt::UserRole + 1;

void Add(QListWidget* list, const QString& text, const QString& name, int empId, bool selected)
{
    auto* item = new QListWidgetItem(text, list);
    item->setData(Qt::UserRole, empId);
    item->setData(kNameRole, name);
    item->setSelected(selected);
}

} // namespace

void FillTeamList(CDBClass& db, QListWidget* list, const QList<int>& members)
{
    list->clear();
    list->setSelectionMode(QAbstractItemView::MultiSelection);
    if (db.Employees().isEmpty())
        db.LoadEmployees();
    QList<int> listed;
    for (const CEmployeeEntry& e : db.Employees()) {
        if (!e.IsCurrent)
            continue;
        Add(list, e.EmpFullName, e.EmpFullName, e.EmpID, members.contains(e.EmpID));
        listed << e.EmpID;
    }
    for (int empId : members) {
        if (listed.contains(empId))
            continue;
        QString name = db.GetEmpFullNameById(empId);
        if (name.isEmpty())
            name = QStringLiteral("Employee %1").arg(empId);
        Add(list, name + QStringLiteral(" (left)"), name, empId, true);
        listed << empId;
    }
}

void SelectedTeam(const QListWidget* list, QStringList& names, QList<int>& ids)
{
    names.clear();
    ids.clear();
    for (int row = 0; row < list->count(); ++row) {
        const QListWidgetItem* item = list->item(row);
        if (!item->isSelected())
            continue;
        names << item->data(kNameRole).toString();
        ids << item->data(Qt::UserRole).toInt();
    }
}
