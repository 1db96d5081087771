#include "data/DBClass.h"

#include "data/BindingSet.h"
#include "data/NameValueArray.h"
#include "data/RowCursor.h"
#include "data/Schema.h"
#include "data/StatementLimit.h"
#include "data/UndoHistory.h"
#include "data/records/DbInfoSet.h"
#include "platform/Characters.h"
#include "platform/Clock.h"
#include "platform/FileChooser.h"
#include "platform/MessageBox.h"
#include "platform/ProfileStore.h"

#include <QFileInfo>
#include <QRandomGenerator>

namespace {

// Time-sheet edits the history keeps.
constexpr int kUndoCapacity = 100;

// "a", "a and b", "a, b and c".
QString JoinedNames(QStringList names)
{
    const QString last = names.takeLast();
    return names.isEmpty() ? last
                           : names.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

} // namespace

CDBClass::CDBClass()
    : m_connection(std::make_unique<CDBConnection>())
    , m_history(std::make_unique<CUndoHistory>(kUndoCapacity))
{
    // Random, so that sessions on other workstations pick other numbers.
    m_scheduleBatch = static_cast<int>(QRandomGenerator::system()->bounded(1u, 0x7fffffffu));
    m_history->SetApplyCallbacks([this](CUndoStep* step) { return UndoApplyCallback(step); },
                                 [this](CUndoStep* step) { return RedoApplyCallback(step); });
}

CDBClass::~CDBClass()
{
    ClearCaches();
    ReleaseConnection(true, true);
}

void CDBClass::ClearCaches()
{
    m_employees.clear();
    m_projects.clear();
    m_workTypes.clear();
    m_tasks.clear();
    m_taskScope = TaskScope::None;
    m_taskProjects.clear();
    m_orders.clear();
    m_orderScope = OrderScope::None;
    m_orderProjects.clear();
    // The day the time line shows stays as last read until it is read again;
    // dropping it would empty the line, and turn a change of a shown block
    // into a new row.
    if (m_dayDate.IsValid())
        m_dayOutOfStep = true;
    else
        m_day.clear();
    m_projectStates.clear();
}

// ---- Connection and back end -----------------------------------------------

bool CDBClass::OpenConnection()
{
    if (!m_connection->Connect(false))
        return false;
    GetProviderKind();
    if (m_startup.BookingInterval == -1) {
        int minutes = 15;
        if (ReadMinBookingInterval(minutes))
            m_startup.BookingInterval = minutes;
    }
    return true;
}

bool CDBClass::ReleaseConnection(bool force, bool clearCaches)
{
    if (!m_connection->ReleaseConnection(force))
        return false;
    if (m_connection->UseCount() > 0 || !clearCaches)
        return true;
    ClearCaches();
    return true;
}

bool CDBClass::EnsureConnected()
{
    if (!m_connection->IsConnected() && !m_connection->Connect(false))
        return false;
    GetProviderKind();
    return m_connection->IsConnected();
}

int CDBClass::DetectProvider()
{
    QString connectionString = m_connection->ConnectionString();
    if (connectionString.isEmpty())
        connectionString = m_connection->LoadConnectionString();
    m_providerKind = CSqlDialect::DetectProvider(connectionString);
    return m_providerKind;
}

int CDBClass::GetProviderKind()
{
    if (m_providerKind == kProviderUnknown)
        DetectProvider();
    return m_providerKind;
}

QString CDBClass::GetDateDelimiter()
{
    return GetProviderKind() == kProviderSqlite ? QStringLiteral("#") : QStringLiteral("'");
}

bool CDBClass::CanUseDbObject(int kind, double dbVersion, const QString& name) const
{
    if (kind != kProviderPostgres)
        return false;
    return !m_requiredVersions ||
           m_requiredVersions->IsAvailable(name, static_cast<float>(dbVersion));
}

bool CDBClass::CanUseDbObject(const QString& name)
{
    return CanUseDbObject(GetProviderKind(), m_startup.DbVersion, name);
}

// ---- Record objects -----------------------------------------------------------

bool CDBClass::OpenRecordSet(CBindingSet* set, bool longQuery)
{
    if (!set)
        return false;
    OpenConnection();
    CMyAdoRecordSet* rs = set->Recordset();
    if (rs->IsOpen())
        return rs->Requery();
    if (!rs->Filter().isEmpty() || !rs->Sort().isEmpty()) {
        const QString filter = rs->Filter();
        const QString sort = rs->Sort();
        const QVariantList values = rs->FilterValues();
        return longQuery ? set->OpenTableWithLongQuery(nullptr, filter, sort, values)
                         : set->OpenTableWithQuery(nullptr, filter, sort, values);
    }
    if (!rs->OpenRecordSetRecEx())
        return false;
    set->MapFields();
    return true;
}

bool CDBClass::CloseRecordSet(CBindingSet* set, bool force)
{
    if (set && (force || set->Recordset()->IsOpen()))
        set->Close();
    return true;
}

bool CDBClass::OpenTableWithQuery(CBindingSet* set, const QString& where, const QString& order)
{
    if (!set)
        return false;
    set->Recordset()->SetFilter(where, set->Recordset()->Filter() == where
                                           ? set->Recordset()->FilterValues()
                                           : QVariantList());
    set->Recordset()->SetSort(order);
    OpenConnection();
    if (OpenRecordSet(set, false))
        return true;
    OpenFailed(set);
    return false;
}

bool CDBClass::OpenTableWithLongQuery(CBindingSet* set, const QString& where, const QString& order)
{
    if (!set)
        return false;
    set->Recordset()->SetFilter(where, set->Recordset()->Filter() == where
                                           ? set->Recordset()->FilterValues()
                                           : QVariantList());
    set->Recordset()->SetSort(order);
    OpenConnection();
    if (OpenRecordSet(set, true))
        return true;
    OpenFailed(set);
    return false;
}

void CDBClass::OpenFailed(CBindingSet* set)
{
    // One message: a recordset that reports its own errors has said why.
    const CMyAdoRecordSet* rs = set->Recordset();
    if (rs->IsQuiet())
        ShowMessageBox(
            FailureMessage(QStringLiteral("OpenRecordSet error"), rs->ErrorCode(), rs->ErrorText()),
            kMbOk | kMbIconError);
    ReleaseConnection(false, true);
}

// ---- Start-up information and version -------------------------------------------

CDBClass::Access CDBClass::CheckStartupAccess(QString& problem)
{
    problem.clear();
    if (!EnsureConnected()) {
        problem = QStringLiteral("Not connected to a database");
        return Access::Failed;
    }
    CDbError error;
    const QStringList tables = CSchema::PresentTables(*m_connection, &error);
    if (error.IsError())
        return Refusal(error, problem);
    // Every table of the program: one that is missing would only be met
    // later, as a raw error in the middle of some work.
    QStringList missing;
    for (const QString& table : CSchema::TableNames())
        if (!tables.contains(table))
            missing << table;
    if (!missing.isEmpty()) {
        problem = tables.isEmpty() ? QStringLiteral("it holds none of Kelvane's tables")
                                   : QStringLiteral("it has no %1 %2")
                                         .arg(JoinedNames(missing), missing.size() == 1
                                                                        ? QStringLiteral("table")
                                                                        : QStringLiteral("tables"));
        return Access::NotKelvane;
    }
    // Reading nothing from every table waits for any lock that would make
    // the start wait, within the connection's wait limits.
    QStringList probes;
    for (const QString& table : std::as_const(tables))
        probes << QStringLiteral("SELECT 1 FROM %1 WHERE 1 = 0").arg(table);
    if (CSqlExecutor::RunNative(*m_connection, probes.join(QStringLiteral(" UNION ALL ")), {},
                                nullptr, &error))
        return Access::Ready;
    return Refusal(error, problem);
}

CDBClass::Access CDBClass::Refusal(const CDbError& error, QString& problem)
{
    if (error.code != kE_Timeout) {
        problem = error.description;
        return Access::Failed;
    }
    const QString holders = m_connection->DescribeLockHolders();
    problem = holders.isEmpty() ? error.description : holders;
    return Access::Busy;
}

CDBClass::Access CDBClass::StartupAccess(QString* problem) const
{
    if (problem)
        *problem = m_accessProblem;
    return m_access;
}

bool CDBClass::Connect()
{
    if (!m_connection->Connect(false))
        return false;
    const int kind = GetProviderKind();
    m_access = CheckStartupAccess(m_accessProblem);
    if (m_access != Access::Ready)
        return true;
    // The captions name the company on a database file too, so the file
    // reads the same view; it holds what tblProperty holds.
    if (m_startup.CompanyName.isEmpty() &&
        (CanUseDbObject(QStringLiteral("qselStartUpInfo")) || kind == kProviderSqlite))
        ReadStartupInfo();
    if (m_startup.StartupFlag < 0)
        GetPropertyInt(m_startup.StartupFlag, QString::fromLatin1(kQuickStartProperty), 0);
    if (m_startup.BookingInterval == -1) {
        int minutes = 15;
        ReadMinBookingInterval(minutes);
        m_startup.BookingInterval = minutes;
    }
    return true;
}

bool CDBClass::ReadStartupInfo()
{
    CQueryResult rows;
    if (!RunRows(QStringLiteral(
                     "SELECT CompanyName, CompanySymbol, requirePwd, minBookingInterval, dbVersion "
                     "FROM qselStartUpInfo"),
                 {}, &rows) ||
        rows.rows == 0)
        return false;
    const int present = rows.ColumnCount();
    if (present > 0)
        m_startup.CompanyName = rows.Value(0, 0).toString();
    if (present > 1)
        m_startup.CompanySymbol = rows.Value(0, 1).toString();
    if (present > 2)
        m_startup.PasswordMode = rows.Value(0, 2).toInt();
    if (present > 3 && !rows.Value(0, 3).isNull())
        m_startup.BookingInterval = rows.Value(0, 3).toInt();
    if (present > 4) {
        m_startup.DbVersion = rows.Value(0, 4).toDouble();
        m_startup.DbVersionText = QString::asprintf("%2.2f", m_startup.DbVersion);
    }
    return present >= 5;
}

bool CDBClass::CheckDbVersion(double required, QString& versionText, bool useCached)
{
    CProfileStore profile;
    const bool cached = useCached &&
                        profile.value(QStringLiteral("Query/bMulti"), 0).toInt() != 0 &&
                        CNameValueArray::Hundredths(m_startup.DbVersion) >= 200;
    if (!cached) {
        OpenConnection();
        CDbInfoSet info(m_connection.get());
        info.Recordset()->SetFilter(QStringLiteral("abs([isActive])=1"));
        // The newest active revision is the one in force. A row without a
        // date (another program's) comes after the dated ones on both back
        // ends: the server alone would put it first.
        info.Recordset()->SetSort(
            QStringLiteral("CASE WHEN dbInfoDate IS NULL THEN 1 ELSE 0 END, dbInfoDate DESC"));
        if (OpenRecordSet(&info) && !info.Recordset()->IsEOF()) {
            m_startup.DbVersionText = QString::asprintf("%2.2f", info.m_dbVersion);
            m_startup.DbVersion = m_startup.DbVersionText.toDouble();
            m_startup.ProgramMinVersion = info.m_KelvaneMinVersion;
        }
        CloseRecordSet(&info);
        ReleaseConnection(false, true);
    }
    versionText = QString::asprintf("%2.2f", m_startup.DbVersion);
    return CNameValueArray::Hundredths(m_startup.DbVersion) >=
           CNameValueArray::Hundredths(required);
}

// ---- Properties, counts and ad-hoc SQL ---------------------------------------------

bool CDBClass::ReportError(const CDbError& error)
{
    if (error.code != kE_NoCurrentRecord)
        TellDbFailure(error);
    if (error.code == kE_FAIL)
        m_connection->DropConnection();
    return false;
}

bool CDBClass::RunRows(const QString& sql, const QVariantList& params, CQueryResult* rows)
{
    if (!EnsureConnected())
        return false;
    CDbError error;
    if (CSqlExecutor::Run(*m_connection, sql, params, rows, &error))
        return true;
    return ReportError(error);
}

bool CDBClass::GetPropertyInt(int& value, const QString& name, int defaultValue)
{
    value = defaultValue;
    CQueryResult rows;
    if (!RunRows(QStringLiteral("select intValue from tblProperty where PropertyName = ?"), {name},
                 &rows))
        return false;
    for (int r = 0; r < rows.rows; ++r)
        if (!rows.Value(r, 0).isNull())
            value = rows.Value(r, 0).toInt();
    return true;
}

bool CDBClass::ReadMinBookingInterval(int& minutes)
{
    if (GetPropertyInt(minutes, QStringLiteral("minBookingInterval"), 15))
        return true;
    minutes = 15;
    return false;
}

int CDBClass::CountTimeSheets(int& count, int projId)
{
    count = 0;
    CQueryResult rows;
    QString sql = QStringLiteral("select count(*) AS xyz from tblTimesheet");
    QVariantList params;
    if (projId >= 0) {
        sql += QStringLiteral(" where projid = ?");
        params << projId;
    }
    if (RunRows(sql, params, &rows) && rows.rows > 0)
        count = rows.Value(0, 0).toInt();
    return count;
}

bool CDBClass::ExecuteQuery(const QString& sql, CMyAdoRecordSet*& rs, const QVariantList& params)
{
    if (!EnsureConnected())
        return false;
    const bool created = rs == nullptr;
    if (created)
        rs = new CMyAdoRecordSet(m_connection.get(), QString(), 0, nullptr);
    rs->SetQuiet(true);
    if (rs->OpenSql(sql, params))
        return true;
    if (created) {
        delete rs;
        rs = nullptr;
    }
    return false;
}

bool CDBClass::RecordsetToStringArray(CMyAdoRecordSet* rs, QStringList& out, int& rowCount,
                                      int columns, int /*rowsPerFetch*/)
{
    rowCount = 0;
    if (!rs)
        return true;
    rs->MoveFirst();
    while (!rs->IsBOF() && !rs->IsEOF()) {
        for (int c = 0; c < columns; ++c) {
            const QVariant v = rs->Value(c);
            out << (v.isNull() ? QStringLiteral(" ") : VariantToString(v));
        }
        ++rowCount;
        rs->MoveNext();
    }
    return true;
}

namespace {

// The statements of a text, split at ';' outside quotes.
QStringList SplitStatements(const QString& sql)
{
    QStringList parts;
    QString current;
    QChar quote;
    for (const QChar c : sql) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
        } else if (c == QLatin1Char(';')) {
            if (!current.trimmed().isEmpty())
                parts << current;
            current.clear();
            continue;
        }
        current += c;
    }
    if (!current.trimmed().isEmpty())
        parts << current;
    return parts;
}

} // namespace

bool CDBClass::AddStrings(const QString& sql, QStringList& out, bool multipleResults,
                          QList<int>& rowCounts, const QVariantList& params)
{
    if (!EnsureConnected())
        return false;
    const QStringList statements = multipleResults ? SplitStatements(sql) : QStringList{sql};
    for (const QString& statement : statements) {
        const auto rows = OpenRows(statement, multipleResults ? QVariantList() : params);
        if (!rows)
            return false;
        int count = 0;
        for (; rows->Next(); ++count)
            for (int c = 0; c < rows->ColumnCount(); ++c) {
                const QVariant v = rows->Value(0, c);
                out << (v.isNull() ? QString() : VariantToString(v));
            }
        if (!RowsRead(*rows))
            return false;
        if (multipleResults)
            rowCounts << count;
    }
    return true;
}

bool CDBClass::RunQueryToList(const QString& sql, QString& message, const QString& kind,
                              const QString& text, QList<CMyAdoRecordSet*>& recordsets,
                              QList<QObject*>& views, QObject* parent, IStatementWatch* watch)
{
    if (!EnsureConnected()) {
        CDbError outage;
        message = m_connection->OutageInThisAction(&outage) ? outage.description
                                                            : m_connection->LastOpenError();
        return false;
    }
    CDbError error;
    if (!m_connection->BeginReadOnlyTrans(&error)) {
        CMyAdoRecordSet::FormatComError(error, message);
        return false;
    }
    auto* rs = new CMyAdoRecordSet(m_connection.get(), QString(), 0, nullptr);
    rs->SetQuiet(true);
    CStatementLimit::Stop stopped = CStatementLimit::Stop::None;
    bool opened = false;
    {
        // Only the search itself: the end of the transaction always runs.
        CStatementLimit limit(*m_connection, m_searchLimitMs, watch);
        opened = rs->OpenSql(sql);
        stopped = limit.Stopped();
    }
    m_connection->EndReadOnlyTrans();
    if (!opened) {
        switch (stopped) {
        case CStatementLimit::Stop::TimedOut:
            message = QStringLiteral("The search ran for more than %1 seconds and was stopped")
                          .arg(m_searchLimitMs / 1000);
            break;
        case CStatementLimit::Stop::Cancelled:
            message = QStringLiteral("The search was cancelled");
            break;
        case CStatementLimit::Stop::None:
            message = rs->ErrorText();
            break;
        }
        delete rs;
        return false;
    }
    if (rs->RecordCount() == 0) {
        message = QStringLiteral("No Records");
        delete rs;
        return true;
    }
    recordsets << rs;
    if (QObject* view =
            m_searchViews ? m_searchViews->CreateSearchView(kind, text, rs, parent) : nullptr)
        views << view;
    message.clear();
    return true;
}

// ---- Texts and helpers ------------------------------------------------------------------

QString CDBClass::FormatTimeOfDay(int minute)
{
    if (minute < 0 || minute > 1440)
        minute = 0;
    return QString::asprintf("%02i:%02i ", minute / 60, minute % 60);
}

void CDBClass::TruncateText254(QString& text)
{
    text = LeftCharacters(text, kEntryCommentLength);
}

QString CDBClass::QuoteSql(const QString& text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QLatin1String("''"));
    return quoted;
}

QString CDBClass::VariantToString(const QVariant& value)
{
    // Fixed forms, whatever the desktop's locale.
    if (value.isNull())
        return QString();
    if (value.metaType() == QMetaType::fromType<CDateTime>())
        return value.value<CDateTime>().ToIsoText();
    switch (value.metaType().id()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'g', 15);
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::QByteArray:
        return QString::fromUtf8(value.toByteArray());
    default:
        return value.toString();
    }
}

void CDBClass::MinutesToDateTime(CDateTime& out, int minute) const
{
    out = MinutesOnDay(m_displayedDay.isValid() ? m_displayedDay : CClock::Today(), minute);
}

QString CDBClass::FormatSqlDate(const CDateTime& value, bool withTime) const
{
    return Dialect().DateLiteral(value, withTime);
}

bool CDBClass::BrowseForFile(QString& folder, QString& fileName, const QString& title,
                             const QString& initialName, const QString& description,
                             const QString& pattern)
{
    const QString start =
        m_fileDirectory.isEmpty() ? initialName : m_fileDirectory + QLatin1Char('/') + initialName;
    const QString filters = QStringLiteral("%1 (%2);;All Files (*)").arg(description, pattern);
    const QString chosen = ChooseOpenFile(title, start, filters);
    if (chosen.isEmpty())
        return false;
    const QFileInfo info(chosen);
    fileName = info.fileName();
    folder = info.absolutePath() + QLatin1Char('/');
    m_fileDirectory = info.absolutePath();
    return true;
}

bool CDBClass::CheckBookingAllowed(int, int, int) const
{
    return true;
}
