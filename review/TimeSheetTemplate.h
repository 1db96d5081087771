#pragma once

#include <QString>

class IOfficeDocuments;

// Kelvane's own weekly time-sheet workbook, the template a user has until
// they register one of their own: a sheet laid out for the macros, and the
// macros from the Basic source kept with the program.
class CTimeSheetTemplate {
public:
    static constexpr const char* kFileName = "TSExcel.xls";
    static constexpr const char* kModuleName = "TimeSheet";

    // The macros' Basic source (VBA).
    static QString MacroSource();
    // Where the template is made and its workbooks are saved when no folder
    // is registered: the user's documents folder.
    static QString DefaultFolder();
    static QString DefaultPath();
    // Makes the workbook at the path, replacing nothing until it is
    // complete; throws COfficeError.
    static void Build(IOfficeDocuments& documents, const QString& path);
};
