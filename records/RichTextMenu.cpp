#include "records/RichTextMenu.h"

#include "ui/DialogBase.h"
#include "ui/RichTextCtrl.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>

CRichTextMenu::CRichTextMenu(CDialogBase* dialog)
    : QObject(dialog)
    , m_dialog(dialog)
    , m_menu(new QMenu(dialog))
{}

void CRichTextMenu::Attach(CRichTextCtrl* field, int id)
{
    m_fields.insert(id, field);
    field->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(field, &QWidget::customContextMenuRequested, this,
            [this, id](const QPoint& at) { Show(id, at); });
}

void CRichTextMenu::Show(int fieldId, const QPoint& at)
{
    CRichTextCtrl* field = m_fields.value(fieldId);
    if (!field)
        return;
    m_openField = fieldId;
    m_menu->clear();
    const bool empty = field->document()->isEmpty();
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const bool canPaste = clipboard && !clipboard->text().isEmpty();
    const auto add = [this](const QString& text, int command, bool enabled) {
        QAction* action = m_menu->addAction(text);
        action->setObjectName(QStringLiteral("cmd%1").arg(command));
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, m_dialog,
                [this, command] { m_dialog->PostCommand(command); });
    };
    add(QStringLiteral("Select All"), kCmdSelectAll, !empty);
    add(QStringLiteral("Copy"), kCmdCopy, !empty);
    add(QStringLiteral("Paste"), kCmdPaste, canPaste);
    m_menu->popup(field->mapToGlobal(at));
}

bool CRichTextMenu::OnCommand(int command)
{
    if (command != kCmdSelectAll && command != kCmdCopy && command != kCmdPaste)
        return false;
    CRichTextCtrl* field = m_fields.value(m_openField);
    m_openField = -1;
    if (!field)
        return true;
    field->setFocus();
    if (command == kCmdSelectAll) {
        field->selectAll();
    } else if (command == kCmdCopy) {
        field->copy();
    } else {
        field->paste();
    }
    return true;
}
