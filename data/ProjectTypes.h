#pragma once

#include <QString>

// One member of a project as the project information lists it.
struct CProjectMember {
    int EmpID = -1;
    QString Name;
    // The hours the member booked on the project.
    double Hours = 0;
};

// How a delete of a project task ended. The windows word the message.
enum class TaskDeleteResult {
    Ok,
    NotFound, // the task is gone
    InUse,    // time-sheet rows or comments point at it; nothing was deleted
    Failed,   // the database refused; nothing was deleted
};

// The state of a task the time sheet offers.
constexpr int kTaskStateActive = 2;
// What a task becomes that is kept only for the rows booked to it.
constexpr int kTaskStateNotActive = 0;
