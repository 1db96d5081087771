#include "records/BusTypeManage.h"

#include "data/DBClass.h"
#include "data/records/BusTypeSet.h"
#include "platform/UserAction.h"
#include "records/ContactMessage.h"
#include "ui/ComboItems.h"
#include "ui/TextFit.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {

const QString kExists = QStringLiteral("This Business Type already exists");
const QString kMissing = QStringLiteral("This Business Type doesnt exist");
const QString kNoName = QStringLiteral("Type the name of the Business Type first");

} // namespace

CBusTypeManage::CBusTypeManage(CDBClass& db, QWidget* parent)
    : CDialogBase(IDD, parent)
    , m_db(db)
    , m_list(new QListWidget(this))
    , m_name(new QLineEdit(this))
{
    setWindowTitle(QStringLiteral("Manage Business Types"));
    SetControlId(m_list, kIdList);
    SetControlId(m_name, kIdName);
    auto* layout = new QGridLayout(this);
    layout->addWidget(m_list, 0, 0, 4, 1);
    layout->addWidget(m_name, 4, 0);
    QPushButton* add = AddCommandButton(QStringLiteral("Add"), kIdAdd);
    QPushButton* update = AddCommandButton(QStringLiteral("Update"), kIdUpdate);
    QPushButton* remove = AddCommandButton(QStringLiteral("Delete"), kIdDelete);
    for (QPushButton* button : {add, update, remove})
        button->setAutoDefault(false);
    layout->addWidget(add, 0, 1);
    layout->addWidget(update, 1, 1);
    layout->addWidget(remove, 2, 1);
    layout->setRowStretch(3, 1);
    connect(m_list, &QListWidget::currentRowChanged, this, [this] { OnSelChange(); });
    resize(360, 300);
}

bool CBusTypeManage::OnInitDialog()
{
    Refill();
    return true;
}

bool CBusTypeManage::OnCommand(int id)
{
    switch (id) {
    case kIdAdd:
        OnAdd();
        return true;
    case kIdUpdate:
        OnUpdate();
        return true;
    case kIdDelete:
        OnDelete();
        return true;
    default:
        return CDialogBase::OnCommand(id);
    }
}

void CBusTypeManage::Refill(int chooseId)
{
    QList<int> unused;
    CListItems items(m_list);
    const QSignalBlocker quiet(m_list);
    if (!m_db.FillBusinessTypeList(items, {}, unused))
        return;
    int row = 0;
    for (int i = 0; i < items.Count(); ++i)
        if (items.ItemData(i) == chooseId)
            row = i;
    m_list->setCurrentRow(items.Count() > 0 ? row : -1);
    OnSelChange();
}

void CBusTypeManage::OnSelChange()
{
    const QListWidgetItem* item = m_list->currentItem();
    m_chosenId = item ? item->data(Qt::UserRole).toInt() : -1;
    if (item)
        m_name->setText(item->text());
}

bool CBusTypeManage::Written(ContactResult result, const QString& failure, const QString& reason)
{
    switch (result) {
    case ContactResult::Ok:
        return true;
    case ContactResult::Empty:
        ShowContactMessage(kNoName);
        return false;
    case ContactResult::Exists:
        ShowContactMessage(kExists);
        return false;
    case ContactResult::NotFound:
        ShowContactMessage(kMissing);
        Refill();
        return false;
    default:
        ShowContactMessage(failure, reason);
        return false;
    }
}

bool CBusTypeManage::TypedName(QString& name)
{
    name = m_name->text();
    return FitToColumns(
        {{QStringLiteral("The business type"), &name, CBusTypeSet::Width("BusinessType"),
          [this](const QString& t) { m_name->setText(t); }}});
}

void CBusTypeManage::OnAdd()
{
    int id = -1;
    QString reason;
    QString name;
    const QString notAdded = QStringLiteral("The business type was not added.");
    const CActionFailureText failure(notAdded);
    if (TypedName(name) && Written(m_db.AddBusinessType(name, id, reason), notAdded, reason))
        Refill(id);
}

void CBusTypeManage::OnUpdate()
{
    const int id = m_chosenId;
    QString reason;
    QString name;
    const QString notRenamed = QStringLiteral("The business type was not renamed.");
    const CActionFailureText failure(notRenamed);
    if (TypedName(name) && Written(m_db.RenameBusinessType(id, name, reason), notRenamed, reason))
        Refill(id);
}

void CBusTypeManage::OnDelete()
{
    QString reason;
    const QString notDeleted = QStringLiteral("The business type was not deleted.");
    const CActionFailureText failure(notDeleted);
    if (Written(m_db.DeleteBusinessType(m_name->text(), reason), notDeleted, reason))
        Refill();
}
