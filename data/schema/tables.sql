-- The tables of a Kelvane database, written once for both back ends.
-- Column order is part of the schema: record classes bind by position.
-- Type words expand per back end (see CSchema):
--   @key        counter key             @int     32-bit integer
--   @text(n)    text of at most n chars @name(n) the same, compared ignoring case
--   @memo       text without a limit    @bool    0 or 1, never NULL
--   @date       date and time           @single  32-bit float
--   @double     64-bit float            @money   amount with four decimals
--   @blob       bytes
-- @end closes a CREATE TABLE.

CREATE TABLE tblFinDept (
    DeptID @key,
    Department @name(50),
    ManagerID @int,
    Comments @text(50)
@end;

CREATE TABLE tblFinEmployee (
    EmpID @key,
    FirstName @name(50),
    LastName @name(50),
    EmpFullName @name(50),
    HourRateFactor @single DEFAULT 1,
    IsProjectEng @bool,
    Initial @text(10),
    IsCurrent @bool,
    IRDNo @text(20),
    StartDate @date,
    StopDate @date,
    CurrentProjID @int,
    SecLevel @int,
    JobTitle @text(250),
    Email @text(500),
    Phone @text(50),
    Fax @text(50),
    MobilePhone @text(50),
    Photo @blob,
    AccountSufix @text(50),
    PersonID @int,
    CompanyID @int,
    Signatur @blob,
    DeptID @int,
    Pwd @text(20),
    NTUserName @name(20),
    ManagerID @int,
    EmpRef @text(50)
@end;

CREATE TABLE tlkpWorkType (
    WorkTypeID @key,
    WorkType @name(50),
    WorkColour @int
@end;

CREATE TABLE tlkpProjectState (
    PS_ID @int PRIMARY KEY,
    StateName @name(50)
@end;

CREATE TABLE tlkpStatus (
    StatusID @int PRIMARY KEY,
    StatusName @name(50),
    IsProject @int,
    StatusType @int,
    StatusOrder @int
@end;

CREATE TABLE tlkpCommentType (
    CommentType @name(11) PRIMARY KEY
@end;

CREATE TABLE tlkpAddrBusinessType (
    BusinessTypeID @key,
    BusinessType @name(255)
@end;

CREATE TABLE tlkpSetupCompany (
    CompanyName @name(50),
    CompanyLogo @blob,
    CompanyMailToAddress @text(250),
    CompanySendToAddress @text(250),
    CompanyPhone @text(50),
    CompanyFax @text(50),
    CompanyEmail @text(50),
    CompanyGSTNo @text(50),
    CompanyWebPage @text(250),
    CompanySymbol @text(100),
    CompanyID @int,
    OrderPrefix @text(50)
@end;

CREATE TABLE tblProperty (
    PropertyName @name(50) PRIMARY KEY,
    intValue @int
@end;

CREATE TABLE ztlkpDbInfo (
    dbInfoDate @date,
    dbVersion @single,
    dBRevision @text(5),
    KelvaneMinVersion @int,
    KelvaneMaxVersion @int,
    VekMinVersion @int,
    VekMaxVersion @int,
    comment @text(255),
    isActive @bool
@end;

CREATE TABLE tblAddrCompany (
    CompanyID @key,
    CompanyName @name(255),
    AddressComment @text(6000),
    OrganizationID @int,
    SupplierFlag @bool,
    CustomerFlag @bool,
    ApprovedFlag @bool,
    ProspectFlag @bool,
    Phone @text(50),
    Fax @text(50),
    Phone2 @text(50),
    CompanyBBS @text(100),
    CommsOther @text(100),
    Address1 @text(255),
    Address2 @text(255),
    Address3 @text(255),
    POBox @text(50),
    ZIP @text(50),
    ShipAddress1 @text(100),
    ShipAddress2 @text(100),
    ShipAddress3 @text(100),
    City @text(50),
    Country @text(50),
    AddressGST @text(50),
    InvoicePersonName @text(50),
    IsZeroGST @bool,
    IsCurrent @bool,
    LastUpdate @date,
    MarkOutOf10 @int,
    WWWpage @text(250),
    MailingAddress @text(250),
    ShortCompanyName @text(50)
@end;

CREATE TABLE tblAddrBusinessType (
    CompanyID @int NOT NULL,
    BusinessTypeID @int NOT NULL,
    PRIMARY KEY (CompanyID, BusinessTypeID)
@end;

CREATE TABLE tblAddrPerson (
    PersonID @key,
    FirstName @name(20),
    LastName @name(20),
    Initial @text(5),
    FullName @name(50),
    CompanyID @int,
    JobTitle @text(250),
    Title @text(50),
    IsFirstNameTerms @bool,
    Salutation @text(50),
    Addressee @text(50),
    PeopleDDSPhone @text(50),
    PeopleFax @text(50),
    PeopleMobilePhone @text(50),
    PeopleModem @text(50),
    PeopleOtherComms @text(100),
    PeopleInternetID @text(250),
    PeopleWWW @text(250),
    SelectXmasCard @bool,
    SelectMailDrop @bool,
    IsCurrent @bool
@end;

CREATE TABLE tblProject (
    ProjID @key,
    ProjName @name(50),
    CustProjName @text(50),
    IsInternal @bool,
    IsProduct @bool,
    ProjDir @text(50),
    CompanyID @int,
    ProjHourRate @money,
    ProjStartDate @date,
    ProjStopDate @date,
    ProjLeader @int,
    DrawingStartNo @int,
    Abstract @text(6000),
    ProjState @int,
    UseTeamCheck @bool,
    ProjCustContact @text(255),
    ProjInvoiceContact @text(255),
    ProjProgress @single,
    MspProjectID @int,
    ProjColour @int,
    IsTemplate @bool,
    ProjHours @single,
    ProjEstHours @single,
    ProjCost @money,
    ProjGroup @text(50),
    ProjType @text(50),
    ProjFilename @text(255)
@end;

-- The members of each project's team; a project with UseTeamCheck set is
-- offered only to its team and its leader.
CREATE TABLE tblProjectTeam (
    ProjID @int NOT NULL,
    EmpID @int NOT NULL,
    PRIMARY KEY (ProjID, EmpID)
@end;

CREATE TABLE tblProjectOrderBook (
    OrderID @key,
    OrderCode @name(50),
    Description @text(255),
    ContactName @text(50),
    IsFixedPrice @bool,
    CostMax @money,
    OrderHourRate @money,
    EstHours @single,
    ActHours @single,
    StartDate @date,
    StopDate @date,
    IsDone @bool,
    IsDefault @bool,
    ProjID @int NOT NULL,
    ActCost @money
@end;

CREATE TABLE tblProjectTask (
    TaskID @key,
    Task @name(50),
    EstHours @single,
    ActHours @single,
    ProjID @int NOT NULL,
    OrderID @int,
    TaskOrder @text(15),
    EstStart @date,
    EstFinish @date,
    ActStart @date,
    ActFinish @date,
    IsMilestone @bool,
    IsCritical @bool,
    EstCumHours @single,
    ActCumHours @single,
    MspTaskID @int,
    Comment @text(255),
    State @int,
    PercentComplete @single,
    DefaultWorkTypeID @int,
    EnteredBy @int,
    AllocatedTo @int,
    FullDetails @text(1000)
@end;

CREATE TABLE tblTimeSheet (
    TimesheetID @key,
    EmpID @int NOT NULL,
    ProjID @int,
    OrderID @int,
    WorkDate @date NOT NULL,
    StartTime @date,
    StopTime @date,
    HoursWorked @single,
    TaskID @int,
    Comment @text(255),
    InvCost @money,
    WorkTypeID @int,
    TimeID @int NOT NULL,
    InvID @int,
    ObjectTypeID @int,
    ObjectID @int
@end;

CREATE TABLE tblTimeSheet_ImportExport (
    TimesheetID @key,
    EmpID @int NOT NULL,
    ProjID @int,
    OrderID @int,
    WorkDate @date NOT NULL,
    StartTime @date,
    StopTime @date,
    HoursWorked @single,
    TaskID @int,
    Comment @text(255),
    InvCost @money,
    WorkTypeID @int,
    TimeID @int,
    BatchID @int,
    OperationType @int,
    IgnoreThis @bool
@end;

CREATE TABLE tblProjectComment (
    CommentID @key,
    ProjID @int,
    EmpID @int,
    CompanyID @int,
    ProjectComment @text(255),
    CommentDate @date,
    ActionDate @date,
    Priority @int,
    ContactName @text(50),
    CommentType @name(50),
    ObjectTypeID @int,
    ObjectID @int,
    FullDetails @text(8000),
    Reference @text(255)
@end;

CREATE TABLE tblChgReq (
    ChgReqID @key,
    ProjID @int,
    EmpID @int,
    CompanyID @int,
    Contact @text(50),
    Reference @text(50),
    Item @text(255),
    DateCreated @date,
    DateCompleted @date,
    StatusID @int,
    Priority @int,
    FullDetail @text(8000),
    TeamList @text(255)
@end;

CREATE TABLE tblChgReqAction (
    ChgActionID @key,
    ChgReqID @int NOT NULL,
    DeliverableID @int,
    VersionMod @text(50),
    EmpID @int,
    DateAssigned @date,
    DateComplete @date,
    Comment @text(6000),
    StatusID @int
@end;

CREATE TABLE tblChgReqTeam (
    ChgReqID @int NOT NULL,
    EmpID @int NOT NULL,
    Comment @text(255),
    PRIMARY KEY (ChgReqID, EmpID)
@end;

-- Every column a query filters, joins or sorts on.
CREATE UNIQUE INDEX ux_TimeSheet_Entry ON tblTimeSheet (EmpID, WorkDate, TimeID);
CREATE INDEX ix_TimeSheet_Proj ON tblTimeSheet (ProjID);
CREATE INDEX ix_TimeSheet_Task ON tblTimeSheet (TaskID);
-- A project's or a task's hours, and each member's, from the index alone:
-- a big project's totals and members read no row of the table.
CREATE INDEX ix_TimeSheet_ProjHours ON tblTimeSheet (ProjID, EmpID, HoursWorked);
CREATE INDEX ix_TimeSheet_TaskHours ON tblTimeSheet (TaskID, HoursWorked);
CREATE INDEX ix_TimeSheet_Object ON tblTimeSheet (ObjectID);
-- Date ranges over every employee (reviews, searches, exports); the review's
-- totals read this index alone.
CREATE INDEX ix_TimeSheet_WorkDate ON tblTimeSheet (WorkDate, ProjID, TaskID, EmpID, HoursWorked);
CREATE INDEX ix_TimeSheetIE_Entry ON tblTimeSheet_ImportExport (EmpID, WorkDate);
CREATE INDEX ix_TimeSheetIE_Batch ON tblTimeSheet_ImportExport (EmpID, BatchID);
CREATE INDEX ix_FinEmployee_FullName ON tblFinEmployee (EmpFullName);
CREATE INDEX ix_FinEmployee_NTUserName ON tblFinEmployee (NTUserName);
CREATE INDEX ix_FinEmployee_Dept ON tblFinEmployee (DeptID);
CREATE INDEX ix_Project_Name ON tblProject (ProjName);
CREATE INDEX ix_Project_Company ON tblProject (CompanyID);
CREATE INDEX ix_Project_Leader ON tblProject (ProjLeader);
CREATE INDEX ix_ProjectTeam_Emp ON tblProjectTeam (EmpID);
CREATE INDEX ix_ProjectOrderBook_Proj ON tblProjectOrderBook (ProjID);
CREATE INDEX ix_ProjectTask_Proj ON tblProjectTask (ProjID, State);
CREATE INDEX ix_ProjectTask_Order ON tblProjectTask (OrderID);
CREATE INDEX ix_AddrCompany_Name ON tblAddrCompany (CompanyName);
CREATE INDEX ix_AddrBusinessType_Type ON tblAddrBusinessType (BusinessTypeID);
CREATE INDEX ix_AddrPerson_Company ON tblAddrPerson (CompanyID);
CREATE INDEX ix_BusinessType_Name ON tlkpAddrBusinessType (BusinessType);
CREATE INDEX ix_ProjectComment_Proj ON tblProjectComment (ProjID, CommentType);
CREATE INDEX ix_ProjectComment_Emp ON tblProjectComment (EmpID);
CREATE INDEX ix_ProjectComment_Company ON tblProjectComment (CompanyID);
CREATE INDEX ix_ChgReq_Proj ON tblChgReq (ProjID);
CREATE INDEX ix_ChgReq_Emp ON tblChgReq (EmpID);
CREATE INDEX ix_ChgReq_Company ON tblChgReq (CompanyID);
CREATE INDEX ix_ChgReq_Created ON tblChgReq (DateCreated);
CREATE INDEX ix_ChgReqAction_Req ON tblChgReqAction (ChgReqID);
CREATE INDEX ix_ChgReqAction_Emp ON tblChgReqAction (EmpID);
CREATE INDEX ix_ChgReqTeam_Emp ON tblChgReqTeam (EmpID);
CREATE INDEX ix_Status_Type ON tlkpStatus (StatusType, StatusOrder);
CREATE INDEX ix_DbInfo_Date ON ztlkpDbInfo (dbInfoDate);
