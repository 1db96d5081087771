#pragma once

#include <QString>

#include <functional>
#include <initializer_list>

class CDialogBase;
class QHBoxLayout;

// A line edit of a dialog, by its control id, and the text it stands for.
struct CTextField {
    int id;
    QString* value;
};

// Shows the texts in the dialog's line edits, or (save) reads them back.
void ExchangeTexts(CDialogBase& dialog, std::initializer_list<CTextField> fields, bool save);

// Shows a text in the dialog's line edit or text box with the control id
// (for a text cut to its column, see FitToColumns).
std::function<void(const QString&)> ShowInControl(CDialogBase& dialog, int id);

// The row of a dialog's OK (the default button, with its own text) and
// Cancel buttons, at the right.
QHBoxLayout* OkCancelRow(CDialogBase& dialog, const QString& okText);
