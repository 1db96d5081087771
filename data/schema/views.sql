-- The saved queries of a Kelvane database, as views on both back ends.
-- Column order is part of the schema: record classes bind by position.
-- @ci(expr) makes a computed text compare ignoring case. A statement that
-- begins with @sqlite or @postgres is made on that back end only.

CREATE VIEW qselStartUpInfo AS
SELECT (SELECT CompanyName FROM tlkpSetupCompany ORDER BY CompanyID LIMIT 1) AS CompanyName,
       (SELECT CompanySymbol FROM tlkpSetupCompany ORDER BY CompanyID LIMIT 1) AS CompanySymbol,
       (SELECT intValue FROM tblProperty WHERE PropertyName = 'requirePwd') AS requirePwd,
       (SELECT intValue FROM tblProperty WHERE PropertyName = 'minBookingInterval') AS minBookingInterval,
       (SELECT dbVersion FROM ztlkpDbInfo WHERE abs(isActive) = 1
        ORDER BY CASE WHEN dbInfoDate IS NULL THEN 1 ELSE 0 END, dbInfoDate DESC
        LIMIT 1) AS dbVersion;

-- The booked rows as the time sheet reads them (CRowTimes, in SQL the
-- macro @rowminute, which the program's statements and the server's
-- procedures use too): StartMinute and StopMinute are the start and stop as
-- minutes 0..1440 of the row's day (the date part of WorkDate, whatever time
-- it carries; 23:59 and a time on a later day are 1440), NULL for a row
-- stored without times.
CREATE VIEW qselTimeSheetForEmployee AS
SELECT TimesheetID, EmpID, WorkDate, StartTime, StopTime, TimeID, ProjID,
       @rowminute(WorkDate, StartTime) AS StartMinute,
       @rowminute(WorkDate, StopTime) AS StopMinute
FROM tblTimeSheet;

-- A staged copy clashes when a booked row of the same employee and day
-- shares a minute with it; rows that only touch do not, and a row without
-- times clashes with nothing.
CREATE VIEW qselTimeSheetClash AS
SELECT tIE.TimesheetID, tIE.EmpID, tIE.ProjID, tIE.OrderID, tIE.WorkDate, tIE.StartTime,
       tIE.StopTime, tIE.HoursWorked, tIE.TaskID, tIE.Comment, tIE.InvCost, tIE.WorkTypeID,
       tIE.TimeID, tIE.BatchID, tIE.OperationType
FROM tblTimeSheet_ImportExport tIE
WHERE tIE.IgnoreThis <> 0 OR @stagedclash(tIE);

-- One count per employee and scheduling session (BatchID).
CREATE VIEW qsumTimeSheetClash AS
SELECT COUNT(*) AS ClashCount, EmpID, BatchID
FROM qselTimeSheetClash
GROUP BY EmpID, BatchID;

CREATE VIEW qselTimeJoinProjectTaskOrderAll AS
SELECT p.ProjName, o.OrderCode, k.Task, t.TimesheetID, t.EmpID, t.ProjID, t.OrderID,
       t.StartTime, t.StopTime, t.WorkDate, t.TaskID, t.HoursWorked, t.Comment, t.InvCost,
       t.WorkTypeID, t.TimeID
FROM tblTimeSheet t
LEFT JOIN tblProject p ON p.ProjID = t.ProjID
LEFT JOIN tblProjectOrderBook o ON o.OrderID = t.OrderID
LEFT JOIN tblProjectTask k ON k.TaskID = t.TaskID;

-- Object: the item of the change request a block is booked against.
CREATE VIEW qselTimeJoinProjectTaskOrderAllFields AS
SELECT p.ProjName, o.OrderCode, k.Task, t.TimesheetID, t.EmpID, t.ProjID, t.OrderID,
       t.StartTime, t.StopTime, t.WorkDate, t.TaskID, t.HoursWorked, t.Comment, t.InvCost,
       t.WorkTypeID, t.TimeID, e.EmpFullName, w.WorkType, t.ObjectTypeID, c.Item AS Object,
       t.ObjectID
FROM tblTimeSheet t
LEFT JOIN tblProject p ON p.ProjID = t.ProjID
LEFT JOIN tblProjectOrderBook o ON o.OrderID = t.OrderID
LEFT JOIN tblProjectTask k ON k.TaskID = t.TaskID
LEFT JOIN tblFinEmployee e ON e.EmpID = t.EmpID
LEFT JOIN tlkpWorkType w ON w.WorkTypeID = t.WorkTypeID
LEFT JOIN tblChgReq c ON c.ChgReqID = t.ObjectID AND t.ObjectTypeID = 40;

-- Hours per project, task, day and employee, grouped by ids: the names are
-- only carried along, never sorted or compared. The rows of one project and
-- task come one after another. Each back end in the form it plans best: the
-- file database groups in the order of the date index and joins the names
-- to the groups; the server joins first and sorts once for grouping and order.
@sqlite CREATE VIEW qselTimeByProjectTaskByDay AS
SELECT p.ProjName, k.Task, g.WorkDate, substr(CAST(g.WorkDate AS TEXT), 1, 10) AS DateStr,
       g.EmpID, g.SumOfHoursWorked, g.ProjID, g.TaskID
FROM (SELECT ProjID, TaskID, WorkDate, EmpID,
             SUM(CAST(HoursWorked AS DOUBLE PRECISION)) AS SumOfHoursWorked
      FROM tblTimeSheet
      GROUP BY ProjID, TaskID, WorkDate, EmpID) g
LEFT JOIN tblProject p ON p.ProjID = g.ProjID
LEFT JOIN tblProjectTask k ON k.TaskID = g.TaskID
ORDER BY g.ProjID, g.TaskID, g.WorkDate, g.EmpID;

@postgres CREATE VIEW qselTimeByProjectTaskByDay AS
SELECT p.ProjName, k.Task, t.WorkDate, substr(CAST(t.WorkDate AS TEXT), 1, 10) AS DateStr,
       t.EmpID, SUM(CAST(t.HoursWorked AS DOUBLE PRECISION)) AS SumOfHoursWorked, t.ProjID,
       t.TaskID
FROM tblTimeSheet t
LEFT JOIN tblProject p ON p.ProjID = t.ProjID
LEFT JOIN tblProjectTask k ON k.TaskID = t.TaskID
GROUP BY t.ProjID, t.TaskID, t.WorkDate, t.EmpID, p.ProjID, k.TaskID
ORDER BY t.ProjID, t.TaskID, t.WorkDate, t.EmpID, p.ProjID, k.TaskID;

-- The projects each employee may book: every project without a team check,
-- and the others for their leader and their team.
CREATE VIEW qselProjTeamAndProject AS
SELECT p.ProjID, p.ProjName, p.ProjColour, e.EmpID, e.FirstName, e.EmpFullName
FROM tblFinEmployee e
JOIN tblProject p
  ON p.UseTeamCheck = 0 OR p.ProjLeader = e.EmpID
  OR EXISTS (SELECT 1 FROM tblProjectTeam pt WHERE pt.ProjID = p.ProjID AND pt.EmpID = e.EmpID);

-- The task table keeps no default flag: no task is marked default, and the
-- default task of a project is chosen by its state.
CREATE VIEW qselProjectTask AS
SELECT TaskID, Task, ProjID, 0 AS IsDefault, DefaultWorkTypeID, State, TaskOrder, OrderID,
       Comment
FROM tblProjectTask;

-- Counts per project and employee; the row of EmpID 0 counts everybody's.
-- The file database cannot take a project's condition into a grouping over
-- both tables, so there each count is read for its own (project, employee)
-- by index; the server plans the grouping well.
@sqlite CREATE VIEW qselProjEmpSummary AS
SELECT (SELECT COUNT(*) FROM tblChgReq r WHERE r.ProjID IS k.ProjID AND r.EmpID IS k.EmpID)
           AS SumChgReq,
       (SELECT COUNT(CASE WHEN c.CommentType = 'ToDo' THEN 1 END) FROM tblProjectComment c
        WHERE c.ProjID IS k.ProjID AND c.EmpID IS k.EmpID) AS SumTodo,
       (SELECT COUNT(CASE WHEN c.CommentType = 'ToDo' THEN NULL ELSE 1 END)
        FROM tblProjectComment c WHERE c.ProjID IS k.ProjID AND c.EmpID IS k.EmpID) AS SumComment,
       k.ProjID AS projID, k.EmpID
FROM (SELECT DISTINCT ProjID, EmpID
      FROM (SELECT ProjID, EmpID FROM tblChgReq
            UNION ALL
            SELECT ProjID, EmpID FROM tblProjectComment)) k
UNION ALL
SELECT (SELECT COUNT(*) FROM tblChgReq r WHERE r.ProjID IS k.ProjID),
       (SELECT COUNT(CASE WHEN c.CommentType = 'ToDo' THEN 1 END) FROM tblProjectComment c
        WHERE c.ProjID IS k.ProjID),
       (SELECT COUNT(CASE WHEN c.CommentType = 'ToDo' THEN NULL ELSE 1 END)
        FROM tblProjectComment c WHERE c.ProjID IS k.ProjID),
       k.ProjID, 0
FROM (SELECT DISTINCT ProjID
      FROM (SELECT ProjID FROM tblChgReq UNION ALL SELECT ProjID FROM tblProjectComment)) k;

@postgres CREATE VIEW qselProjEmpSummary AS
SELECT SUM(s.ChgReq) AS SumChgReq, SUM(s.Todo) AS SumTodo, SUM(s.Cmt) AS SumComment,
       s.ProjID AS projID, s.EmpID
FROM (SELECT ProjID, EmpID, 1 AS ChgReq, 0 AS Todo, 0 AS Cmt FROM tblChgReq
      UNION ALL
      SELECT ProjID, EmpID, 0, CASE WHEN CommentType = 'ToDo' THEN 1 ELSE 0 END,
             CASE WHEN CommentType = 'ToDo' THEN 0 ELSE 1 END
      FROM tblProjectComment) s
GROUP BY s.ProjID, s.EmpID
UNION ALL
SELECT SUM(s.ChgReq), SUM(s.Todo), SUM(s.Cmt), s.ProjID, 0
FROM (SELECT ProjID, 1 AS ChgReq, 0 AS Todo, 0 AS Cmt FROM tblChgReq
      UNION ALL
      SELECT ProjID, 0, CASE WHEN CommentType = 'ToDo' THEN 1 ELSE 0 END,
             CASE WHEN CommentType = 'ToDo' THEN 0 ELSE 1 END
      FROM tblProjectComment) s
GROUP BY s.ProjID;

CREATE VIEW qselAddrCompany AS
SELECT CompanyID, CompanyName, AddressComment, OrganizationID, SupplierFlag, CustomerFlag,
       ApprovedFlag, ProspectFlag, Phone, Fax, Phone2, CompanyBBS, CommsOther, Address1,
       Address2, Address3, POBox, ZIP, ShipAddress1, ShipAddress2, ShipAddress3, City, Country,
       AddressGST, InvoicePersonName, IsZeroGST, IsCurrent, LastUpdate, MarkOutOf10, WWWpage,
       MailingAddress, ShortCompanyName
FROM tblAddrCompany;

CREATE VIEW qselAddrCompanyJoinBusinessType AS
SELECT c.CompanyID, c.CompanyName, c.AddressComment, c.OrganizationID, c.SupplierFlag,
       c.CustomerFlag, c.ApprovedFlag, c.ProspectFlag, c.Phone, c.Fax, c.Phone2, c.CompanyBBS,
       c.CommsOther, c.Address1, c.Address2, c.Address3, c.POBox, c.ZIP, c.ShipAddress1,
       c.ShipAddress2, c.ShipAddress3, c.City, c.Country, c.AddressGST, c.InvoicePersonName,
       c.IsZeroGST, c.IsCurrent, c.LastUpdate, c.MarkOutOf10, c.WWWpage, c.MailingAddress,
       c.ShortCompanyName, b.BusinessTypeID AS BusinessTypeId, bt.BusinessType
FROM tblAddrCompany c
LEFT JOIN tblAddrBusinessType b ON b.CompanyID = c.CompanyID
LEFT JOIN tlkpAddrBusinessType bt ON bt.BusinessTypeID = b.BusinessTypeID;

CREATE VIEW qselAddrCompanyBusinessTypes AS
SELECT b.CompanyID, b.BusinessTypeID, bt.BusinessType
FROM tblAddrBusinessType b
LEFT JOIN tlkpAddrBusinessType bt ON bt.BusinessTypeID = b.BusinessTypeID;

CREATE VIEW qselAddrCompanyJoinPerson AS
SELECT p.CompanyID, c.CompanyName, p.FullName, p.FirstName, p.LastName, c.Address1, c.Phone,
       c.Fax, c.WWWpage AS WWWPage, p.PeopleDDSPhone, p.PeopleMobilePhone, p.PeopleInternetID,
       p.PeopleWWW, p.PeopleFax, p.JobTitle, p.PersonID
FROM tblAddrPerson p
LEFT JOIN tblAddrCompany c ON c.CompanyID = p.CompanyID;

CREATE VIEW qselProjectCommentFull AS
SELECT m.CommentID, m.ProjID, m.EmpID, m.CompanyID, m.ProjectComment, m.CommentDate,
       m.CommentType, m.ActionDate, m.Priority, m.ContactName, e.EmpFullName, p.ProjName,
       c.CompanyName,
       @ci(CASE m.Priority WHEN 1 THEN 'High' WHEN 2 THEN 'Medium' WHEN 3 THEN 'Low'
           ELSE 'None' END) AS PriorityText,
       m.ObjectTypeID, m.ObjectID, m.FullDetails, m.Reference
FROM tblProjectComment m
LEFT JOIN tblFinEmployee e ON e.EmpID = m.EmpID
LEFT JOIN tblProject p ON p.ProjID = m.ProjID
LEFT JOIN tblAddrCompany c ON c.CompanyID = m.CompanyID;

-- A request with the assignment date and comment of its latest action.
CREATE VIEW qSelChgReqBase AS
SELECT r.ChgReqID, r.ProjID, r.EmpID, r.CompanyID, r.Contact, r.Reference, r.Item,
       r.DateCreated, r.DateCompleted, r.StatusID, r.Priority,
       (SELECT a.DateAssigned FROM tblChgReqAction a WHERE a.ChgReqID = r.ChgReqID
        ORDER BY CASE WHEN a.DateAssigned IS NULL THEN 1 ELSE 0 END, a.DateAssigned DESC,
                 a.ChgActionID DESC LIMIT 1) AS DateAssigned,
       (SELECT a.Comment FROM tblChgReqAction a WHERE a.ChgReqID = r.ChgReqID
        ORDER BY CASE WHEN a.DateAssigned IS NULL THEN 1 ELSE 0 END, a.DateAssigned DESC,
                 a.ChgActionID DESC LIMIT 1) AS Comment,
       r.FullDetail, p.ProjName, e.EmpFullName, c.CompanyName, s.StatusName AS StatusText
FROM tblChgReq r
LEFT JOIN tblProject p ON p.ProjID = r.ProjID
LEFT JOIN tblFinEmployee e ON e.EmpID = r.EmpID
LEFT JOIN tblAddrCompany c ON c.CompanyID = r.CompanyID
LEFT JOIN tlkpStatus s ON s.StatusID = r.StatusID;

CREATE VIEW qselchgreqlist AS
SELECT e.EmpFullName AS Authority, p.ProjName AS Project, c.CompanyName AS Company, r.Contact,
       r.DateCreated, r.DateCompleted, r.Item,
       @ci(CASE r.Priority WHEN 1 THEN 'High' WHEN 2 THEN 'Medium' WHEN 3 THEN 'Low'
           ELSE 'None' END) AS Priority,
       r.ChgReqID, r.EmpID, r.ProjID, r.Reference, r.CompanyID AS CompID,
       CAST(NULL AS INTEGER) AS teamempid
FROM tblChgReq r
LEFT JOIN tblProject p ON p.ProjID = r.ProjID
LEFT JOIN tblFinEmployee e ON e.EmpID = r.EmpID
LEFT JOIN tblAddrCompany c ON c.CompanyID = r.CompanyID;

-- One row per request and team member; a request without a team has one
-- row whose teamempid is NULL.
CREATE VIEW qselchgreqTeamlist AS
SELECT e.EmpFullName AS Authority, p.ProjName AS Project, c.CompanyName AS Company, r.Contact,
       r.DateCreated, r.DateCompleted, r.Item,
       @ci(CASE r.Priority WHEN 1 THEN 'High' WHEN 2 THEN 'Medium' WHEN 3 THEN 'Low'
           ELSE 'None' END) AS Priority,
       r.ChgReqID, r.EmpID, r.ProjID, r.Reference, r.CompanyID AS CompID, tm.EmpID AS teamempid
FROM tblChgReq r
LEFT JOIN tblChgReqTeam tm ON tm.ChgReqID = r.ChgReqID
LEFT JOIN tblProject p ON p.ProjID = r.ProjID
LEFT JOIN tblFinEmployee e ON e.EmpID = r.EmpID
LEFT JOIN tblAddrCompany c ON c.CompanyID = r.CompanyID;
