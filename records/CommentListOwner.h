#pragma once

// What the comment edit dialog asks of the comments window that runs it.
class ICommentListOwner {
public:
    virtual ~ICommentListOwner() = default;
    virtual int CommentRowCount() const = 0;
    // Leaves the old row and views the new one, which loads it into the
    // running edit dialog.
    virtual void StepToCommentRow(int oldRow, int newRow) = 0;
    // The list again, after the dialog wrote a row.
    virtual void RefreshComments() = 0;
};
