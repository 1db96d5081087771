#include "app/Profile.h"

#include "data/SqlDialect.h"
#include "platform/ProfileStore.h"
#include "ui/Utilities.h"

#include <QDir>

#include <algorithm>
#include <climits>

namespace {

using Type = CProfile::Type;
using CContext = CProfile::CContext;
using CEntry = CProfile::CEntry;

QString KeyPath(const char* section, const char* key)
{
    return QLatin1String(section) + QLatin1Char('/') + QLatin1String(key);
}

// A stored integer. QVariant's own conversion would wrap an out-of-range
// text around instead of refusing it, so texts go through QString.
int StoredInt(const QVariant& value, bool* ok)
{
    *ok = false;
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString().trimmed().toInt(ok);
    case QMetaType::QByteArray:
        return value.toByteArray().trimmed().toInt(ok);
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort: {
        bool converted = false;
        const qlonglong wide = value.toLongLong(&converted);
        if (!converted || wide < INT_MIN || wide > INT_MAX)
            return 0;
        *ok = true;
        return int(wide);
    }
    default:
        return 0;
    }
}

int IntOr(const QVariant& value, int fallback)
{
    bool ok = false;
    const int result = StoredInt(value, &ok);
    return ok ? result : fallback;
}

// The stored value in the entry's type; missing or unreadable gives the
// default, read the same way.
QVariant Typed(const CEntry& entry, const QVariant& stored)
{
    if (entry.type == Type::String) {
        if (!stored.isValid())
            return entry.defaultValue.toString();
        // An unquoted text with commas, written by something else, comes back
        // as a list.
        if (stored.typeId() == QMetaType::QStringList)
            return stored.toStringList().join(QLatin1String(", "));
        return stored.toString();
    }
    const int fallback = IntOr(entry.defaultValue, 0);
    const int value = stored.isValid() ? IntOr(stored, fallback) : fallback;
    switch (entry.type) {
    case Type::Bool:
        return value == 1;
    case Type::BoolNonZero:
        return value != 0;
    default:
        return value;
    }
}

QVariant ReadEntry(const QSettings& profile, const CEntry& entry, const CContext& context)
{
    QVariant value = Typed(entry, profile.value(KeyPath(entry.section, entry.key)));
    if (entry.readRule)
        value = entry.readRule(value, context);
    return value;
}

void WriteEntry(QSettings& profile, const CEntry& entry, const QVariant& value)
{
    QVariant stored;
    switch (entry.type) {
    case Type::Bool:
    case Type::BoolNonZero:
        stored = value.toBool() ? 1 : 0;
        break;
    case Type::Int:
        stored = IntOr(value, IntOr(entry.defaultValue, 0));
        break;
    case Type::String:
        stored = value.toString();
        break;
    }
    profile.setValue(KeyPath(entry.section, entry.key), stored);
}

bool OneOf(int value, std::initializer_list<int> kept)
{
    return std::find(kept.begin(), kept.end(), value) != kept.end();
}

// ---- Read rules ----

QVariant AtLeastOne(const QVariant& stored, const CContext&)
{
    return qMax(stored.toInt(), 1);
}

QVariant MonthRule(const QVariant& stored, const CContext&)
{
    const int month = stored.toInt();
    return month < 1 || month > 12 ? 1 : month;
}

QVariant IncrTimeRule(const QVariant& stored, const CContext& context)
{
    const int minutes = stored.toInt();
    const bool kept =
        context.bookingInterval == 6 ? OneOf(minutes, {6, 12, 30}) : OneOf(minutes, {15, 30, 60});
    return kept ? minutes : 30;
}

QVariant ReviewLengthRule(const QVariant& stored, const CContext&)
{
    const int kind = stored.toInt();
    return kind >= 0 && kind <= 5 ? kind : 0;
}

QVariant ZeroOrOneRule(const QVariant& stored, const CContext&)
{
    const int value = stored.toInt();
    return value == 1 ? 1 : 0;
}

QVariant ScrollSpeedRule(const QVariant& stored, const CContext&)
{
    const int speed = stored.toInt();
    return OneOf(speed, {200, 100, 21}) ? speed : 100;
}

QVariant OpenDlgRule(const QVariant& stored, const CContext& context)
{
    // The overview (8) exists on the server back end only.
    const int window = stored.toInt();
    const int last = context.providerKind == kProviderPostgres ? 8 : 7;
    return window >= 0 && window <= last ? window : 1;
}

QVariant NotificationRule(const QVariant& stored, const CContext&)
{
    const int mode = stored.toInt();
    return mode >= 0 && mode <= 3 ? mode : 0;
}

QVariant TimerRule(const QVariant& stored, const CContext&)
{
    return qBound(1, stored.toInt(), 6);
}

// A stored day that names no day (31 February) is the last day of its month.
void FixStoredDay(int year, int month, int& day)
{
    day = qMin(day, DaysInMonth(month, year));
}

const CEntry* FindEntry(const QList<CEntry>& table, const char* key)
{
    for (const CEntry& entry : table) {
        if (qstrcmp(entry.key, key) == 0)
            return &entry;
    }
    return nullptr;
}

} // namespace

// ---- CValues ------------------------------------------------------------------------------

int CProfile::CValues::Int(const char* key) const
{
    return m_values.value(QLatin1String(key)).toInt();
}

bool CProfile::CValues::Bool(const char* key) const
{
    return m_values.value(QLatin1String(key)).toBool();
}

QString CProfile::CValues::Text(const char* key) const
{
    return m_values.value(QLatin1String(key)).toString();
}

QVariant CProfile::CValues::Value(const char* key) const
{
    return m_values.value(QLatin1String(key));
}

void CProfile::CValues::Set(const char* key, const QVariant& value)
{
    m_values.insert(QLatin1String(key), value);
}

void CProfile::CValues::Remove(const char* key)
{
    m_values.remove(QLatin1String(key));
}

bool CProfile::CValues::Has(const char* key) const
{
    return m_values.contains(QLatin1String(key));
}

// ---- The tables ------------------------------------------------------------------------------

const QList<CProfile::CEntry>& CProfile::AdminTable()
{
    static const QList<CEntry> kTable = {
        {"Admin", "OpenCurDay", Type::Bool, 1, nullptr},
        {"Admin", "OpenSDay", Type::Bool, 0, nullptr},
        {"Admin", "CurDay", Type::Int, 1, AtLeastOne},
        {"Admin", "CurMonth", Type::Int, 1, MonthRule},
        {"Admin", "CurYear", Type::Int, 1970, AtLeastOne},
        {"Admin", "SetDefStartTime", Type::Bool, 1, nullptr},
        {"Admin", "SetDefIncrTime", Type::Bool, 1, nullptr},
        {"Admin", "StartTime", Type::Int, 8, nullptr},
        {"Admin", "IncrTime", Type::Int, 30, IncrTimeRule},
        {"Admin", "ReviewTimeLength", Type::Int, 4, ReviewLengthRule},
        // The default is 4, so a profile without the value reads 0.
        {"Admin", "ReviewTimeRelative", Type::Int, 4, ZeroOrOneRule},
        {"Admin", "ScrlSpd", Type::Int, 100, ScrollSpeedRule},
        {"Admin", "OpenDlg", Type::Int, 1, OpenDlgRule},
        {"Admin", "UseContacts", Type::Bool, 1, nullptr},
        {"Admin", "UseToDo", Type::Bool, 1, nullptr},
        {"Admin", "UseChgrqsts", Type::Bool, 1, nullptr},
        {"Admin", "defProjStr", Type::String, QString(), nullptr},
        {"Admin", "showTaskAlpha", Type::Bool, 0, nullptr},
        {"Admin", "noSmlVal", Type::Int, 1, nullptr},
        {"Admin", "GrabWidth", Type::Int, 4, AtLeastOne},
        {"Admin", "BlankComment", Type::Bool, 1, nullptr},
        {"Admin", "TaskWrite", Type::Bool, 1, nullptr},
        {"Admin", "WorkTypeWrite", Type::Bool, 0, nullptr},
        {"Admin", "AutoShowSave", Type::Bool, 1, nullptr},
        {"Admin", "CommentTypeSel", Type::Int, 0, nullptr},
        {"Admin", "ReoderMyOrders", Type::BoolNonZero, 1, nullptr},
        {"Admin", "DefHeightVal", Type::Int, 444, nullptr},
        {"Admin", "DefWidthVal", Type::Int, 568, nullptr},
        {"Admin", "MinHeightVal", Type::Int, 444, nullptr},
        {"Admin", "MinWidthVal", Type::Int, 225, nullptr},
        {"Admin", "TickStatus", Type::Int, 1, nullptr},
        {"Admin", "AutoLogStopHrVal", Type::Int, 17, nullptr},
        {"Admin", "AutoLogStopMinVal", Type::Int, 2, nullptr},
        {"Admin", "AutoLogRoundStart", Type::Bool, 1, nullptr},
        {"Admin", "AutoLogRoundStop", Type::Bool, 1, nullptr},
        {"Admin", "AutoLogAdvBook", Type::Int, 3, nullptr},
        {"Admin", "AutoNotifyDel", Type::Bool, 1, nullptr},
        {"Admin", "AutoMinSizeDel", Type::Int, 8, nullptr},
        {"Admin", "UseVekContact", Type::Bool, 1, nullptr},
        {"Admin", "DefTaskType", Type::String, QStringLiteral("todo"), nullptr},
        {"Admin", "ChgRqstNot", Type::Int, 0, NotificationRule},
        {"Admin", "ShowMine", Type::Bool, 1, nullptr},
        {"Admin", "ShowMineComments", Type::Bool, 1, nullptr},
        {"Admin", "booktime", Type::Bool, 0, nullptr},
        {"Admin", "commentsAsActions", Type::Bool, 1, nullptr},
        {"Admin", "withinDept", Type::Bool, 1, nullptr},
        {"Admin", "Channel", Type::Int, 0, nullptr},
        {"Admin", "Server", Type::String, QStringLiteral("Unknown"), nullptr},
        {"Admin", "DoSound", Type::Int, 1, nullptr},
        {"Admin", "SoundFile", Type::String, QString(), nullptr},
        {"Admin", "AutoBk", Type::Int, 0, nullptr},
        {"Admin", "BackupStr", Type::String, QString(), nullptr},
        {"Admin", "timerVal", Type::Int, 5, TimerRule},
        {"Admin", "bsearchSize", Type::BoolNonZero, 1000, nullptr},
        {"Admin", "isearchSize", Type::Int, 1000, nullptr},
    };
    return kTable;
}

const QList<CProfile::CEntry>& CProfile::KeysTable()
{
    // Key and modifier choices are small numbers; the key-command table
    // treats any other number as no key or no modifier.
    static const QList<CEntry> kTable = {
        {"Keys", "TSKey", Type::String, QStringLiteral("t"), nullptr},
        {"Keys", "IKey", Type::String, QStringLiteral("c"), nullptr},
        {"Keys", "scrUp", Type::Int, 0, nullptr},
        {"Keys", "scrDwn", Type::Int, 1, nullptr},
        {"Keys", "pgUp", Type::Int, 2, nullptr},
        {"Keys", "pgDwn", Type::Int, 3, nullptr},
        {"Keys", "HKey", Type::String, QStringLiteral("h"), nullptr},
        {"Keys", "RemHKey", Type::String, QStringLiteral("esc"), nullptr},
        {"Keys", "sysRsTUp", Type::Int, 0, nullptr},
        {"Keys", "RsTUp", Type::Int, 0, nullptr},
        {"Keys", "sysRsTDwn", Type::Int, 1, nullptr},
        {"Keys", "RsTDwn", Type::Int, 1, nullptr},
        {"Keys", "sysRsBUp", Type::Int, 1, nullptr},
        {"Keys", "RsBUp", Type::Int, 0, nullptr},
        {"Keys", "sysRsBDwn", Type::Int, 0, nullptr},
        {"Keys", "RsBDwn", Type::Int, 1, nullptr},
        {"Keys", "SelPrjKey", Type::String, QStringLiteral("p"), nullptr},
        {"Keys", "SelMenuKey", Type::String, QStringLiteral("m"), nullptr},
        {"Keys", "drwFocusRect", Type::BoolNonZero, 0, nullptr},
        {"Keys", "showbuts", Type::BoolNonZero, 0, nullptr},
    };
    return kTable;
}

// ---- Admin and Keys ---------------------------------------------------------------------------

CProfile::CValues CProfile::LoadSettings(const CContext& context)
{
    const CProfileStore profile;
    CValues values;
    for (const CEntry& entry : AdminTable())
        values.Set(entry.key, ReadEntry(profile, entry, context));
    int day = values.Int("CurDay");
    FixStoredDay(values.Int("CurYear"), values.Int("CurMonth"), day);
    values.Set("CurDay", day);
    return values;
}

void CProfile::SaveSettings(const CValues& values)
{
    CProfileStore profile;
    for (const CEntry& entry : AdminTable()) {
        // Always written as 1, whatever the options hold.
        if (qstrcmp(entry.key, "noSmlVal") == 0) {
            WriteEntry(profile, entry, 1);
            continue;
        }
        // What the caller does not hold stays as stored.
        if (values.Has(entry.key))
            WriteEntry(profile, entry, values.Value(entry.key));
    }
    profile.setValue(QStringLiteral("Admin/TimeRep"), 1);
}

CProfile::CValues CProfile::LoadKeyCommands()
{
    const CProfileStore profile;
    CValues values;
    for (const CEntry& entry : KeysTable())
        values.Set(entry.key, ReadEntry(profile, entry, CContext()));
    return values;
}

void CProfile::SaveKeyCommands(const CValues& values)
{
    CProfileStore profile;
    for (const CEntry& entry : KeysTable()) {
        if (values.Has(entry.key))
            WriteEntry(profile, entry, values.Value(entry.key));
    }
}

// ---- Single values
// --------------------------------------------------------------------------------

QString CProfile::DefUserName()
{
    return CProfileStore().value(QStringLiteral("USER/DefUserName")).toString();
}

void CProfile::SetDefUserName(const QString& name)
{
    CProfileStore().setValue(QStringLiteral("USER/DefUserName"), name);
}

QString CProfile::DefDatabaseName()
{
    return CProfileStore().value(QStringLiteral("DB/DefDatabaseName")).toString();
}

void CProfile::SetDefDatabaseName(const QString& text)
{
    CProfileStore().setValue(QStringLiteral("DB/DefDatabaseName"), text);
}

bool CProfile::DatabaseNamed()
{
    return CProfileStore().contains(QStringLiteral("DB/DefDatabaseName"));
}

QString CProfile::DefDirectory()
{
    // Database files are chosen from the home folder until the user picks
    // another.
    return CProfileStore().value(QStringLiteral("DB/DefDirectory"), QDir::homePath()).toString();
}

void CProfile::SetDefDirectory(const QString& path)
{
    CProfileStore().setValue(QStringLiteral("DB/DefDirectory"), path);
}

QString CProfile::HelpFile()
{
    const QString kDefault = QStringLiteral("kelvane.chm");
    CProfileStore profile;
    const QString file = profile.value(QStringLiteral("Help/HtmlHlpF")).toString();
    if (!file.isEmpty())
        return file;
    profile.setValue(QStringLiteral("Help/HtmlHlpF"), kDefault);
    return kDefault;
}

QString CProfile::ManualFile()
{
    return CProfileStore().value(QStringLiteral("Help/DefFName")).toString();
}

void CProfile::SetManualFile(const QString& path)
{
    CProfileStore().setValue(QStringLiteral("Help/DefFName"), path);
}

bool CProfile::MultiQuery()
{
    return IntOr(CProfileStore().value(QStringLiteral("Query/bMulti")), 0) != 0;
}

bool CProfile::XlsTimeSheetOffered()
{
    return IntOr(CProfileStore().value(QStringLiteral("XLSTS/xlsts")), 0) == 1;
}

void CProfile::SaveXlsSettings(const QString& dir, const QString& templateFile)
{
    CProfileStore profile;
    profile.setValue(QStringLiteral("UE/xlsDir"), dir);
    profile.setValue(QStringLiteral("UE/xlsTemp"), templateFile);
}

void CProfile::GetXlsSettings(QString& dir, QString& templateFile)
{
    const CProfileStore profile;
    dir = profile.value(QStringLiteral("UE/xlsDir")).toString();
    templateFile = profile.value(QStringLiteral("UE/xlsTemp")).toString();
}

QString CProfile::DefProjStr()
{
    const CProfileStore profile;
    return ReadEntry(profile, *FindEntry(AdminTable(), "defProjStr"), CContext()).toString();
}

void CProfile::SaveCurrentDate(int year, int month, int day)
{
    CProfileStore profile;
    profile.setValue(QStringLiteral("Admin/CurYear"), year);
    profile.setValue(QStringLiteral("Admin/CurMonth"), month);
    profile.setValue(QStringLiteral("Admin/CurDay"), day);
}

void CProfile::LoadCurrentDate(int& year, int& month, int& day)
{
    const CProfileStore profile;
    const CContext context;
    const QList<CEntry>& table = AdminTable();
    year = ReadEntry(profile, *FindEntry(table, "CurYear"), context).toInt();
    month = ReadEntry(profile, *FindEntry(table, "CurMonth"), context).toInt();
    day = ReadEntry(profile, *FindEntry(table, "CurDay"), context).toInt();
    FixStoredDay(year, month, day);
}

int CProfile::GetIndexedInt(const QString& section, int index)
{
    return IntOr(CProfileStore().value(section + QLatin1Char('/') + QString::number(index)), -1);
}

void CProfile::WriteIndexedInt(const QString& section, int index, int value)
{
    CProfileStore().setValue(section + QLatin1Char('/') + QString::number(index), value);
}
