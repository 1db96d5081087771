#include "ui/Mnemonics.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>

QString EscapeMnemonics(const QString& text)
{
    QString escaped = text;
    return escaped.replace(QLatin1Char('&'), QLatin1String("&&"));
}

bool IsOwnMnemonic(const QWidget& window, const QKeyEvent& event)
{
    if (event.type() != QEvent::KeyPress && event.type() != QEvent::ShortcutOverride)
        return false;
    if ((event.modifiers() & ~Qt::KeypadModifier) != Qt::AltModifier)
        return false;
    const QKeySequence pressed(QKeyCombination(Qt::AltModifier, Qt::Key(event.key())));
    const QList<QWidget*> children = window.findChildren<QWidget*>();
    for (const QWidget* child : children) {
        if (child->window() != &window || !child->isVisibleTo(&window) || !child->isEnabled())
            continue;
        QString text;
        if (const auto* button = qobject_cast<const QAbstractButton*>(child))
            text = button->text();
        else if (const auto* box = qobject_cast<const QGroupBox*>(child))
            text = box->title();
        else if (const auto* label = qobject_cast<const QLabel*>(child); label && label->buddy())
            text = label->text();
        if (!text.isEmpty() && QKeySequence::mnemonic(text) == pressed)
            return true;
    }
    return false;
}
