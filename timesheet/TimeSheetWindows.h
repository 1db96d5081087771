#pragma once

// Makes the hub open the time-sheet window on its Timesheets command.
void RegisterTimeSheetWindows();
