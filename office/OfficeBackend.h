#pragma once

#include <QString>

#include <memory>

class ISpreadsheet;
class ITextDocument;

// The back end in the office's own library, which the program loads at run
// time, so the program runs where the office is not installed. It speaks to
// an office the program started; documents stay valid while it is connected.
class IOfficeBackend {
public:
    virtual ~IOfficeBackend() = default;

    // The office's launcher, to start it with.
    virtual QString OfficeProgram() const = 0;
    // Connects to the office listening on the pipe. False while nobody
    // listens there yet; throws COfficeError for any other failure.
    virtual bool Connect(const QString& pipeName) = 0;
    // Whether the connected office still answers.
    virtual bool IsConnected() = 0;
    // Forgets the office without asking it anything (it has gone).
    virtual void Disconnect() = 0;
    // Asks the office to end, then forgets it.
    virtual void Terminate() = 0;

    virtual std::unique_ptr<ISpreadsheet> NewSpreadsheet() = 0;
    // An untitled copy of a workbook (a template) with its macros enabled;
    // the file itself is neither changed nor locked (SaveAs stores the copy).
    virtual std::unique_ptr<ISpreadsheet> OpenSpreadsheet(const QString& path) = 0;
    virtual std::unique_ptr<ITextDocument> NewTextDocument() = 0;
};

// The one symbol the back-end library exports: the back end for this
// interface version, or null when the versions differ.
inline constexpr int kOfficeBackendVersion = 1;
inline constexpr const char* kOfficeBackendEntry = "KelvaneOfficeBackend";
using OfficeBackendEntry = IOfficeBackend* (*)(int version);
