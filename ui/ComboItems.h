#pragma once

#include "data/ItemList.h"

#include <QPointer>

class QComboBox;
class QListWidget;

// A combo box as the facade fills it: the id of each item is its user data.
class CComboItems : public IItemList {
public:
    explicit CComboItems(QComboBox* combo);

    bool IsValid() const override;
    void Clear() override;
    int AddItem(const QString& text, qint64 data) override;
    int Count() const override;
    QString ItemText(int index) const override;
    qint64 ItemData(int index) const override;
    void SetItemData(int index, qint64 data) override;
    void SetCurrentIndex(int index) override;
    int CurrentIndex() const override;

private:
    QPointer<QComboBox> m_combo;
};

// A list box the same way.
class CListItems : public IItemList {
public:
    explicit CListItems(QListWidget* list);

    bool IsValid() const override;
    void Clear() override;
    int AddItem(const QString& text, qint64 data) override;
    int Count() const override;
    QString ItemText(int index) const override;
    qint64 ItemData(int index) const override;
    void SetItemData(int index, qint64 data) override;
    void SetCurrentIndex(int index) override;
    int CurrentIndex() const override;

private:
    QPointer<QListWidget> m_list;
};
