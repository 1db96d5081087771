#pragma once

#include "data/ChgReqTypes.h"
#include "data/ContactTypes.h"
#include "data/DBClassTypes.h"
#include "data/DBConnection.h"
#include "data/FacadeClients.h"
#include "data/ItemList.h"
#include "data/ProjectTypes.h"

#include <QDate>
#include <QList>
#include <QSet>
#include <QStringList>

#include <memory>

class CBindingSet;
class CMyAdoRecordSet;
class CNameValueArray;
class CProjectSet;
class CCompanyDetailSet;
class CTimeSheetSet;
class CQueryResult;
class CRowCursor;
class IStatementWatch;
class CUndoHistory;
class CUndoRecord;
struct CUndoStep;

// The one object through which every window reaches the database: the
// shared connection, the lookup caches, the day cache of time-sheet rows and
// the program's queries. Database errors never escape it: operations report
// them and return their "not found" result.
class CDBClass {
public:
    CDBClass();
    virtual ~CDBClass();
    CDBClass(const CDBClass&) = delete;
    CDBClass& operator=(const CDBClass&) = delete;

    // ---- Connection and back end ----------------------------------------
    CDBConnection* Connection() const { return m_connection.get(); }
    bool OpenConnection();
    bool ReleaseConnection(bool force, bool clearCaches);
    bool EnsureConnected();
    int DetectProvider();
    int GetProviderKind();
    QString GetDateDelimiter();
    const CSqlDialect& Dialect() const { return m_connection->Dialect(); }
    // Whether the server procedure or query may be used at this database version.
    bool CanUseDbObject(int kind, double dbVersion, const QString& name) const;
    bool CanUseDbObject(const QString& name);
    void SetRequiredVersions(const CNameValueArray* table) { m_requiredVersions = table; }

    // ---- Record objects ---------------------------------------------------
    bool OpenRecordSet(CBindingSet* set, bool longQuery = false);
    bool CloseRecordSet(CBindingSet* set, bool force = false);
    bool OpenTableWithQuery(CBindingSet* set, const QString& where, const QString& order);
    bool OpenTableWithLongQuery(CBindingSet* set, const QString& where, const QString& order);

    // ---- Start-up information and version ---------------------------------
    // Whether a database can serve the program: it holds the tables the start
    // reads, and no other session keeps them locked past the wait limits.
    enum class Access { Ready, NotKelvane, Busy, Failed };
    Access CheckStartupAccess(QString& problem);
    // What Connect found (Ready before any Connect); nothing is read from a
    // database that is not ready.
    Access StartupAccess(QString* problem = nullptr) const;
    bool Connect();
    bool ReadStartupInfo();
    bool CheckDbVersion(double required, QString& versionText, bool useCached);
    const CStartupInfo& StartupInfo() const { return m_startup; }
    CStartupInfo& StartupInfo() { return m_startup; }

    // ---- Properties, counts and ad-hoc SQL --------------------------------
    bool GetPropertyInt(int& value, const QString& name, int defaultValue);
    bool ReadMinBookingInterval(int& minutes);
    int CountTimeSheets(int& count, int projId);
    // Runs a statement; when `rs` is null a recordset is created for the
    // caller, who deletes it.
    bool ExecuteQuery(const QString& sql, CMyAdoRecordSet*& rs, const QVariantList& params = {});
    bool RecordsetToStringArray(CMyAdoRecordSet* rs, QStringList& out, int& rowCount, int columns,
                                int rowsPerFetch);
    // The rows of one or more statements (separated by ';') as texts, row
    // after row; with multipleResults the row count of each statement is
    // appended to rowCounts.
    bool AddStrings(const QString& sql, QStringList& out, bool multipleResults,
                    QList<int>& rowCounts, const QVariantList& params = {});
    // A search: the statement runs in a read-only transaction, so a text the
    // user typed can read but never change anything, and stops after
    // SearchTimeLimitMs() on either back end; the watch hears it meanwhile
    // and may stop it.
    bool RunQueryToList(const QString& sql, QString& message, const QString& kind,
                        const QString& text, QList<CMyAdoRecordSet*>& recordsets,
                        QList<QObject*>& views, QObject* parent = nullptr,
                        IStatementWatch* watch = nullptr);

    // ---- Caches -------------------------------------------------------------
    bool LoadProjects(QList<CProjectEntry>& list, int empId);
    bool LoadProjects(int empId) { return LoadProjects(m_projects, empId); }
    // The employee's projects read again; the list held stays when they cannot be.
    bool ReloadProjects(int empId);
    bool LoadWorkTypes();
    bool LoadOrders();
    // Only the orders of these projects (those the time sheet shows); a
    // lookup for another project's order reads that project's orders when it
    // comes.
    bool LoadOrdersOfProjects(const QList<int>& projIds);
    // Every task (no clause), or those the clause selects; lookups then read
    // nothing more.
    bool LoadTasks(const QString& clause = QString());
    // Only the tasks of these projects (the projects a window shows); a
    // lookup for another project reads that project's tasks when it comes.
    bool LoadTasksOfProjects(const QList<int>& projIds);
    bool LoadWorkData(bool withOrders, bool withTasks, const QString& taskClause = QString());
    bool LoadProjectStates();
    bool LoadEmployees();
    bool LoadTaskOrdersForEmp(int empId);
    const QList<CProjectEntry>& Projects() const { return m_projects; }
    // The next LoadProjects reads the list again.
    void ClearProjects() { m_projects.clear(); }
    const QList<CWorkTypeEntry>& WorkTypes() const { return m_workTypes; }
    const QList<COrderEntry>& Orders() const { return m_orders; }
    const QList<CTaskEntry>& Tasks() const { return m_tasks; }
    const QList<CEmployeeEntry>& Employees() const { return m_employees; }
    const QList<CProjectStateEntry>& ProjectStates() const { return m_projectStates; }

    int GetEmpIdByName(const QString& name = QString());
    int FindEmpIdByName(const QString& loginName = QString());
    bool GetEmpDeptIdByName(const QString& loginName, int& deptId);
    bool GetEmpDeptId(int empId, int& deptId);
    bool GetEmpNameById(int empId, QString& name);
    bool GetEmpRateFactor(int empId, double& factor);
    int CountActiveEmployees();
    void ClearEmployeeMap();
    bool LoadCurrentUser();
    const QString& CurrentUserName() const { return m_currentUser; }

    bool GetWorkTypeIdByName(const QString& name, int& id);
    QString GetWorkTypeName(int workTypeId);
    QString LookupWorkTypeName(int workTypeId) { return GetWorkTypeName(workTypeId); }
    QString GetWorkTypeNameReload(int workTypeId);
    bool GetTaskWorkType(int projId, int taskId, QString& name, int& workTypeId);

    QString GetOrderCode(int orderId);
    bool GetOrderCodeForProject(int orderId, int projId, QString& code, bool skipDone);
    bool GetOrderCodeAndRate(int projId, int orderId, double& rate, QString& code);
    int GetOrderIdByCode(const QString& code, int projId);
    bool GetDefaultOrderOfProject(int projId, QString& code, int& orderId, double& rate);
    bool GetProjectOrder(int projId, QString& code, int& orderId, double& rate);

    QString GetTaskName(int taskId);
    QString GetTaskNameForProject(int taskId, int projId);
    bool IsTaskOfProject(int taskId, int projId);
    int GetTaskIdByName(const QString& name);
    int GetTaskIdFromName(const QString& name, int projId);
    void GetDefaultTaskOfProject(int projId, int& taskId, QString& taskName, bool any);

    const CProjectEntry* FindProjectInCache(int projId);
    // EmpID -1: the current user's list; -2: all projects.
    bool GetProjectNameFromList(QString& name, const QList<CProjectEntry>& list, int projId,
                                int empId);
    QString GetProjectName(int projId);
    bool GetProjectCacheValue(int projId, int& value);
    bool SetProjectCacheValue(int projId, int value);
    bool GetProjectStateName(int psId, QString& name);
    bool LookupProjectStateName(int psId, QString& name);

    // ---- The day cache ----------------------------------------------------
    // Only a read that succeeds replaces the day's rows: a failed one keeps
    // those of the same employee's day (what the time line shows) and marks
    // the day out of step.
    bool LoadDayTimeSheets(const CDateTime& date, int empId);
    bool EnsureDayLoaded(int empId, const QDate& day, bool force);
    // One employee's rows of a day as a filter of tblTimeSheet, its values
    // bound: WorkDate in [day, next day), so a row belongs to its day
    // whatever time of day its WorkDate carries, and the index on
    // (EmpID, WorkDate, TimeID) serves the range.
    static QString DayFilterText();
    static QVariantList DayFilterValues(int empId, const CDateTime& date);
    // The row of an entry: the employee's row of the day with the TimeID.
    static QString EntryFilterText();
    static QVariantList EntryFilterValues(int empId, const CDateTime& date, int timeId);
    // The cache may hold what the database does not, or miss what it holds:
    // a read of the day or a write of its rows failed.
    bool DayOutOfStep() const { return m_dayOutOfStep; }
    void MarkDayOutOfStep() { m_dayOutOfStep = true; }
    // Reads the day again without a word to the user, connecting silently;
    // false (the rows kept) while the database does not answer.
    bool ReloadDayQuietly(int empId, const QDate& day);
    const QList<CTimeSheetEntry>& DayEntries() const { return m_day; }
    bool SetDayKey(const CDateTime& date, int empId);
    bool IsDayKey(const CDateTime& date, int empId) const;
    bool ResetDayKey();
    bool IsTimeIdInDayCache(int timeId) const;
    bool UpdateDayEntry(bool update, const CTimeSheetEntry& values);
    bool RemoveDayEntry(int timeId);
    bool FindDayEntry(int timeId, int& objectId, int empId, const CDateTime& date);
    bool FindDayEntryForKey(CTimeSheetEntry& entry, int timeId, int empId, const CDateTime& date);
    bool FindDayEntryMatch(CTimeSheetEntry& entry, int projId, int timeId, int empId,
                           const CDateTime& date);

    // The day the time-sheet window shows; new entries are dated on it.
    void SetDisplayedDay(const QDate& day) { m_displayedDay = day; }
    QDate DisplayedDay() const { return m_displayedDay; }
    // The minute of the displayed day (1440 is 23:59 of that day).
    void MinutesToDateTime(CDateTime& out, int minute) const;
    static CDateTime MinutesOnDay(const QDate& day, int minute);

    // ---- Employees and sign-on ----------------------------------------------
    bool CheckUserPassword(int empId, const QString& password);
    bool ChangePassword(int empId, const QString& password);
    bool GetEmployeeById(int empId, CEmployeeEntry& employee);
    QString GetEmpFullNameById(int empId);
    QString GetEmpFullName(int empId) { return GetEmpFullNameById(empId); }
    bool GetDefaultUser(QString& userName, QString& fullName);
    bool GetCurrentUser(QString& name);
    int FillEmployeeCombo(IItemList& combo, const QString& selected, int deptId,
                          const QString& firstRowText = QString());
    int FillUserCombo(IItemList& combo, const QString& firstRowText = QString());
    int FillDepartments(IItemList& combo, int selectedDeptId);

    // ---- Projects, work data -------------------------------------------------
    int GetProjIdByName(const QString& name);
    QString GetProjNameById(int projId);
    bool GetProjectById(int projId, CProjectSet& project);
    bool GetProjectInfo(int projId, QString& companyName);
    bool FillProjectTeam(int projId, QStringList& empIds, QStringList& names);
    bool OpenProjEmpSummary(int projId, int empId, int& sumChgReq, int& sumTodo, int& sumComment);
    int FillProjectCombo(IItemList& combo, int empId, const QString& selected, bool allProjects);
    int FillWorkTypeCombo(IItemList& combo, int selectedId);
    int FillOrderCombo(IItemList& combo, int projId, int selectedId);
    bool FillTaskCombo(IItemList& combo, int& selected, int projId, bool select);
    bool FillStatusList(QStringList& names);
    int FillStatusCombo(IItemList& combo, int statusType, int selectedId);
    int FillCommentTypes(IItemList& combo, const QString& name, bool addAll);

    // ---- Time-sheet reads -----------------------------------------------------
    bool GetNextTimeId(const CDateTime& date, int empId, int& timeId);
    bool GetTimeIdOfDay(int& timeId, int empId, const CDateTime& date);
    bool CheckTimeOverlap(const CDateTime& date, int empId, int start, int stop, int timeId = -1);
    bool FindOverlappingEntry(CTimeSheetSet* set, const CDateTime& date, int empId, int start,
                              int stop, int& outStop, int timeId, int includeOwn);
    bool CheckBookingAllowed(int projId, int taskId, int orderId) const;

    // ---- Time-sheet writes -----------------------------------------------------
    // Validates and writes one entry, records its undo step and brings the
    // day cache up to date; a TimeWriteResult. entry.WorkTypeID and
    // entry.TimesheetID come back as written.
    int UpdateTimeData(CTimeSheetSet* set, CTimeSheetWrite& entry);
    // keyId: the key of the row meant (-1: whatever row holds the TimeID);
    // another row under the TimeID is left alone (kWriteDeleteFailed).
    int DeleteTimeData(CTimeSheetSet* set, bool fromHistory, const CDateTime& date, int empId,
                       int timeId, int keyId = -1);
    // Ends the row at `stop`, or deletes it when start equals stop.
    int DeleteTimeSheetEntry(int timeId, int empId, const CDateTime& date, bool apply, int start,
                             int stop);
    // The booked hours of the time that passed between the minutes a and b
    // of a day (CLocalTime), rounded down to the booking interval; false
    // when the interval is neither 6 nor 15. Without a day, the minutes
    // between a and b on the clock's face.
    bool RoundToBookingInterval(const QDate& day, int a, int b, double& hours) const;
    bool RoundToBookingInterval(int a, int b, double& hours) const
    {
        return RoundToBookingInterval(QDate(), a, b, hours);
    }
    // The cost of a block of a day; without a day, of the day shown.
    bool FormatEntryCost(QString& out, int projId, int orderId, int start, int stop, int empId,
                         const QDate& day = QDate());

    // ---- Scheduling --------------------------------------------------------------------
    // These write inside the caller's transaction when one is open, else in
    // their own; errors come back in `reason`, unshown. Staged copies belong
    // to the employee and this session (ScheduleBatch): two sessions of one
    // employee never touch each other's copies.
    // Replaces the employee's staged copies with one copy of the block per day.
    bool StageScheduleCopies(const CScheduleCopy& block, const QList<QDate>& days, QString& reason);
    // The number of the employee's staged copies that clash with booked rows.
    bool CountScheduleClashes(int empId, int& count, QString& reason);
    // Marks the employee's clashing copies and books the others; `booked`
    // gets their number.
    bool ImportSchedule(int empId, int& booked, QString& reason);
    // Removes the employee's staged copies of this session.
    bool DiscardScheduleCopies(int empId, QString& reason);
    // The number that marks this session's staged copies (BatchID).
    int ScheduleBatch() const { return m_scheduleBatch; }

    // ---- Undo and redo -------------------------------------------------------------
    bool Undo();
    bool Redo();
    CUndoHistory& UndoHistory() { return *m_history; }
    bool SnapshotForUndo(bool toUndo, bool isUpdate, CTimeSheetSet* set, float rate, int kind);
    bool SnapshotValuesForUndo(bool toUndo, bool isUpdate, int timeId, const CDateTime& workDate,
                               const CDateTime& start, const CDateTime& stop, int projId, int empId,
                               int orderId, int taskId, float rate, const QString& comment,
                               int workTypeId, int objectTypeId, int objectId, int invId, int kind);

    // ---- Recordsets as XML and HTML -------------------------------------------------
    // The temporary file of a view (by its command id), in the user's cache
    // folder; false for views without a file of their own.
    static bool GetTempXmlName(int viewId, QString& name);
    static bool GetTempHtmlName(int viewId, QString& name);
    bool SaveRecordsetAsXml(CMyAdoRecordSet* rs, int viewId);
    // The recordset through the style sheet (the whole XSLT text) into the
    // view's HTML file.
    bool PersistAsXMLToHTML(CMyAdoRecordSet* rs, const QString& styleSheet, int viewId);
    // The same with the rows in the order given (row numbers of the recordset).
    bool SaveRecordsetAsXml(CMyAdoRecordSet* rs, int viewId, const QList<int>& rowOrder);
    bool PersistAsXMLToHTML(CMyAdoRecordSet* rs, const QString& styleSheet, int viewId,
                            const QList<int>& rowOrder);
    // The XML a statement gives: on the server a function returns it as
    // text; on a database file it is built from the rows. On failure `why`
    // (when given) gets the database's reason.
    bool ExecuteToStream(const QString& sql, QString& out, const QVariantList& params = {},
                         QString* why = nullptr);

    // ---- Companies, contacts, change requests ---------------------------------
    bool GetCompanyById(int companyId, CCompanyDetailSet& company);
    int GetCompanyIdByName(const QString& name);
    bool GetCompanyNameById(int companyId, QString& name);
    bool GetProjectCompany(IItemList& combo, int& companyId, int projId);
    int FillCompanyContacts(IItemList& combo, int companyId, const QString& selected);
    bool GetSetupCompany(QString& name);
    int FillBusinessTypeCombo(IItemList& combo, int selectedId);
    bool FillBusinessTypeList(IItemList& list, const QList<int>& ids, QList<int>& indexes);
    bool GetCompanyBusinessTypes(int companyId, QStringList& ids);
    bool DeleteCompanyBusinessTypes(int companyId);
    bool AddCompanyBusinessType(int companyId, int businessTypeId);
    bool FillChgReqActions(int chgReqId, QStringList& comments);
    bool FillChgReqTeam(int chgReqId, QString& text);
    bool AddChgReqAction(int chgReqId, const QString& comment, int empId);

    // ---- Address book writes (DBClassContacts.cpp) ----------------------------
    // Each is one transaction. Names are compared ignoring case; `reason`
    // gets the database's words when it refused.
    // A company with its business type (-1: none) and, when named, its
    // first person; companyId gets the new id.
    ContactResult AddCompany(const CCompanyValues& company, int businessTypeId,
                             const CPersonValues& person, int& companyId, QString& reason);
    // Rewrites the company's fields and its business types.
    ContactResult UpdateCompany(int companyId, const CCompanyValues& company,
                                const QList<int>& businessTypeIds, QString& reason);
    // The company with its persons and type links; InUse (reason: who uses
    // it) while projects, change requests or comments name it.
    ContactResult DeleteCompany(int companyId, QString& reason);
    ContactResult AddPerson(int companyId, const CPersonValues& person, int& personId,
                            QString& reason);
    ContactResult UpdatePerson(int personId, const CPersonValues& person, QString& reason);
    ContactResult DeletePerson(int personId, QString& reason);
    ContactResult AddBusinessType(const QString& name, int& businessTypeId, QString& reason);
    ContactResult RenameBusinessType(int businessTypeId, const QString& name, QString& reason);
    // The type of that name and the companies' links to it.
    ContactResult DeleteBusinessType(const QString& name, QString& reason);
    // ---- Comments and to-dos -------------------------------------------------
    // The own company (tlkpSetupCompany): its id (-1 when it has none) and
    // name; false when none is set up.
    bool GetSetupCompany(int& companyId, QString& name);
    // The project's company, read afresh: its name and id (-1 and "" when the
    // project has none or it was deleted); false when there is no such project.
    bool GetProjectInfo(int projId, QString& companyName, int& companyId);

    // ---- Change requests (DBClassChangeRequests.cpp) -----------------------------
    // Each write is one transaction; `reason` gets the database's words.
    // One request row per item, each with its own id (in `ids`, in item
    // order) and its own team rows.
    ChgReqResult AddChangeRequest(const CChgReqValues& values, const QStringList& items,
                                  const QList<int>& team, QList<int>& ids, QString& reason);
    ChgReqResult ReadChangeRequest(int chgReqId, CChgReqRecord& record, QString& reason);
    // Writes the request and replaces its actions by the texts given: an
    // action still listed keeps its row, the others go, new texts are added.
    ChgReqResult UpdateChangeRequest(int chgReqId, const CChgReqUpdate& values,
                                     const QStringList& actions, QString& reason);
    // The request's team becomes these employees.
    ChgReqResult ReplaceChgReqTeam(int chgReqId, const QList<int>& team, QString& reason);
    // The request with its team and its actions.
    ChgReqResult DeleteChangeRequest(int chgReqId, QString& reason);
    // The employee ids of the request's team; on failure `reason` (when
    // given) gets the database's words.
    bool FillChgReqTeamIds(int chgReqId, QList<int>& empIds, QString* reason = nullptr);

    // ---- Project information and tasks (DBClassProjects.cpp) -----------------
    // Rebuilds one project's totals (-1: every project's) in one transaction:
    // the booked hours of its tasks, its own booked hours and the sum of its
    // tasks' estimates.
    bool RebuildProjectTotals(int projId);
    // The project's leader (none for an id of 0 or less), then its team by
    // name, each employee once, with the hours each booked on the project.
    bool FillProjectMembers(int projId, int leaderId, const QString& leaderName,
                            QList<CProjectMember>& members);
    // Deletes a task no time-sheet row or comment points at; InUse, with
    // their numbers and nothing deleted, otherwise. One transaction.
    TaskDeleteResult DeleteProjectTask(int taskId, int& timeSheets, int& comments, QString& reason);
    // Sets a task's state; false (with the reason) when no row was written.
    bool SetTaskState(int taskId, int state, QString& reason);

    // ---- Texts and helpers -------------------------------------------------------
    static QString FormatTimeOfDay(int minute);
    // The most characters a time-sheet comment keeps (TruncateText254).
    static constexpr int kEntryCommentLength = 254;
    static void TruncateText254(QString& text);
    static QString QuoteSql(const QString& text);
    static QString VariantToString(const QVariant& value);
    // The folder the last file was chosen in ("" before the first).
    const QString& FileDirectory() const { return m_fileDirectory; }
    // A file to open; on OK its folder (ending in '/') and name.
    bool BrowseForFile(QString& folder, QString& fileName, const QString& title,
                       const QString& initialName, const QString& description,
                       const QString& pattern);
    // The SQL date literal of a day (midnight unless withTime).
    QString FormatSqlDate(const CDateTime& value, bool withTime = false) const;

    // ---- Who is around -------------------------------------------------------------
    void SetHost(IFacadeHost* host) { m_host = host; }
    void SetTimeSheetView(ITimeSheetView* view) { m_timeSheetView = view; }
    void SetSearchViewFactory(ISearchViewFactory* factory) { m_searchViews = factory; }
    // How long a search may run; tests shorten it.
    int SearchTimeLimitMs() const { return m_searchLimitMs; }
    void SetSearchTimeLimitMs(int ms) { m_searchLimitMs = ms; }

private:
    // After a failed open by OpenTableWithQuery: one message, and the caches go.
    void OpenFailed(CBindingSet* set);
    struct CPendingUndo;
    struct CWriteValues;
    int PrepareWrite(const CTimeSheetWrite& e, CWriteValues& v, QString& reason);
    int UpdateTimeDataSP(CTimeSheetWrite& e, CWriteValues& v, CPendingUndo& undo, QString& reason);
    int UpdateTimeDataRS(CTimeSheetSet* set, CTimeSheetWrite& e, CWriteValues& v,
                         CPendingUndo& undo, QString& reason);
    bool LockEntryDay(int empId, const CDateTime& date, QString& reason);
    // Whether the row under the TimeID is still the row of the key meant.
    bool KeyStillHolds(const CTimeSheetWrite& e, bool& holds, QString& reason);
    bool FindClashes(const CTimeSheetWrite& e, const CWriteValues& v, bool& own, bool& overlap,
                     QString& reason);
    bool OpenEntryRow(CTimeSheetSet& set, int empId, const CDateTime& date, int timeId);
    bool CommentsAsActionsWanted(const CTimeSheetWrite& e) const;
    void CacheWrittenEntry(const CTimeSheetWrite& e, const CWriteValues& v);
    void RouteSnapshot(bool toUndo, bool isUpdate, std::unique_ptr<CUndoStep> step);
    bool UndoApplyCallback(CUndoStep* step);
    bool RedoApplyCallback(CUndoStep* step);

    bool ReadDay(const CDateTime& date, int empId, bool quiet, QList<CTimeSheetEntry>& rows);
    void TakeDay(const CDateTime& date, int empId, QList<CTimeSheetEntry> rows);
    void DayNotRead(const CDateTime& date, int empId);
    // A failed write of a row of the day the cache holds or the window shows.
    void DayWriteFailed(const CDateTime& date, int empId);
    // A statement's rows for a loader, read forward; errors reported.
    std::unique_ptr<CRowCursor> OpenRows(const QString& sql, const QVariantList& params);
    bool RowsRead(const CRowCursor& rows);
    bool ReadTasks(const QString& clause, const QVariantList& values, QList<CTaskEntry>& out);
    void EnsureTasksOfProject(int projId);
    void EnsureAllTasks();
    bool ReadOrders(const QString& clause, const QVariantList& values, QList<COrderEntry>& out);
    // True when the project's orders were read by this call.
    bool EnsureOrdersOfProject(int projId);
    // After a miss by id alone: the orders of the order's project, else all.
    void ReadOrdersOfOrder(int orderId);
    void ClearCaches();
    int SelectIn(IItemList& combo, int index);
    bool ReportError(const CDbError& error);
    bool RunRows(const QString& sql, const QVariantList& params, CQueryResult* rows);

    QList<CProjectEntry> m_projects;
    QList<CWorkTypeEntry> m_workTypes;
    QList<COrderEntry> m_orders;
    QList<CTaskEntry> m_tasks;
    // Which tasks m_tasks holds.
    enum class TaskScope { None, All, Clause, Projects };
    TaskScope m_taskScope = TaskScope::None;
    QSet<int> m_taskProjects;
    // Which orders m_orders holds: all (or the server's choice for an
    // employee), or those of some projects.
    enum class OrderScope { None, All, Projects };
    OrderScope m_orderScope = OrderScope::None;
    QSet<int> m_orderProjects;
    QList<CTimeSheetEntry> m_day;
    QList<CProjectStateEntry> m_projectStates;
    CDateTime m_dayDate; // the day key: the date and employee the day cache holds
    int m_dayEmpId = -1;
    bool m_dayOutOfStep = false;
    QList<CEmployeeEntry> m_employees; // sorted by EmpFullName
    QString m_fileDirectory;
    QString m_defaultDatabaseName = QStringLiteral("vek_data");
    std::unique_ptr<CDBConnection> m_connection;
    QString m_currentUser;
    int m_providerKind = kProviderUnknown;

    CStartupInfo m_startup;
    Access Refusal(const CDbError& error, QString& problem);
    int m_scheduleBatch = 0;
    Access m_access = Access::Ready;
    QString m_accessProblem;
    QDate m_displayedDay;
    const CNameValueArray* m_requiredVersions = nullptr;
    IFacadeHost* m_host = nullptr;
    ITimeSheetView* m_timeSheetView = nullptr;
    ISearchViewFactory* m_searchViews = nullptr;
    int m_searchLimitMs = CSqlDialect::kSearchTimeLimitMs;
    std::unique_ptr<CUndoHistory> m_history;
};
