// The facade's writes and reads of change requests: a request with its
// items and team, its edit with the actions, its team and its deletion.
// Each write is one transaction: done completely or not at all.
#include "data/DBClass.h"

#include "data/FacadeWrite.h"
#include "data/records/ChgRqstActionSet.h"
#include "data/records/ChgRqstSet.h"
#include "data/records/ChgrqstTeamSet.h"
#include "platform/Clock.h"

namespace {

// Change-request writes wait for each other on the server, so two
// workstations never interleave the replacement of one request's actions.
constexpr int kChgReqLock = 3;

// Columns of CChgRqstSet and CChgRqstActionSet by position.
enum RequestColumn : int {
    kReqCompanyID = 3,
    kReqContact = 4,
    kReqReference = 5,
    kReqItem = 6,
    kReqDateCompleted = 8,
    kReqFullDetail = 11,
    kReqTeamList = 12,
};
enum ActionColumn : int {
    kActDateComplete = 6,
    kActComment = 7,
};

QVariant DateOrNull(const CDateTime& date)
{
    return date.IsValid() ? QVariant::fromValue(date) : QVariant();
}

// Inserts the team rows of one request; duplicates are written once.
bool InsertTeam(CFacadeWrite& write, int chgReqId, const QList<int>& team)
{
    QList<int> written;
    for (int empId : team) {
        if (written.contains(empId))
            continue;
        if (!write.Run(QStringLiteral("INSERT INTO tblChgReqTeam (ChgReqID, EmpID, Comment) VALUES "
                                      "(?, ?, ?)"),
                       {chgReqId, empId, QString()}))
            return false;
        written << empId;
    }
    return true;
}

// The action's status follows the request's: a completed request has
// completed actions.
int ActionStatus(int requestStatus)
{
    return requestStatus == kChgReqStatusCompleted ? kChgActionCompleted : requestStatus;
}

} // namespace

ChgReqResult CDBClass::AddChangeRequest(const CChgReqValues& values, const QStringList& items,
                                        const QList<int>& team, QList<int>& ids, QString& reason)
{
    ids.clear();
    CFacadeWrite write(*this, reason);
    if (!write.Begin(kChgReqLock))
        return ChgReqResult::OpenFailed;
    QList<int> written;
    for (const QString& item : items) {
        CChgRqstSet set(m_connection.get());
        set.Recordset()->SetQuiet(true);
        set.ClearFields();
        set.ClearStatus();
        set.m_ProjID = values.ProjID;
        set.m_EmpID = values.EmpID;
        // No company is NULL, as the views' joins expect.
        if (values.CompanyID >= 0)
            set.m_CompanyID = values.CompanyID;
        else
            set.Descriptor(kReqCompanyID).status = adFldNull;
        set.m_Contact = values.Contact;
        set.m_Reference = values.Reference;
        set.m_Item = item;
        set.m_DateCreated = values.DateCreated;
        set.Descriptor(kReqDateCompleted).status = adFldNull;
        set.m_StatusID = kChgReqStatusNew;
        set.m_Priority = values.Priority;
        set.m_TeamList = values.TeamList;
        if (!set.Recordset()->CheckAddNew() || !set.Recordset()->LastInsertId().isValid()) {
            reason = set.Recordset()->ErrorText();
            return ChgReqResult::WriteFailed;
        }
        // The id the insert gave, never a row found again by its values.
        const int id = set.Recordset()->LastInsertId().toInt();
        if (!InsertTeam(write, id, team))
            return ChgReqResult::WriteFailed;
        written << id;
    }
    if (!write.Commit())
        return ChgReqResult::WriteFailed;
    ids = written;
    return ChgReqResult::Ok;
}

ChgReqResult CDBClass::ReadChangeRequest(int chgReqId, CChgReqRecord& record, QString& reason)
{
    record = CChgReqRecord();
    if (!EnsureConnected()) {
        reason = QStringLiteral("Not connected to a database");
        return ChgReqResult::OpenFailed;
    }
    CChgRqstSet set(m_connection.get());
    set.Recordset()->SetQuiet(true);
    if (!set.OpenTableWithQuery(nullptr, QStringLiteral("[ChgReqID] = ?"), QString(), {chgReqId})) {
        reason = set.Recordset()->ErrorText();
        return ChgReqResult::OpenFailed;
    }
    if (set.Recordset()->IsEOF())
        return ChgReqResult::NotFound;
    record.ChgReqID = set.m_ChgReqID;
    record.ProjID = set.IsNull(1) ? -1 : set.m_ProjID;
    record.EmpID = set.IsNull(2) ? -1 : set.m_EmpID;
    record.CompanyID = set.IsNull(3) ? -1 : set.m_CompanyID;
    record.Contact = set.m_Contact;
    record.Reference = set.m_Reference;
    record.Item = set.m_Item;
    record.DateCreated = set.m_DateCreated;
    record.DateCompleted = set.m_DateCompleted;
    record.StatusID = set.IsNull(9) ? -1 : set.m_StatusID;
    record.Priority = set.IsNull(10) ? 2 : set.m_Priority;
    record.FullDetail = set.m_FullDetail;
    record.TeamList = set.m_TeamList;
    set.Close();

    if (record.ProjID >= 0)
        record.ProjName = GetProjNameById(record.ProjID);
    if (record.EmpID >= 0)
        record.Authority = GetEmpFullNameById(record.EmpID);
    if (record.CompanyID >= 0)
        GetCompanyNameById(record.CompanyID, record.CompanyName);
    if (!FillChgReqTeamIds(chgReqId, record.Team, &reason))
        return ChgReqResult::OpenFailed;

    CChgRqstActionSet actions(m_connection.get());
    actions.Recordset()->SetQuiet(true);
    if (!actions.OpenTableWithQuery(nullptr, QStringLiteral("[ChgReqID] = ?"),
                                    QStringLiteral("[ChgActionID]"), {chgReqId})) {
        reason = actions.Recordset()->ErrorText();
        return ChgReqResult::OpenFailed;
    }
    for (; !actions.Recordset()->IsBOF() && !actions.Recordset()->IsEOF(); actions.MoveNext()) {
        CChgReqAction action;
        action.ChgActionID = actions.Recordset()->Value(0).toInt();
        action.EmpID = actions.IsNull(4) ? -1 : actions.m_EmpID;
        action.DateAssigned = actions.m_DateAssigned;
        action.DateComplete = actions.m_DateComplete;
        action.Comment = actions.m_Comment;
        action.StatusID = actions.IsNull(8) ? -1 : actions.m_StatusID;
        record.Actions << action;
    }
    return ChgReqResult::Ok;
}

bool CDBClass::FillChgReqTeamIds(int chgReqId, QList<int>& empIds, QString* reason)
{
    empIds.clear();
    CChgrqstTeamSet set(m_connection.get());
    set.Recordset()->SetQuiet(true);
    // A connection that cannot be had has been told already.
    if (!EnsureConnected())
        return false;
    if (!set.OpenTableWithQuery(nullptr, QStringLiteral("[ChgReqID] = ?"),
                                QStringLiteral("[EmpID]"), {chgReqId})) {
        if (reason)
            *reason = set.Recordset()->ErrorText();
        return false;
    }
    for (; !set.Recordset()->IsBOF() && !set.Recordset()->IsEOF(); set.MoveNext())
        empIds << set.m_EmpID;
    return true;
}

ChgReqResult CDBClass::UpdateChangeRequest(int chgReqId, const CChgReqUpdate& values,
                                           const QStringList& actions, QString& reason)
{
    CFacadeWrite write(*this, reason);
    if (!write.Begin(kChgReqLock))
        return ChgReqResult::OpenFailed;
    // The texts as the columns hold them: cut where a character ends.
    CChgRqstSet request(m_connection.get());
    request.m_Contact = values.Contact;
    request.m_Reference = values.Reference;
    request.m_Item = values.Item;
    request.m_FullDetail = values.FullDetail;
    request.m_TeamList = values.TeamList;
    QString sql = QStringLiteral(
        "UPDATE tblChgReq SET TeamList = ?, StatusID = ?, Priority = ?, DateCompleted = ?");
    QVariantList params{request.BufferValue(kReqTeamList), values.StatusID, values.Priority,
                        DateOrNull(values.DateCompleted)};
    const auto set = [&sql, &params](const char* column, const QVariant& value) {
        sql += QStringLiteral(", %1 = ?").arg(QLatin1String(column));
        params << value;
    };
    // Texts left as they were keep what is stored, however long.
    if (values.writeContact)
        set("Contact", request.BufferValue(kReqContact));
    if (values.writeReference)
        set("Reference", request.BufferValue(kReqReference));
    if (values.ProjID >= 0)
        set("ProjID", values.ProjID);
    if (values.EmpID >= 0)
        set("EmpID", values.EmpID);
    if (values.writeItem)
        set("Item", request.BufferValue(kReqItem));
    if (values.writeDetails)
        set("FullDetail", request.BufferValue(kReqFullDetail));
    sql += QStringLiteral(" WHERE ChgReqID = ?");
    params << chgReqId;
    const qint64 changed = write.Change(sql, params);
    if (changed < 0)
        return ChgReqResult::WriteFailed;
    if (changed == 0)
        return ChgReqResult::NotFound;

    // New actions are the authority's, as stored now.
    CQueryResult owner;
    CQueryResult stored;
    if (!write.Run(QStringLiteral("SELECT EmpID FROM tblChgReq WHERE ChgReqID = ?"), {chgReqId},
                   &owner) ||
        !write.Run(QStringLiteral("SELECT ChgActionID, Comment FROM tblChgReqAction WHERE "
                                  "ChgReqID = ? ORDER BY ChgActionID"),
                   {chgReqId}, &stored))
        return ChgReqResult::OpenFailed;
    const QVariant empId = owner.rows == 1 ? owner.Value(0, 0) : QVariant();

    const int status = ActionStatus(values.StatusID);
    const QVariant complete = DateOrNull(values.DateCompleted);
    // An action still listed keeps its row (its assigned date, employee,
    // deliverable and version, as the time sheet wrote them); its status
    // follows the request's.
    QList<bool> kept(stored.rows, false);
    QStringList added;
    for (const QString& text : actions) {
        CChgRqstActionSet cut(m_connection.get());
        cut.m_Comment = text;
        const QString comment = cut.BufferValue(kActComment).toString();
        int match = -1;
        for (int r = 0; r < stored.rows && match < 0; ++r)
            if (!kept.at(r) && stored.Value(r, 1).toString() == comment)
                match = r;
        if (match < 0) {
            added << comment;
            continue;
        }
        kept[match] = true;
        if (write.Change(QStringLiteral("UPDATE tblChgReqAction SET StatusID = ?, DateComplete = ? "
                                        "WHERE ChgActionID = ?"),
                         {status, complete, stored.Value(match, 0)}) < 0)
            return ChgReqResult::WriteFailed;
    }
    for (int r = 0; r < stored.rows; ++r)
        if (!kept.at(r) &&
            write.Change(QStringLiteral("DELETE FROM tblChgReqAction WHERE ChgActionID = ?"),
                         {stored.Value(r, 0)}) < 0)
            return ChgReqResult::WriteFailed;
    const CDateTime today(CClock::Today());
    for (const QString& comment : std::as_const(added)) {
        CChgRqstActionSet action(m_connection.get());
        action.Recordset()->SetQuiet(true);
        action.ClearFields();
        action.ClearStatus();
        action.m_ChgReqID = chgReqId;
        action.m_DeliverableID = 0;
        action.m_EmpID = empId.toInt();
        if (empId.isNull())
            action.Descriptor(4).status = adFldNull;
        action.m_DateAssigned = today;
        action.m_DateComplete = values.DateCompleted;
        if (!values.DateCompleted.IsValid())
            action.Descriptor(kActDateComplete).status = adFldNull;
        action.m_Comment = comment;
        action.m_StatusID = status;
        if (!action.Recordset()->CheckAddNew()) {
            reason = action.Recordset()->ErrorText();
            return ChgReqResult::WriteFailed;
        }
    }
    return write.Commit() ? ChgReqResult::Ok : ChgReqResult::WriteFailed;
}

ChgReqResult CDBClass::ReplaceChgReqTeam(int chgReqId, const QList<int>& team, QString& reason)
{
    CFacadeWrite write(*this, reason);
    bool exists = false;
    if (!write.Begin(kChgReqLock) ||
        !write.Exists(QStringLiteral("SELECT ChgReqID FROM tblChgReq WHERE ChgReqID = ?"), chgReqId,
                      exists))
        return ChgReqResult::OpenFailed;
    if (!exists)
        return ChgReqResult::NotFound;
    CQueryResult stored;
    if (!write.Run(QStringLiteral("SELECT EmpID FROM tblChgReqTeam WHERE ChgReqID = ?"), {chgReqId},
                   &stored))
        return ChgReqResult::OpenFailed;
    // Members who stay keep their rows (and what their comment says).
    QList<int> staying;
    for (int r = 0; r < stored.rows; ++r) {
        const int empId = stored.Value(r, 0).toInt();
        if (team.contains(empId)) {
            staying << empId;
        } else if (write.Change(QStringLiteral("DELETE FROM tblChgReqTeam WHERE ChgReqID = ? AND "
                                               "EmpID = ?"),
                                {chgReqId, empId}) < 0) {
            return ChgReqResult::WriteFailed;
        }
    }
    QList<int> joining;
    for (int empId : team)
        if (!staying.contains(empId))
            joining << empId;
    if (!InsertTeam(write, chgReqId, joining))
        return ChgReqResult::WriteFailed;
    return write.Commit() ? ChgReqResult::Ok : ChgReqResult::WriteFailed;
}

ChgReqResult CDBClass::DeleteChangeRequest(int chgReqId, QString& reason)
{
    CFacadeWrite write(*this, reason);
    bool exists = false;
    // Its row, then the actions a booking may be writing: those go with it,
    // later ones find it gone.
    if (!write.Begin(kChgReqLock) ||
        !write.Exists(QStringLiteral("SELECT ChgReqID FROM tblChgReq WHERE ChgReqID = ?"), chgReqId,
                      exists, CSqlDialect::RowLock::ForUpdate) ||
        !write.KeepTablesUnchanged({QStringLiteral("tblChgReqAction")}))
        return ChgReqResult::OpenFailed;
    if (!exists)
        return ChgReqResult::NotFound;
    if (write.Change(QStringLiteral("DELETE FROM tblChgReqTeam WHERE ChgReqID = ?"), {chgReqId}) <
            0 ||
        write.Change(QStringLiteral("DELETE FROM tblChgReqAction WHERE ChgReqID = ?"), {chgReqId}) <
            0)
        return ChgReqResult::WriteFailed;
    const qint64 deleted =
        write.Change(QStringLiteral("DELETE FROM tblChgReq WHERE ChgReqID = ?"), {chgReqId});
    if (deleted < 0)
        return ChgReqResult::WriteFailed;
    if (deleted == 0)
        return ChgReqResult::NotFound;
    return write.Commit() ? ChgReqResult::Ok : ChgReqResult::WriteFailed;
}
