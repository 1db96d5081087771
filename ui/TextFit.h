#pragma once

#include <QString>

#include <QList>

#include <functional>

// A text a window is about to write, and the column that takes it.
struct CColumnText {
    // The text as the message names it, first word capital: "The reference".
    QString subject;
    // In: the text as typed; out: the text to write.
    QString* text = nullptr;
    // The column's width in characters (0: no limit).
    int width = 0;
    // Shows a cut text where the user typed it.
    std::function<void(const QString&)> show = {};
    // The window's own words for a cut, where it has them.
    QString cutMessage = {};
};

// Checks texts before a window writes them, and tells the user in one
// message about all of them, so the record layer never cuts a text the
// window did not speak of:
// - a text holding half of a character (which no database can store) is
//   refused: false, and nothing is changed;
// - a text longer than its column is cut to it, where the user sees it.
bool FitToColumns(const QList<CColumnText>& texts);
