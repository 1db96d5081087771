#pragma once

#include <QString>

// A combo box or list box as the facade fills it: texts with an id each. The
// windows hand the facade an adapter over their own control.
class IItemList {
public:
    virtual ~IItemList() = default;
    // False when there is no control to fill.
    virtual bool IsValid() const = 0;
    virtual void Clear() = 0;
    // Appends an item; its index.
    virtual int AddItem(const QString& text, qint64 data) = 0;
    virtual int Count() const = 0;
    virtual QString ItemText(int index) const = 0;
    virtual qint64 ItemData(int index) const = 0;
    virtual void SetItemData(int index, qint64 data) = 0;
    // -1 selects nothing.
    virtual void SetCurrentIndex(int index) = 0;
    virtual int CurrentIndex() const = 0;
};
