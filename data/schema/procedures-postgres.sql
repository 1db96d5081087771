-- The stored procedures of a Kelvane database on the server.

-- Rows are the employee's rows of the day of p_WorkDate, whatever time of
-- day their WorkDate carries, with their times as the time sheet reads them
-- (@rowminute, @rowoverlaps): rows that only touch do not overlap, and a row
-- stored without times overlaps nothing.

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
    v_start integer := @rowminute(p_WorkDate, p_StartTime);
    v_stop integer := @rowminute(p_WorkDate, p_StopTime);
BEGIN
    -- One writer at a time per employee and day: two clients booking at
    -- once cannot both pass the overlap test.
    PERFORM pg_advisory_xact_lock(p_EmpID, p_WorkDate::date - DATE '2000-01-01');
    IF EXISTS (SELECT 1 FROM tblTimeSheet t
               WHERE t.EmpID = p_EmpID AND t.WorkDate >= @daystart(p_WorkDate)
                 AND t.WorkDate < @nextday(p_WorkDate) AND t.TimeID = p_TimeID) THEN
        RETURN QUERY SELECT NULL::integer, 2, 'This entry already exists'::text;
        RETURN;
    END IF;
    IF EXISTS (SELECT 1 FROM tblTimeSheet t
               WHERE t.EmpID = p_EmpID AND t.WorkDate >= @daystart(p_WorkDate)
                 AND t.WorkDate < @nextday(p_WorkDate) AND @rowoverlaps(t, v_start, v_stop)) THEN
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

-- Rewrites the row of (EmpID, the day of WorkDate, TimeID); the result as
-- above.
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
    v_start integer := @rowminute(p_WorkDate, p_StartTime);
    v_stop integer := @rowminute(p_WorkDate, p_StopTime);
BEGIN
    PERFORM pg_advisory_xact_lock(p_EmpID, p_WorkDate::date - DATE '2000-01-01');
    SELECT t.TimesheetID INTO v_id FROM tblTimeSheet t
    WHERE t.EmpID = p_EmpID AND t.WorkDate >= @daystart(p_WorkDate)
      AND t.WorkDate < @nextday(p_WorkDate) AND t.TimeID = p_TimeID
    ORDER BY t.TimesheetID LIMIT 1;
    IF v_id IS NULL THEN
        RETURN QUERY SELECT NULL::integer, 3, 'This entry does not exist anymore'::text;
        RETURN;
    END IF;
    IF EXISTS (SELECT 1 FROM tblTimeSheet t
               WHERE t.EmpID = p_EmpID AND t.WorkDate >= @daystart(p_WorkDate)
                 AND t.WorkDate < @nextday(p_WorkDate) AND t.TimesheetID <> v_id
                 AND @rowoverlaps(t, v_start, v_stop)) THEN
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
        SET ActHours = COALESCE((SELECT SUM(CAST(t.HoursWorked AS DOUBLE PRECISION))
                                 FROM tblTimeSheet t WHERE t.TaskID = k.TaskID), 0)
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
          AND @stagedclash(tIE)
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

-- ---- The employee overview ------------------------------------------------
-- Each function returns one XML document. The overview reads the summary's
-- elements by name, takes an element's first attribute as its id and its
-- second as the name it shows, and offers filters on Project/@State,
-- ChgReq/@Role, ChgReq/@Priority, Timesheets/@Year and Comments/@Year. The
-- pages' style sheets sort on the attributes of the rows: numbers are plain
-- digits (a day as yyyymmdd, a moment as yyyymmddhhmi, 0 for none), texts
-- go through tvx_xmlText and are escaped by the XML functions; a NULL text
-- is "". Hours are summed in double precision: the columns are single
-- precision, and a running sum in single precision drifts by hundredths
-- within a few thousand rows. Start and Stop are the times as the time
-- sheet reads them (@rowminute): a stop stored as 23:59 or at the next
-- midnight is "24:00", a row without times has "" for both.
--
-- tvx_empSummary(EmpID): <EmpSummary EmpID Name> holding, in this order:
--   <Project ProjID Name State/>            the employee's projects (see
--                                           tvx_empProjectIds), by name
--   <Timesheets Month Name Year Hours Entries/>  a month with booked time,
--                                           latest first; Month is yyyymm
--   <ChgReq ChgReqID Item Role Priority/>   requests the employee raised, is
--                                           on the team of or has an action
--                                           in, latest first; Role is the
--                                           request's status name
--   <Comments Month Name Year Count/>       a month with comments the
--                                           employee wrote (undated ones are
--                                           left out), latest first
-- bv_GetProjInfoEmpID(EmpID): <EmpProjects EmpID Name Hours> with
--   <Project ProjID Name State fullName Hours ActHours EstHours LastDay
--   LastDate/> per project (fullName: the leader; Hours: the employee's;
--   ActHours, EstHours: the tasks' totals; LastDay: the employee's last day
--   booked on it).
-- bv_getProjectInfoProjID(ProjID): <ProjectInfo ProjID Name CustName State
--   fullName Company StartDate StopDate EstHours ActHours Abstract> with
--   <Task TaskID Task OrderCode State EstHours ActHours fullName/> per task
--   (fullName: allocated to) and <Member EmpID fullName Hours Entries LastDay
--   LastDate/> per employee who booked on it. ProjID is left out for an
--   unknown project.
-- lv_GetTimesheetInfoEmpID(EmpID, ProjID, Month): <TimesheetList EmpID Name
--   Month Title Hours Entries> with <Entry TimesheetID When Date Weekday
--   Start Stop Hours Project Task OrderCode Comment/> per row, in time order;
--   ProjID 0 is every project, Month (yyyymm) 0 is every month.
-- bv_GetChgReqInfoChgReqID(ChgReqID): <ChgReqInfo ChgReqID Item Project
--   Company Contact Reference State Priority PriorityText Created Completed
--   fullName FullDetail> with <Action ChgActionID Day Assigned fullName State
--   Comment Version DoneDay Done/> per action and <Member EmpID fullName
--   Comment/> per team member. ChgReqID is left out for an unknown request.
-- lv_GetCommentInfoEmpID(EmpID, ProjID, Month): <CommentList EmpID Name
--   Month Title Count> with <Comment CommentID Day Date Project State
--   Priority PriorityText Name ActionDay ActionDate Comment Reference/> per
--   comment of the employee (State: the comment type; Name: the contact);
--   ProjID and Month as above.

-- A stored text as XML can carry it, NULL as "": the control characters
-- XML 1.0 has no place for (all but tab, line feed and carriage return) and
-- U+FFFE, U+FFFF are left out, so that a pasted character never makes a
-- document the overview cannot read.
CREATE FUNCTION tvx_xmlText(p_Text text)
RETURNS text
LANGUAGE sql IMMUTABLE AS $$
    SELECT regexp_replace(COALESCE(p_Text, ''),
                          '[\u0001-\u0008\u000B\u000C\u000E-\u001F\uFFFE\uFFFF]', '', 'g');
$$;

-- The projects an employee leads, is on the team of or has booked on.
CREATE FUNCTION tvx_empProjectIds(p_EmpID integer)
RETURNS TABLE (ProjID integer)
LANGUAGE sql STABLE AS $$
    SELECT p.ProjID FROM tblProject p WHERE p.ProjLeader = p_EmpID
    UNION
    SELECT pt.ProjID FROM tblProjectTeam pt WHERE pt.EmpID = p_EmpID
    UNION
    SELECT t.ProjID FROM tblTimeSheet t WHERE t.EmpID = p_EmpID AND t.ProjID IS NOT NULL;
$$;

-- The employee's full name; NULL for an unknown employee.
CREATE FUNCTION tvx_empName(p_EmpID integer)
RETURNS text
LANGUAGE sql STABLE AS $$
    SELECT tvx_xmlText(e.EmpFullName::text) FROM tblFinEmployee e WHERE e.EmpID = p_EmpID;
$$;

-- The first day of a yyyymm month; NULL for 0 and for anything that is no month.
CREATE FUNCTION tvx_monthStart(p_Month integer)
RETURNS date
LANGUAGE sql IMMUTABLE AS $$
    SELECT CASE WHEN p_Month % 100 BETWEEN 1 AND 12 AND p_Month / 100 BETWEEN 1 AND 9999
                THEN make_date(p_Month / 100, p_Month % 100, 1) END;
$$;

-- Whether a moment lies in a yyyymm month: any moment for month 0 (or less),
-- none for anything that is no month.
CREATE FUNCTION tvx_inMonth(p_When timestamp, p_Month integer)
RETURNS boolean
LANGUAGE sql IMMUTABLE AS $$
    SELECT p_Month <= 0 OR (p_When >= tvx_monthStart(p_Month)
                            AND p_When < tvx_monthStart(p_Month) + interval '1 month');
$$;

CREATE FUNCTION tvx_empSummary(p_EmpID integer)
RETURNS xml
LANGUAGE sql STABLE AS $$
    SELECT xmlelement(name "EmpSummary",
        xmlattributes(p_EmpID AS "EmpID",
                      tvx_empName(p_EmpID) AS "Name"),
        (SELECT xmlagg(xmlelement(name "Project",
                    xmlattributes(p.ProjID AS "ProjID", tvx_xmlText(p.ProjName::text) AS "Name",
                                  tvx_xmlText(s.StateName::text) AS "State"))
                ORDER BY p.ProjName, p.ProjID)
         FROM tblProject p
         LEFT JOIN tlkpProjectState s ON s.PS_ID = p.ProjState
         WHERE p.ProjID IN (SELECT m.ProjID FROM tvx_empProjectIds(p_EmpID) m)),
        (SELECT xmlagg(xmlelement(name "Timesheets",
                    xmlattributes(to_char(b.Month, 'YYYYMM') AS "Month",
                                  to_char(b.Month, 'FMMonth YYYY') AS "Name",
                                  extract(year FROM b.Month)::integer AS "Year",
                                  to_char(b.Hours, 'FM999999990.00') AS "Hours",
                                  b.Entries AS "Entries"))
                ORDER BY b.Month DESC)
         FROM (SELECT date_trunc('month', t.WorkDate) AS Month,
                      sum(CAST(t.HoursWorked AS DOUBLE PRECISION)) AS Hours, count(*) AS Entries
               FROM tblTimeSheet t WHERE t.EmpID = p_EmpID GROUP BY 1) b),
        (SELECT xmlagg(xmlelement(name "ChgReq",
                    xmlattributes(c.ChgReqID AS "ChgReqID", tvx_xmlText(c.Item::text) AS "Item",
                                  tvx_xmlText(st.StatusName::text) AS "Role",
                                  COALESCE(c.Priority, 0) AS "Priority"))
                ORDER BY c.DateCreated DESC NULLS LAST, c.ChgReqID DESC)
         FROM tblChgReq c
         LEFT JOIN tlkpStatus st ON st.StatusID = c.StatusID
         -- The ids first, each through its index: conditions joined by OR
         -- would read every request of the company.
         WHERE c.ChgReqID IN (SELECT r.ChgReqID FROM tblChgReq r WHERE r.EmpID = p_EmpID
                              UNION
                              SELECT tm.ChgReqID FROM tblChgReqTeam tm WHERE tm.EmpID = p_EmpID
                              UNION
                              SELECT a.ChgReqID FROM tblChgReqAction a WHERE a.EmpID = p_EmpID)),
        (SELECT xmlagg(xmlelement(name "Comments",
                    xmlattributes(to_char(b.Month, 'YYYYMM') AS "Month",
                                  to_char(b.Month, 'FMMonth YYYY') AS "Name",
                                  extract(year FROM b.Month)::integer AS "Year",
                                  b.Count AS "Count"))
                ORDER BY b.Month DESC)
         FROM (SELECT date_trunc('month', k.CommentDate) AS Month, count(*) AS Count
               FROM tblProjectComment k
               WHERE k.EmpID = p_EmpID AND k.CommentDate IS NOT NULL GROUP BY 1) b));
$$;

CREATE FUNCTION bv_GetProjInfoEmpID(p_EmpID integer)
RETURNS xml
LANGUAGE sql STABLE AS $$
    -- The employee's rows are read once: the projects booked on come from
    -- their sums (as in tvx_empProjectIds).
    WITH booked AS (
        SELECT t.ProjID, sum(CAST(t.HoursWorked AS DOUBLE PRECISION)) AS Hours,
               max(t.WorkDate) AS LastDay
        FROM tblTimeSheet t WHERE t.EmpID = p_EmpID GROUP BY t.ProjID),
    mine AS (
        SELECT p.ProjID FROM tblProject p WHERE p.ProjLeader = p_EmpID
        UNION
        SELECT pt.ProjID FROM tblProjectTeam pt WHERE pt.EmpID = p_EmpID
        UNION
        SELECT b.ProjID FROM booked b WHERE b.ProjID IS NOT NULL),
    tasks AS (
        SELECT k.ProjID, sum(CAST(k.ActHours AS DOUBLE PRECISION)) AS ActHours,
               sum(CAST(k.EstHours AS DOUBLE PRECISION)) AS EstHours
        FROM tblProjectTask k WHERE k.ProjID IN (SELECT ProjID FROM mine) GROUP BY k.ProjID)
    SELECT xmlelement(name "EmpProjects",
        xmlattributes(p_EmpID AS "EmpID",
                      tvx_empName(p_EmpID) AS "Name",
                      (SELECT to_char(COALESCE(sum(b.Hours), 0), 'FM999999990.00')
                       FROM booked b) AS "Hours"),
        (SELECT xmlagg(xmlelement(name "Project",
                    xmlattributes(p.ProjID AS "ProjID", tvx_xmlText(p.ProjName::text) AS "Name",
                                  tvx_xmlText(s.StateName::text) AS "State",
                                  tvx_xmlText(l.EmpFullName::text) AS "fullName",
                                  to_char(COALESCE(b.Hours, 0), 'FM999999990.00') AS "Hours",
                                  to_char(COALESCE(k.ActHours, 0), 'FM999999990.00') AS "ActHours",
                                  to_char(COALESCE(k.EstHours, 0), 'FM999999990.00') AS "EstHours",
                                  COALESCE(to_char(b.LastDay, 'YYYYMMDD'), '0') AS "LastDay",
                                  COALESCE(to_char(b.LastDay, 'YYYY-MM-DD'), '') AS "LastDate"))
                ORDER BY p.ProjName, p.ProjID)
         FROM tblProject p
         LEFT JOIN booked b ON b.ProjID = p.ProjID
         LEFT JOIN tasks k ON k.ProjID = p.ProjID
         LEFT JOIN tlkpProjectState s ON s.PS_ID = p.ProjState
         LEFT JOIN tblFinEmployee l ON l.EmpID = p.ProjLeader
         WHERE p.ProjID IN (SELECT ProjID FROM mine)));
$$;

CREATE FUNCTION bv_getProjectInfoProjID(p_ProjID integer)
RETURNS xml
LANGUAGE sql STABLE AS $$
    SELECT xmlelement(name "ProjectInfo",
        xmlattributes(p.ProjID AS "ProjID", tvx_xmlText(p.ProjName::text) AS "Name",
                      tvx_xmlText(p.CustProjName::text) AS "CustName",
                      tvx_xmlText(s.StateName::text) AS "State",
                      tvx_xmlText(l.EmpFullName::text) AS "fullName",
                      tvx_xmlText(c.CompanyName::text) AS "Company",
                      COALESCE(to_char(p.ProjStartDate, 'YYYY-MM-DD'), '') AS "StartDate",
                      COALESCE(to_char(p.ProjStopDate, 'YYYY-MM-DD'), '') AS "StopDate",
                      (SELECT to_char(COALESCE(sum(CAST(k.EstHours AS DOUBLE PRECISION)), 0),
                                      'FM999999990.00')
                       FROM tblProjectTask k WHERE k.ProjID = p.ProjID) AS "EstHours",
                      (SELECT to_char(COALESCE(sum(CAST(k.ActHours AS DOUBLE PRECISION)), 0),
                                      'FM999999990.00')
                       FROM tblProjectTask k WHERE k.ProjID = p.ProjID) AS "ActHours",
                      tvx_xmlText(p.Abstract::text) AS "Abstract"),
        (SELECT xmlagg(xmlelement(name "Task",
                    xmlattributes(k.TaskID AS "TaskID", tvx_xmlText(k.Task::text) AS "Task",
                                  tvx_xmlText(o.OrderCode::text) AS "OrderCode",
                                  CASE WHEN k.State = 2 THEN 'Active' ELSE 'Closed' END AS "State",
                                  to_char(COALESCE(k.EstHours, 0), 'FM999999990.00') AS "EstHours",
                                  to_char(COALESCE(k.ActHours, 0), 'FM999999990.00') AS "ActHours",
                                  tvx_xmlText(a.EmpFullName::text) AS "fullName"))
                ORDER BY k.TaskOrder, k.TaskID)
         FROM tblProjectTask k
         LEFT JOIN tblProjectOrderBook o ON o.OrderID = k.OrderID
         LEFT JOIN tblFinEmployee a ON a.EmpID = k.AllocatedTo
         WHERE k.ProjID = p.ProjID),
        (SELECT xmlagg(xmlelement(name "Member",
                    xmlattributes(b.EmpID AS "EmpID",
                                  tvx_xmlText(e.EmpFullName::text) AS "fullName",
                                  to_char(b.Hours, 'FM999999990.00') AS "Hours",
                                  b.Entries AS "Entries",
                                  to_char(b.LastDay, 'YYYYMMDD') AS "LastDay",
                                  to_char(b.LastDay, 'YYYY-MM-DD') AS "LastDate"))
                ORDER BY e.EmpFullName, b.EmpID)
         FROM (SELECT t.EmpID, sum(CAST(t.HoursWorked AS DOUBLE PRECISION)) AS Hours,
                      count(*) AS Entries, max(t.WorkDate) AS LastDay
               FROM tblTimeSheet t WHERE t.ProjID = p.ProjID GROUP BY t.EmpID) b
         LEFT JOIN tblFinEmployee e ON e.EmpID = b.EmpID))
    FROM (SELECT p_ProjID AS Id) x
    LEFT JOIN tblProject p ON p.ProjID = x.Id
    LEFT JOIN tlkpProjectState s ON s.PS_ID = p.ProjState
    LEFT JOIN tblFinEmployee l ON l.EmpID = p.ProjLeader
    LEFT JOIN tblAddrCompany c ON c.CompanyID = p.CompanyID;
$$;

-- Minutes of a day as "HH:MM" (1440 is "24:00"), NULL as "".
CREATE FUNCTION tvx_dayMinute(p_Minute integer)
RETURNS text
LANGUAGE sql IMMUTABLE AS $$
    SELECT COALESCE(lpad((p_Minute / 60)::text, 2, '0') || ':' || lpad((p_Minute % 60)::text, 2, '0'),
                    '');
$$;

CREATE FUNCTION lv_GetTimesheetInfoEmpID(p_EmpID integer, p_ProjID integer, p_Month integer)
RETURNS xml
LANGUAGE sql STABLE AS $$
    WITH entries AS (
        SELECT t.* FROM tblTimeSheet t
        WHERE t.EmpID = p_EmpID AND (p_ProjID <= 0 OR t.ProjID = p_ProjID)
          AND tvx_inMonth(t.WorkDate, p_Month))
    SELECT xmlelement(name "TimesheetList",
        xmlattributes(p_EmpID AS "EmpID",
                      tvx_empName(p_EmpID) AS "Name",
                      p_Month AS "Month",
                      COALESCE(to_char(tvx_monthStart(p_Month), 'FMMonth YYYY'), '') AS "Title",
                      (SELECT to_char(COALESCE(sum(CAST(r.HoursWorked AS DOUBLE PRECISION)), 0),
                                      'FM999999990.00')
                       FROM entries r) AS "Hours",
                      (SELECT count(*) FROM entries r) AS "Entries"),
        (SELECT xmlagg(xmlelement(name "Entry",
                    xmlattributes(r.TimesheetID AS "TimesheetID",
                                  to_char(r.WorkDate, 'YYYYMMDD')
                                      || COALESCE(to_char(r.StartTime, 'HH24MI'), '0000') AS "When",
                                  to_char(r.WorkDate, 'YYYY-MM-DD') AS "Date",
                                  to_char(r.WorkDate, 'Dy') AS "Weekday",
                                  tvx_dayMinute(@rowminute(r.WorkDate, r.StartTime))
                                      AS "Start",
                                  tvx_dayMinute(@rowminute(r.WorkDate, r.StopTime))
                                      AS "Stop",
                                  to_char(COALESCE(r.HoursWorked, 0), 'FM999990.00') AS "Hours",
                                  tvx_xmlText(p.ProjName::text) AS "Project",
                                  tvx_xmlText(k.Task::text) AS "Task",
                                  tvx_xmlText(o.OrderCode::text) AS "OrderCode",
                                  tvx_xmlText(r.Comment::text) AS "Comment"))
                ORDER BY r.WorkDate, r.StartTime, r.TimeID)
         FROM entries r
         LEFT JOIN tblProject p ON p.ProjID = r.ProjID
         LEFT JOIN tblProjectTask k ON k.TaskID = r.TaskID
         LEFT JOIN tblProjectOrderBook o ON o.OrderID = r.OrderID));
$$;

CREATE FUNCTION bv_GetChgReqInfoChgReqID(p_ChgReqID integer)
RETURNS xml
LANGUAGE sql STABLE AS $$
    SELECT xmlelement(name "ChgReqInfo",
        xmlattributes(c.ChgReqID AS "ChgReqID", tvx_xmlText(c.Item::text) AS "Item",
                      tvx_xmlText(p.ProjName::text) AS "Project",
                      tvx_xmlText(co.CompanyName::text) AS "Company",
                      tvx_xmlText(c.Contact::text) AS "Contact",
                      tvx_xmlText(c.Reference::text) AS "Reference",
                      tvx_xmlText(st.StatusName::text) AS "State",
                      COALESCE(c.Priority, 0) AS "Priority",
                      CASE c.Priority WHEN 1 THEN 'High' WHEN 2 THEN 'Medium' WHEN 3 THEN 'Low'
                                      ELSE '' END AS "PriorityText",
                      COALESCE(to_char(c.DateCreated, 'YYYY-MM-DD'), '') AS "Created",
                      CASE WHEN c.DateCompleted >= DATE '1900-01-01'
                           THEN to_char(c.DateCompleted, 'YYYY-MM-DD') ELSE '' END AS "Completed",
                      tvx_xmlText(e.EmpFullName::text) AS "fullName",
                      tvx_xmlText(c.FullDetail::text) AS "FullDetail"),
        (SELECT xmlagg(xmlelement(name "Action",
                    xmlattributes(a.ChgActionID AS "ChgActionID",
                                  COALESCE(to_char(a.DateAssigned, 'YYYYMMDD'), '0') AS "Day",
                                  COALESCE(to_char(a.DateAssigned, 'YYYY-MM-DD'), '') AS "Assigned",
                                  tvx_xmlText(ae.EmpFullName::text) AS "fullName",
                                  tvx_xmlText(ast.StatusName::text) AS "State",
                                  tvx_xmlText(a.Comment::text) AS "Comment",
                                  tvx_xmlText(a.VersionMod::text) AS "Version",
                                  CASE WHEN a.DateComplete >= DATE '1900-01-01'
                                       THEN to_char(a.DateComplete, 'YYYYMMDD') ELSE '0' END
                                      AS "DoneDay",
                                  CASE WHEN a.DateComplete >= DATE '1900-01-01'
                                       THEN to_char(a.DateComplete, 'YYYY-MM-DD') ELSE '' END
                                      AS "Done"))
                ORDER BY a.DateAssigned, a.ChgActionID)
         FROM tblChgReqAction a
         LEFT JOIN tblFinEmployee ae ON ae.EmpID = a.EmpID
         LEFT JOIN tlkpStatus ast ON ast.StatusID = a.StatusID
         WHERE a.ChgReqID = c.ChgReqID),
        (SELECT xmlagg(xmlelement(name "Member",
                    xmlattributes(tm.EmpID AS "EmpID",
                                  tvx_xmlText(me.EmpFullName::text) AS "fullName",
                                  tvx_xmlText(tm.Comment::text) AS "Comment"))
                ORDER BY me.EmpFullName, tm.EmpID)
         FROM tblChgReqTeam tm
         LEFT JOIN tblFinEmployee me ON me.EmpID = tm.EmpID
         WHERE tm.ChgReqID = c.ChgReqID))
    FROM (SELECT p_ChgReqID AS Id) x
    LEFT JOIN tblChgReq c ON c.ChgReqID = x.Id
    LEFT JOIN tblProject p ON p.ProjID = c.ProjID
    LEFT JOIN tblAddrCompany co ON co.CompanyID = c.CompanyID
    LEFT JOIN tlkpStatus st ON st.StatusID = c.StatusID
    LEFT JOIN tblFinEmployee e ON e.EmpID = c.EmpID;
$$;

CREATE FUNCTION lv_GetCommentInfoEmpID(p_EmpID integer, p_ProjID integer, p_Month integer)
RETURNS xml
LANGUAGE sql STABLE AS $$
    WITH comments AS (
        SELECT k.* FROM tblProjectComment k
        WHERE k.EmpID = p_EmpID AND (p_ProjID <= 0 OR k.ProjID = p_ProjID)
          AND tvx_inMonth(k.CommentDate, p_Month))
    SELECT xmlelement(name "CommentList",
        xmlattributes(p_EmpID AS "EmpID",
                      tvx_empName(p_EmpID) AS "Name",
                      p_Month AS "Month",
                      COALESCE(to_char(tvx_monthStart(p_Month), 'FMMonth YYYY'), '') AS "Title",
                      (SELECT count(*) FROM comments k) AS "Count"),
        (SELECT xmlagg(xmlelement(name "Comment",
                    xmlattributes(k.CommentID AS "CommentID",
                                  COALESCE(to_char(k.CommentDate, 'YYYYMMDDHH24MI'), '0') AS "Day",
                                  COALESCE(to_char(k.CommentDate, 'YYYY-MM-DD'), '') AS "Date",
                                  tvx_xmlText(p.ProjName::text) AS "Project",
                                  tvx_xmlText(k.CommentType::text) AS "State",
                                  COALESCE(k.Priority, 0) AS "Priority",
                                  CASE k.Priority WHEN 1 THEN 'High' WHEN 2 THEN 'Medium'
                                                  WHEN 3 THEN 'Low' ELSE '' END AS "PriorityText",
                                  tvx_xmlText(k.ContactName::text) AS "Name",
                                  COALESCE(to_char(k.ActionDate, 'YYYYMMDD'), '0') AS "ActionDay",
                                  COALESCE(to_char(k.ActionDate, 'YYYY-MM-DD'), '') AS "ActionDate",
                                  tvx_xmlText(k.ProjectComment::text) AS "Comment",
                                  tvx_xmlText(k.Reference::text) AS "Reference"))
                ORDER BY k.CommentDate, k.CommentID)
         FROM comments k
         LEFT JOIN tblProject p ON p.ProjID = k.ProjID));
$$;
