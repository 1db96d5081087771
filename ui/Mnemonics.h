#pragma once

#include <QString>

class QKeyEvent;
class QWidget;

// A user's text (a project, company or person name) put into a menu
// entry, a button or a label with a mnemonic: every '&' doubled, so it shows
// as it is typed instead of underlining the next letter.
QString EscapeMnemonics(const QString& text);

// Whether the key press is the mnemonic (Alt and the underlined letter) of a
// button, a group box or a label with a buddy that the window shows itself.
bool IsOwnMnemonic(const QWidget& window, const QKeyEvent& event);
