#pragma once

#include <QString>

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

// The row of a dialog's OK (the default button, with its own text) and
// Cancel buttons, at the right.
QHBoxLayout* OkCancelRow(CDialogBase& dialog, const QString& okText);
