#pragma once

class QWidget;

// The width a top-level window needs for the desktop to show its whole
// caption: the text in a title bar's bold font, and room for the window's
// icon and its buttons on either side.
int CaptionWidth(const QWidget& window);

// Widens a window that is narrower than its caption, at most to the width
// of its screen; its height and a wider window stay as they are.
void WidenToCaption(QWidget& window);
