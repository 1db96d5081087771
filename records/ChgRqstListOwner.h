#pragma once

// What the change-request edit dialog asks of the list window that runs it.
class IChgRqstListOwner {
public:
    virtual ~IChgRqstListOwner() = default;
    virtual int ChgRqstRowCount() const = 0;
    // Leaves the old row, selects the new one and loads it into the running
    // edit dialog.
    virtual void StepToChgRqstRow(int oldRow, int newRow) = 0;
    // The list again, after the dialog wrote a request.
    virtual void RefreshChangeRequests() = 0;
};
