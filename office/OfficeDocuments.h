#pragma once

#include <QString>

#include <memory>

class ISpreadsheet;
class ITextDocument;

// Where windows get their office documents and hand the finished ones to
// the user. Every operation throws COfficeError (kUnavailable where the
// office is not installed).
class IOfficeDocuments {
public:
    virtual ~IOfficeDocuments() = default;

    virtual std::unique_ptr<ISpreadsheet> NewSpreadsheet() = 0;
    // An untitled copy of the workbook at the path, as a template opens: the
    // file stays untouched and unlocked, whatever happens to the office.
    virtual std::unique_ptr<ISpreadsheet> OpenSpreadsheet(const QString& path) = 0;
    virtual std::unique_ptr<ITextDocument> NewTextDocument() = 0;

    // Gives the user the finished document, unsaved, in the desktop's office
    // program; without a desktop it is stored as a file in the documents
    // folder instead. The document is closed; returns the file written.
    virtual QString Present(ISpreadsheet& sheet, const QString& title) = 0;
    virtual QString Present(ITextDocument& document, const QString& title) = 0;
};
