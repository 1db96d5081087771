#pragma once

#include <QCoreApplication>
#include <QKeyEvent>
#include <QString>
#include <QWidget>

// Types text as a keyboard does: one key event per character, a character
// outside the basic plane (an emoji) in one event with both its halves, as
// input methods deliver it. (QTest::keyClicks sends half characters.)
inline void TypeCharacters(QWidget* widget, const QString& text)
{
    for (qsizetype at = 0; at < text.size();) {
        const qsizetype units = text.at(at).isHighSurrogate() && at + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(at, units);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, character);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, character);
        QCoreApplication::sendEvent(widget, &press);
        QCoreApplication::sendEvent(widget, &release);
        at += units;
    }
}
