#include "ui/ComboItems.h"

#include <QComboBox>
#include <QListWidget>

CComboItems::CComboItems(QComboBox* combo)
    : m_combo(combo)
{}

CListItems::CListItems(QListWidget* list)
    : m_list(list)
{}

bool CComboItems::IsValid() const
{
    return !m_combo.isNull();
}

void CComboItems::Clear()
{
    if (m_combo)
        m_combo->clear();
}

int CComboItems::AddItem(const QString& text, qint64 data)
{
    if (!m_combo)
        return -1;
    m_combo->addItem(text, QVariant(data));
    return m_combo->count() - 1;
}

int CComboItems::Count() const
{
    return m_combo ? m_combo->count() : 0;
}

QString CComboItems::ItemText(int index) const
{
    return m_combo ? m_combo->itemText(index) : QString();
}

qint64 CComboItems::ItemData(int index) const
{
    return m_combo ? m_combo->itemData(index).toLongLong() : -1;
}

void CComboItems::SetItemData(int index, qint64 data)
{
    if (m_combo)
        m_combo->setItemData(index, QVariant(data));
}

void CComboItems::SetCurrentIndex(int index)
{
    if (m_combo)
        m_combo->setCurrentIndex(index);
}

int CComboItems::CurrentIndex() const
{
    return m_combo ? m_combo->currentIndex() : -1;
}

bool CListItems::IsValid() const
{
    return !m_list.isNull();
}

void CListItems::Clear()
{
    if (m_list)
        m_list->clear();
}

int CListItems::AddItem(const QString& text, qint64 data)
{
    if (!m_list)
        return -1;
    auto* item = new QListWidgetItem(text, m_list);
    item->setData(Qt::UserRole, QVariant(data));
    return m_list->count() - 1;
}

int CListItems::Count() const
{
    return m_list ? m_list->count() : 0;
}

QString CListItems::ItemText(int index) const
{
    return m_list && m_list->item(index) ? m_list->item(index)->text() : QString();
}

qint64 CListItems::ItemData(int index) const
{
    return m_list && m_list->item(index) ? m_list->item(index)->data(Qt::UserRole).toLongLong()
                                         : -1;
}

void CListItems::SetItemData(int index, qint64 data)
{
    if (m_list && m_list->item(index))
        m_list->item(index)->setData(Qt::UserRole, QVariant(data));
}

void CListItems::SetCurrentIndex(int index)
{
    if (m_list)
        m_list->setCurrentRow(index);
}

int CListItems::CurrentIndex() const
{
    return m_list ? m_list->currentRow() : -1;
}
