#pragma once

// Makes the hub run the time-sheet export and import dialogs on its Export
// and Import commands (from its menus and the tray's).
void RegisterExchangeWindows();
