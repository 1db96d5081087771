#pragma once

#include <QString>

class CMyAdoRecordSet;
class CUndoRecord;
class QObject;

// What the facade asks of the program around it. Each is set by its owner
// while it exists; the facade works without any of them.

// The shell: who is using the program.
class IFacadeHost {
public:
    virtual ~IFacadeHost() = default;
    // The user name the program runs as (the default user of the profile,
    // or the login name).
    virtual QString ApplicationUserName() const = 0;
    // The login name of the person at the desktop.
    virtual QString LoginName() const = 0;
    // Lets the user choose who they are (the name is read again afterwards).
    virtual void ChooseUser() = 0;
};

// The time-sheet window, while it is open.
class ITimeSheetView {
public:
    virtual ~ITimeSheetView() = default;
    // 0: comment lists preselect "ToDo"; 1: "Info".
    virtual int CommentSwitch() const = 0;
    // Re-apply a step of the time-sheet history (kinds as CUndoStep::Kind).
    // The window writes the entry again through the facade with fromHistory
    // set; the record stays owned by the history. True when the write
    // succeeded.
    virtual bool ApplyUndoStep(int kind, CUndoRecord* record) = 0;
    virtual bool ApplyRedoStep(int kind, CUndoRecord* record) = 0;
};

// Builds the window that shows the rows of a search.
class ISearchViewFactory {
public:
    virtual ~ISearchViewFactory() = default;
    // A view over the open recordset, owned by the caller's lists; shown as a
    // child of `parent` when one is given.
    virtual QObject* CreateSearchView(const QString& kind, const QString& text,
                                      CMyAdoRecordSet* rows, QObject* parent) = 0;
};
