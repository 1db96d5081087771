-- The rows every window of a new Kelvane database needs.

INSERT INTO tblFinDept (Department, ManagerID, Comments) VALUES ('General', NULL, NULL);

INSERT INTO tlkpWorkType (WorkType, WorkColour) VALUES
    ('Development', 16744448), ('Design', 8421631), ('Meeting', 65535),
    ('Support', 16711935), ('Administration', 12632256), ('Travel', 8454016);

INSERT INTO tlkpProjectState (PS_ID, StateName) VALUES
    (1, 'Proposed'), (2, 'Active'), (3, 'On Hold'), (4, 'Completed'), (5, 'Cancelled');

-- Type 1: change requests (7 completed, 6 reopened, 4 completion dated);
-- type 2: their actions (12 completed).
INSERT INTO tlkpStatus (StatusID, StatusName, IsProject, StatusType, StatusOrder) VALUES
    (1, 'New', 0, 1, 1), (2, 'Accepted', 0, 1, 2), (3, 'In Progress', 0, 1, 3),
    (4, 'Completion Dated', 0, 1, 4), (5, 'On Hold', 0, 1, 5), (6, 'Open', 0, 1, 6),
    (7, 'Completed', 0, 1, 7), (8, 'Assigned', 0, 2, 1), (9, 'Started', 0, 2, 2),
    (10, 'Waiting', 0, 2, 3), (11, 'Reviewed', 0, 2, 4), (12, 'Action Completed', 0, 2, 5);

INSERT INTO tlkpCommentType (CommentType) VALUES
    ('ToDo'), ('Done'), ('Info'), ('Good'), ('Bad'), ('FAQ');

INSERT INTO tlkpAddrBusinessType (BusinessType) VALUES
    ('Customer'), ('Supplier'), ('Consultant'), ('Partner');

INSERT INTO tlkpSetupCompany (CompanyName, CompanySymbol, CompanyID) VALUES
    ('Our Company', 'OC', 1);

INSERT INTO tblAddrCompany (CompanyName, IsCurrent, CustomerFlag) VALUES ('Our Company', 1, 0);

INSERT INTO tblProperty (PropertyName, intValue) VALUES
    ('requirePwd', 0), ('minBookingInterval', 15);

INSERT INTO ztlkpDbInfo (dbInfoDate, dbVersion, dBRevision, KelvaneMinVersion, KelvaneMaxVersion,
                         VekMinVersion, VekMaxVersion, comment, isActive) VALUES
    ('2026-12-01 00:00:00', 2.2, 'A', 220, 299, 220, 299, 'Created by Kelvane', 1);
