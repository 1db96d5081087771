#pragma once

class CDBClass;

// Makes the hub run the weekly time-sheet workbook (when "XLSTS"/"xlsts"
// is 1) and the dialog that registers its template. The workbook reads
// through the given facade, or the application's when none is given.
void RegisterXlsTimeSheetWindows(CDBClass* db = nullptr);
