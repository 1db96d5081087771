#pragma once

class QMenu;

// The record windows a window's main menu offers (Contacts, Comments,
// Change Requests) come and go with the options: checked each time the
// menu opens.
void ShowRecordWindowsByOptions(QMenu* menu);
