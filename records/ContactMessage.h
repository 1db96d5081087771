#pragma once

#include <QString>

// A message of the address book's windows, with what the database said (when
// it said anything) on a second line.
void ShowContactMessage(const QString& text, const QString& reason = QString());
