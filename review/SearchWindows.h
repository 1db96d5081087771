#pragma once

// Makes the hub open the search dialog on its Search commands and the
// browser dialog with the manual on Online Help.
void RegisterSearchWindows();
