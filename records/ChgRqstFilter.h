#pragma once

#include "records/BoundFilter.h"

struct CChgRqstRow;

// The conditions of the change-request list's query.
class CChgRqstFilter {
public:
    // The list's condition: the project (-1: all), the team member and the
    // authority (ids; below 0 for "Any"), only requests not completed, and
    // the priority ("" for none). Clauses are joined by " AND ".
    static CBoundFilter Build(int projId, int teamEmpId, int authorityId, bool openOnly,
                              const QString& priority);
    // The same condition as the list's query runs it: the rows of Build's,
    // read through the indexes of both tables where Build's alone leaves the
    // back end to read every request. Its text is Build's.
    static CBoundFilter ForQuery(int projId, int teamEmpId, int authorityId, bool openOnly,
                                 const QString& priority);
    // A request is open while its completion date is none, zero or before 1900.
    static CBoundFilter OpenRequests();
    // "Filter by" a cell: its column's stored value (a date by its day);
    // false when the cell shows nothing.
    static bool ForColumn(const CChgRqstRow& row, int kind, CBoundFilter& out);
};
