#pragma once

#include "ui/TabPage.h"
#include "ui/TipButton.h"

class CRichTextCtrl;
class QListWidget;

// The "&Items" page of "Add Change Request": the items of the request,
// each written as a request of its own.
class CChgRstItemsPage : public CTabPage, public ITipButtonOwner {
    Q_OBJECT
public:
    enum : int { kIdAdd = 1090, kIdRemove = 1258, kIdText = 1402, kIdItems = 12825 };

    explicit CChgRstItemsPage(QWidget* parent = nullptr);

    // "&+" and "&-".
    void OnTipButtonClick(int id) override;
    QStringList Items() const;
    CRichTextCtrl* TextField() const { return m_text; }

protected:
    bool OnInitDialog() override;

private:
    void AddItem();
    void RemoveItem();

    QListWidget* m_items = nullptr;
    CRichTextCtrl* m_text = nullptr;
    CTipButton* m_add = nullptr;
    CTipButton* m_remove = nullptr;
};
