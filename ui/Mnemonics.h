#pragma once

#include <QString>

// A user's text (a project, company or person name) put into a menu
// entry, a button or a label with a mnemonic: every '&' doubled, so it shows
// as it is typed instead of underlining the next letter.
QString EscapeMnemonics(const QString& text);
