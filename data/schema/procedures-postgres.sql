-- The stored procedures of a Kelvane database on the server.

-- Inserts one time-sheet row. The first column of the result is the new
-- row's TimesheetID; a non-zero ErrorFlag refuses the write with ErrorText.
CREATE FUNCTION sp_TimeSheetInsert(
    p_EmpID integer, p_ProjID integer, p_OrderID integer, p_WorkDate timestamp,
    p_StartTime timestamp, p_StopTime timestamp, p_HoursWorked real, p_TaskID integer,
    p_Comment text, p_InvCost numeric, p_WorkTypeID integer, p_TimeID integer, p_InvID integer,
    p_ObjectTypeID integer, p_ObjectID integer)
RETURNS TABLE (TimesheetID integer, ErrorFlag integer, ErrorText text)
LANGUAGE plpgsql AS $$
#variable_conflict use_column
DECLARE
    v_id integer;
BEGIN
    -- One writer at a time per employee and day: two clients booking at
    -- once cannot both pass the overlap test.
    PERFORM pg_advisory_xact_lock(p_EmpID, p_WorkDate::date - DATE '2000-01-01');
    IF EXISTS (SELECT 1 FROM tblTimeSheet t
               WHERE t.EmpID = p_EmpID AND t.WorkDate = p_WorkDate AND t.TimeID = p_TimeID) THEN
        RETURN QUERY SELECT NULL::integer, 2, 'This entry already exists'::text;
        RETURN;
    END IF;
    IF EXISTS (SELECT 1 FROM tblTimeSheet t
               WHERE t.EmpID = p_EmpID AND t.WorkDate = p_WorkDate
                 AND t.StartTime < p_StopTime AND t.StopTime > p_StartTime) THEN
        RETURN QUERY SELECT NULL::integer, 1, 'This entry overlaps another entry'::text;
        RETURN;
    END IF;
    INSERT INTO tblTimeSheet (EmpID, ProjID, OrderID, WorkDate, StartTime, StopTime, HoursWorked,
                              TaskID, Comment, InvCost, WorkTypeID, TimeID, InvID, ObjectTypeID,
                              ObjectID)
    VALUES (p_EmpID, p_ProjID, p_OrderID, p_WorkDate, p_StartTime, p_StopTime, p_HoursWorked,
            p_TaskID, p_Comment, p_InvCost, p_WorkTypeID, p_TimeID, p_InvID, p_ObjectTypeID,
            p_ObjectID)
    RETURNING tblTimeSheet.TimesheetID INTO v_id;
    RETURN QUERY SELECT v_id, 0, ''::text;
END;
$$;

-- Rewrites the row of (EmpID, WorkDate, TimeID); the result as above.
CREATE FUNCTION sp_TimeSheetUpdate(
    p_EmpID integer, p_ProjID integer, p_OrderID integer, p_WorkDate timestamp,
    p_StartTime timestamp, p_StopTime timestamp, p_HoursWorked real, p_TaskID integer,
    p_Comment text, p_InvCost numeric, p_WorkTypeID integer, p_TimeID integer, p_InvID integer,
    p_ObjectTypeID integer, p_ObjectID integer)
RETURNS TABLE (TimesheetID integer, ErrorFlag integer, ErrorText text)
LANGUAGE plpgsql AS $$
#variable_conflict use_column
DECLARE
    v_id integer;
BEGIN
    PERFORM pg_advisory_xact_lock(p_EmpID, p_WorkDate::date - DATE '2000-01-01');
    SELECT t.TimesheetID INTO v_id FROM tblTimeSheet t
    WHERE t.EmpID = p_EmpID AND t.WorkDate = p_WorkDate AND t.TimeID = p_TimeID;
    IF v_id IS NULL THEN
        RETURN QUERY SELECT NULL::integer, 3, 'This entry does not exist anymore'::text;
        RETURN;
    END IF;
    IF EXISTS (SELECT 1 FROM tblTimeSheet t
               WHERE t.EmpID = p_EmpID AND t.WorkDate = p_WorkDate AND t.TimeID <> p_TimeID
                 AND t.StartTime < p_StopTime AND t.StopTime > p_StartTime) THEN
        RETURN QUERY SELECT v_id, 1, 'This entry overlaps another entry'::text;
        RETURN;
    END IF;
    UPDATE tblTimeSheet t
    SET ProjID = p_ProjID, OrderID = p_OrderID, StartTime = p_StartTime, StopTime = p_StopTime,
        HoursWorked = p_HoursWorked, TaskID = p_TaskID, Comment = p_Comment,
        InvCost = p_InvCost, WorkTypeID = p_WorkTypeID, InvID = p_InvID,
        ObjectTypeID = p_ObjectTypeID, ObjectID = p_ObjectID
    WHERE t.TimesheetID = v_id;
    RETURN QUERY SELECT v_id, 0, ''::text;
END;
$$;

-- Deletes one row by its TimesheetID; the number of rows deleted.
CREATE FUNCTION sp_TimesheetDelete(p_TimesheetID integer)
RETURNS integer
LANGUAGE sql AS $$
    WITH gone AS (DELETE FROM tblTimeSheet WHERE TimesheetID = p_TimesheetID RETURNING 1)
    SELECT count(*)::integer FROM gone;
$$;

-- Sets every task's actual hours (of one project, or of all when the id is
-- NULL or negative) to the hours booked on it; the number of tasks updated.
CREATE FUNCTION up_adminBuildProjectTotals(p_ProjID integer DEFAULT NULL)
RETURNS integer
LANGUAGE sql AS $$
    WITH done AS (
        UPDATE tblProjectTask k
        SET ActHours = COALESCE((SELECT SUM(t.HoursWorked) FROM tblTimeSheet t
                                 WHERE t.TaskID = k.TaskID), 0)
        WHERE p_ProjID IS NULL OR p_ProjID < 0 OR k.ProjID = p_ProjID
        RETURNING 1)
    SELECT count(*)::integer FROM done;
$$;

-- The orders of the projects an employee may book.
CREATE FUNCTION sp_projectTaskOrdersGetByEmpID(p_EmpID integer)
RETURNS TABLE (OrderCode text, OrderID integer, IsDefault integer, OrderHourRate numeric,
               ProjID integer, IsDone integer)
LANGUAGE sql STABLE AS $$
    SELECT o.OrderCode::text, o.OrderID, o.IsDefault::integer, o.OrderHourRate, o.ProjID,
           o.IsDone::integer
    FROM tblProjectOrderBook o
    WHERE o.ProjID IN (SELECT q.ProjID FROM qselProjTeamAndProject q WHERE q.EmpID = p_EmpID)
    ORDER BY o.ProjID, o.OrderID;
$$;

-- Marks the staged copies of an employee that clash with booked rows: those
-- of one scheduling session (BatchID), or with a NULL session all of them;
-- the number of copies marked.
CREATE FUNCTION qupdTimeSheetClash(p_EmpID integer, p_BatchID integer)
RETURNS integer
LANGUAGE sql AS $$
    WITH marked AS (
        UPDATE tblTimeSheet_ImportExport tIE SET IgnoreThis = 1
        WHERE tIE.EmpID = p_EmpID AND (p_BatchID IS NULL OR tIE.BatchID = p_BatchID)
          AND EXISTS (SELECT 1 FROM qselTimeSheetForEmployee t
                      WHERE t.EmpID = tIE.EmpID AND t.WorkDate = tIE.WorkDate
                        AND ((tIE.StartTime >= t.StartTime AND tIE.StartTime < t.StopTime)
                          OR (tIE.StopTime > t.StartTime AND tIE.StopTime <= t.StopTime)
                          OR (t.StopTime > tIE.StartTime AND t.StopTime <= tIE.StopTime)))
        RETURNING 1)
    SELECT count(*)::integer FROM marked;
$$;

CREATE FUNCTION qupdTimeSheetClash(p_EmpID integer)
RETURNS integer
LANGUAGE sql AS $$
    SELECT qupdTimeSheetClash(p_EmpID, NULL);
$$;

-- Books the staged copies of an employee (and session, as above) that are
-- not marked; the number booked.
CREATE FUNCTION qappTimeSheet_Import(p_EmpID integer, p_BatchID integer)
RETURNS integer
LANGUAGE sql AS $$
    WITH booked AS (
        INSERT INTO tblTimeSheet (EmpID, ProjID, OrderID, WorkDate, StartTime, StopTime,
                                  HoursWorked, TaskID, Comment, InvCost, WorkTypeID, TimeID)
        SELECT EmpID, ProjID, OrderID, WorkDate, StartTime, StopTime, HoursWorked, TaskID,
               Comment, InvCost, WorkTypeID, TimeID
        FROM tblTimeSheet_ImportExport
        WHERE EmpID = p_EmpID AND (p_BatchID IS NULL OR BatchID = p_BatchID) AND IgnoreThis = 0
        RETURNING 1)
    SELECT count(*)::integer FROM booked;
$$;

CREATE FUNCTION qappTimeSheet_Import(p_EmpID integer)
RETURNS integer
LANGUAGE sql AS $$
    SELECT qappTimeSheet_Import(p_EmpID, NULL);
$$;
