#pragma once

#include "ui/TabPage.h"

#include <QStringList>

class CRichTextCtrl;
class CRichTextMenu;
class CTipButton;
class ITipButtonOwner;
class QListWidget;

// The "&Item" page of "Edit Change Request": the item, and the actions
// taken on it, added and removed by "&+" and "&-" (which the dialog owns).
class CTabCRViewItems : public CTabPage {
    Q_OBJECT
public:
    enum : int {
        kIdAdd = 1090,
        kIdItem = 1248,
        kIdActions = 1255,
        kIdAction = 1256,
        kIdRemove = 1258,
    };
    CTabCRViewItems(ITipButtonOwner* buttons, QWidget* parent = nullptr);

    void Load(const QString& item, const QStringList& actions);
    QString Item() const;
    // Whether the item differs from the text loaded.
    bool ItemEdited() const;
    void ClearItem();
    QStringList Actions() const;
    void AddAction();
    void RemoveAction();
    CRichTextCtrl* ActionField() const { return m_action; }
    CRichTextCtrl* ItemField() const { return m_item; }

protected:
    bool OnInitDialog() override;
    bool OnPageCommand(int id) override;

private:
    CRichTextCtrl* m_item = nullptr;
    CRichTextCtrl* m_action = nullptr;
    QListWidget* m_actions = nullptr;
    CTipButton* m_add = nullptr;
    CTipButton* m_remove = nullptr;
    CRichTextMenu* m_textMenu = nullptr;
    QString m_loadedItem;
};
