#pragma once

#include "data/ItemList.h"

#include <QList>
#include <QPair>

// A control-less list for the facade's fillers.
class CTestItemList : public IItemList {
public:
    bool IsValid() const override { return valid; }
    void Clear() override { items.clear(); }
    int AddItem(const QString& text, qint64 data) override
    {
        items.append({text, data});
        return static_cast<int>(items.size()) - 1;
    }
    int Count() const override { return static_cast<int>(items.size()); }
    QString ItemText(int index) const override { return items.value(index).first; }
    qint64 ItemData(int index) const override { return items.value(index).second; }
    void SetItemData(int index, qint64 data) override { items[index].second = data; }
    void SetCurrentIndex(int index) override { current = index; }
    int CurrentIndex() const override { return current; }

    QStringList Texts() const
    {
        QStringList texts;
        for (const auto& item : items)
            texts << item.first;
        return texts;
    }

    bool valid = true;
    QList<QPair<QString, qint64>> items;
    int current = -1;
};
