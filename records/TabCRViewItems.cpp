#include "records/TabCRViewItems.h"

#include "data/records/ChgRqstActionSet.h"
#include "platform/MessageBox.h"
#include "records/RichTextMenu.h"
#include "ui/RichTextCtrl.h"
#include "ui/TextFit.h"
#include "ui/TipButton.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>

namespace {

// Where a listed action keeps its text as stored.
constexpr int kStoredRole = Qt::UserRole + 1;

} // namespace

CTabCRViewItems::CTabCRViewItems(ITipButtonOwner* buttons, QWidget* parent)
    : CTabPage(388, parent)
{
    // Enter and Escape reach the dialog that holds the tabs, as its own keys do.
    SetCommandRoute(true);
    auto* grid = new QGridLayout(this);
    m_item = new CRichTextCtrl(this);
    SetControlId(m_item, kIdItem);
    m_action = new CRichTextCtrl(this);
    SetControlId(m_action, kIdAction);
    m_actions = new QListWidget(this);
    SetControlId(m_actions, kIdActions);
    m_actions->setSortingEnabled(true);
    for (CRichTextCtrl* field : {m_item, m_action})
        field->setAcceptRichText(false);
    m_add = new CTipButton(nullptr, this);
    SetControlId(m_add, kIdAdd);
    m_add->setText(QStringLiteral("&+"));
    m_add->SetOwner(buttons, kTipOwnerChangeRequestEdit, kIdAdd);
    m_remove = new CTipButton(nullptr, this);
    SetControlId(m_remove, kIdRemove);
    m_remove->setText(QStringLiteral("&-"));
    m_remove->SetOwner(buttons, kTipOwnerChangeRequestEdit, kIdRemove);
    for (CTipButton* b : {m_add, m_remove})
        b->setAutoDefault(false);
    const auto label = [this](const QString& text, QWidget* buddy) {
        auto* l = new QLabel(text, this);
        l->setBuddy(buddy);
        return l;
    };
    grid->addWidget(label(QStringLiteral("&Item :"), m_item), 0, 0);
    grid->addWidget(m_item, 1, 0, 1, 2);
    grid->addWidget(label(QStringLiteral("&Action :"), m_action), 2, 0);
    grid->addWidget(m_action, 3, 0, 2, 1);
    grid->addWidget(m_add, 3, 1);
    grid->addWidget(m_remove, 4, 1, Qt::AlignTop);
    grid->addWidget(label(QStringLiteral("Actions add&ed :"), m_actions), 5, 0);
    grid->addWidget(m_actions, 6, 0, 1, 2);
    grid->setRowStretch(1, 1);
    grid->setRowStretch(4, 1);
    grid->setRowStretch(6, 2);
    m_textMenu = new CRichTextMenu(this);
    m_textMenu->Attach(m_item, kIdItem);
    m_textMenu->Attach(m_action, kIdAction);
    connect(m_actions, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { m_action->setPlainText(item->text()); });
}

bool CTabCRViewItems::OnInitDialog()
{
    m_item->SetWordWrap(true);
    m_action->SetWordWrap(true);
    m_add->SetTip(QStringLiteral("Add Item ALT++"));
    m_remove->SetTip(QStringLiteral("Remove Item ALT+-"));
    return true;
}

bool CTabCRViewItems::OnPageCommand(int id)
{
    return m_textMenu->OnCommand(id) || CTabPage::OnPageCommand(id);
}

void CTabCRViewItems::Load(const QString& item, const QStringList& actions)
{
    m_item->SetRTF(item);
    m_loadedItem = m_item->toPlainText();
    m_action->clear();
    m_actions->clear();
    // An action kept as RTF shows its text and is written back as stored.
    for (const QString& action : actions) {
        auto* row = new QListWidgetItem(ShownText(action), m_actions);
        row->setData(kStoredRole, action);
    }
}

QString CTabCRViewItems::Item() const
{
    return m_item->toPlainText();
}

bool CTabCRViewItems::ItemEdited() const
{
    return m_item->toPlainText() != m_loadedItem;
}

void CTabCRViewItems::ClearItem()
{
    m_item->clear();
    m_loadedItem.clear();
}

QStringList CTabCRViewItems::Actions() const
{
    QStringList actions;
    for (int row = 0; row < m_actions->count(); ++row) {
        const QListWidgetItem* action = m_actions->item(row);
        const QVariant stored = action->data(kStoredRole);
        actions << (stored.isValid() ? stored.toString() : action->text());
    }
    return actions;
}

void CTabCRViewItems::AddAction()
{
    QString text = m_action->toPlainText();
    m_action->clear();
    if (text.isEmpty()) {
        ShowMessageBox(QStringLiteral("You need to specify an action to add"),
                       kMbOk | kMbIconWarning);
        return;
    }
    if (!FitToColumns({{QStringLiteral("An action"), &text, CChgRqstActionSet::Width("Comment")}}))
        return;
    m_actions->addItem(text);
}

void CTabCRViewItems::RemoveAction()
{
    const QList<QListWidgetItem*> selected = m_actions->selectedItems();
    if (!selected.isEmpty())
        delete selected.first();
}
