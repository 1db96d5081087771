#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>

class CDialogBase;
class CRichTextCtrl;
class QMenu;
class QPoint;

// The right-click menu of the record dialogs' rich-text fields: "Select
// All", "Copy" and "Paste". A choice is posted to the dialog as a command
// of the same number, which hands it back here to apply to the field that
// opened the menu.
class CRichTextMenu : public QObject {
    Q_OBJECT
public:
    enum : int { kCmdSelectAll = 12905, kCmdCopy = 12904, kCmdPaste = 111 };

    explicit CRichTextMenu(CDialogBase* dialog);

    void Attach(CRichTextCtrl* field, int id);
    // Opens the menu for the field at a point of it.
    void Show(int fieldId, const QPoint& at);
    // Applies a menu command to the field that opened the menu and forgets
    // that field; false for any other command.
    bool OnCommand(int command);
    QMenu* Menu() const { return m_menu; }
    // The field whose menu is open; -1 for none.
    int OpenField() const { return m_openField; }

private:
    CDialogBase* m_dialog;
    QMenu* m_menu;
    QHash<int, QPointer<CRichTextCtrl>> m_fields;
    int m_openField = -1;
};
