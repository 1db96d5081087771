#include "records/ChgRstItemsPage.h"

#include "data/records/ChgRqstSet.h"
#include "platform/MessageBox.h"
#include "ui/RichTextCtrl.h"
#include "ui/TextFit.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>

CChgRstItemsPage::CChgRstItemsPage(QWidget* parent)
    : CTabPage(382, parent)
{
    // Enter and Escape reach the dialog that holds the tabs, as its own keys do.
    SetCommandRoute(true);
    auto* grid = new QGridLayout(this);
    m_text = new CRichTextCtrl(this);
    SetControlId(m_text, kIdText);
    m_text->setAcceptRichText(false);
    m_items = new QListWidget(this);
    SetControlId(m_items, kIdItems);
    m_items->setSortingEnabled(true);
    m_add = new CTipButton(nullptr, this);
    SetControlId(m_add, kIdAdd);
    m_add->setText(QStringLiteral("&+"));
    m_add->setAutoDefault(false);
    m_remove = new CTipButton(nullptr, this);
    SetControlId(m_remove, kIdRemove);
    m_remove->setText(QStringLiteral("&-"));
    m_remove->setAutoDefault(false);
    auto* enter = new QLabel(QStringLiteral("&Enter Item>>"), this);
    enter->setBuddy(m_text);
    auto* added = new QLabel(QStringLiteral("&Items Added :"), this);
    added->setBuddy(m_items);
    grid->addWidget(enter, 0, 0);
    grid->addWidget(m_text, 1, 0, 2, 1);
    grid->addWidget(m_add, 1, 1);
    grid->addWidget(m_remove, 2, 1, Qt::AlignTop);
    grid->addWidget(added, 3, 0);
    grid->addWidget(m_items, 4, 0, 1, 2);
    grid->setRowStretch(2, 1);
    grid->setRowStretch(4, 2);
    connect(m_items, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { m_text->setPlainText(item->text()); });
}

bool CChgRstItemsPage::OnInitDialog()
{
    m_text->SetWordWrap(true);
    m_add->SetOwner(this, kTipOwnerChangeRequestItems, kIdAdd);
    m_add->SetTip(QStringLiteral("Add item to CR"));
    m_remove->SetOwner(this, kTipOwnerChangeRequestItems, kIdRemove);
    m_remove->SetTip(QStringLiteral("Remove item from CR"));
    return true;
}

void CChgRstItemsPage::OnTipButtonClick(int id)
{
    if (id == kIdAdd)
        AddItem();
    else if (id == kIdRemove)
        RemoveItem();
}

void CChgRstItemsPage::AddItem()
{
    QString text = m_text->toPlainText();
    if (text.isEmpty()) {
        ShowMessageBox(QStringLiteral("You cannot add a zero-length item"), kMbOk | kMbIconWarning);
        return;
    }
    // What the column cannot hold is cut, and the user is told.
    if (!FitToColumns({{QStringLiteral("An item"), &text, CChgRqstSet::Width("Item")}}))
        return;
    for (int row = 0; row < m_items->count(); ++row)
        if (m_items->item(row)->text().compare(text, Qt::CaseInsensitive) == 0) {
            ShowMessageBox(QStringLiteral("You cannot have an item that is the same as a "
                                          "previous one"),
                           kMbOk | kMbIconWarning);
            return;
        }
    m_items->addItem(text);
    m_text->setFocus();
    m_text->clear();
}

void CChgRstItemsPage::RemoveItem()
{
    const QList<QListWidgetItem*> selected = m_items->selectedItems();
    if (!selected.isEmpty())
        delete selected.first();
}

QStringList CChgRstItemsPage::Items() const
{
    QStringList items;
    for (int row = 0; row < m_items->count(); ++row)
        items << m_items->item(row)->text();
    return items;
}
