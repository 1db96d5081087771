#include "app/Profile.h"
#include "data/SqlDialect.h"
#include "platform/ProfileStore.h"
#include "tests/support/TestEnv.h"

#include <QDir>
#include <QFile>

namespace {

using Type = CProfile::Type;

CProfile::CContext Context(int bookingInterval = 15, int providerKind = kProviderSqlite)
{
    return {bookingInterval, providerKind};
}

void Store(const char* section, const char* key, const QVariant& value)
{
    CProfileStore().setValue(QLatin1String(section) + '/' + QLatin1String(key), value);
}

int ReadInt(const char* key, const QVariant& stored, const CProfile::CContext& context = Context())
{
    Store("Admin", key, stored);
    return CProfile::LoadSettings(context).Int(key);
}

// A value the entry keeps that differs from what an empty profile gives.
QVariant OtherValue(const CProfile::CEntry& entry, const QVariant& effectiveDefault)
{
    switch (entry.type) {
    case Type::Bool:
    case Type::BoolNonZero:
        return !effectiveDefault.toBool();
    case Type::String:
        return QStringLiteral(" Büro, \"Nord\"; #7 %1 ") + QLatin1String(entry.key);
    case Type::Int:
        break;
    }
    for (int candidate : {2, 1, 0, 6, 12, 60, 21, 200, 3, 1999}) {
        if (candidate == effectiveDefault.toInt())
            continue;
        const QVariant kept =
            entry.readRule ? entry.readRule(candidate, Context()) : QVariant(candidate);
        if (kept.toInt() == candidate)
            return candidate;
    }
    ADD_FAILURE() << "no other value for " << entry.key;
    return effectiveDefault;
}

} // namespace

// ---- The tables and an empty profile ----

TEST(Profile, AnEmptyProfileReadsTheDefaults)
{
    // clang-format off
    const QVariantMap expected = {
        {"OpenCurDay", true}, {"OpenSDay", false}, {"CurDay", 1}, {"CurMonth", 1},
        {"CurYear", 1970}, {"SetDefStartTime", true}, {"SetDefIncrTime", true}, {"StartTime", 8},
        {"IncrTime", 30}, {"ReviewTimeLength", 4}, {"ReviewTimeRelative", 0}, {"ScrlSpd", 100},
        {"OpenDlg", 1}, {"UseContacts", true}, {"UseToDo", true}, {"UseChgrqsts", true},
        {"defProjStr", ""}, {"showTaskAlpha", false}, {"noSmlVal", 1}, {"GrabWidth", 4},
        {"BlankComment", true}, {"TaskWrite", true}, {"WorkTypeWrite", false},
        {"AutoShowSave", true}, {"CommentTypeSel", 0}, {"ReoderMyOrders", true},
        {"DefHeightVal", 444}, {"DefWidthVal", 568}, {"MinHeightVal", 444}, {"MinWidthVal", 225},
        {"TickStatus", 1}, {"AutoLogStopHrVal", 17}, {"AutoLogStopMinVal", 2},
        {"AutoLogRoundStart", true}, {"AutoLogRoundStop", true}, {"AutoLogAdvBook", 3},
        {"AutoNotifyDel", true}, {"AutoMinSizeDel", 8}, {"UseVekContact", true},
        {"DefTaskType", "todo"}, {"ChgRqstNot", 0}, {"ShowMine", true},
        {"ShowMineComments", true}, {"booktime", false}, {"commentsAsActions", true},
        {"withinDept", true}, {"Channel", 0}, {"Server", "Unknown"}, {"DoSound", 1},
        {"SoundFile", ""}, {"AutoBk", 0}, {"BackupStr", ""}, {"timerVal", 5},
        {"bsearchSize", true}, {"isearchSize", 1000}};
    const QVariantMap keys = {
        {"TSKey", "t"}, {"IKey", "c"}, {"scrUp", 0}, {"scrDwn", 1}, {"pgUp", 2}, {"pgDwn", 3},
        {"HKey", "h"}, {"RemHKey", "esc"}, {"sysRsTUp", 0}, {"RsTUp", 0}, {"sysRsTDwn", 1},
        {"RsTDwn", 1}, {"sysRsBUp", 1}, {"RsBUp", 0}, {"sysRsBDwn", 0}, {"RsBDwn", 1},
        {"SelPrjKey", "p"}, {"SelMenuKey", "m"}, {"drwFocusRect", false}, {"showbuts", false}};
    // clang-format on
    EXPECT_EQ(CProfile::LoadSettings(Context()).Map(), expected);
    EXPECT_EQ(CProfile::LoadKeyCommands().Map(), keys);
    EXPECT_EQ(CProfile::AdminTable().size(), expected.size());
    EXPECT_EQ(CProfile::KeysTable().size(), keys.size());
}

TEST(Profile, EveryValueComesBackAsSaved)
{
    const CProfile::CValues defaults = CProfile::LoadSettings(Context());
    CProfile::CValues changed;
    for (const CProfile::CEntry& entry : CProfile::AdminTable()) {
        if (QByteArray(entry.key) != "noSmlVal")
            changed.Set(entry.key, OtherValue(entry, defaults.Value(entry.key)));
    }
    // A whole stored day; the round trip keeps it.
    changed.Set("CurDay", 29);
    changed.Set("CurMonth", 2);
    changed.Set("CurYear", 2024);
    CProfile::SaveSettings(changed);
    const CProfile::CValues back = CProfile::LoadSettings(Context());
    for (const CProfile::CEntry& entry : CProfile::AdminTable()) {
        if (changed.Has(entry.key)) {
            EXPECT_EQ(back.Value(entry.key), changed.Value(entry.key)) << entry.key;
        }
    }
    EXPECT_TRUE(back.Bool("showTaskAlpha"));
    EXPECT_FALSE(back.Bool("withinDept"));

    CProfile::CValues keys;
    const CProfile::CValues keyDefaults = CProfile::LoadKeyCommands();
    for (const CProfile::CEntry& entry : CProfile::KeysTable())
        keys.Set(entry.key, OtherValue(entry, keyDefaults.Value(entry.key)));
    CProfile::SaveKeyCommands(keys);
    EXPECT_EQ(CProfile::LoadKeyCommands().Map(), keys.Map());
}

TEST(Profile, SavingWritesTheFixedValuesAndLeavesWhatItIsNotGiven)
{
    Store("Admin", "StartTime", 6);
    CProfile::CValues values;
    values.Set("noSmlVal", 5);
    values.Set("OpenCurDay", false);
    CProfile::SaveSettings(values);
    const CProfileStore profile;
    EXPECT_EQ(profile.value("Admin/TimeRep").toInt(), 1);
    EXPECT_EQ(profile.value("Admin/noSmlVal").toInt(), 1);
    EXPECT_EQ(profile.value("Admin/OpenCurDay").toString(), QStringLiteral("0"));
    EXPECT_EQ(profile.value("Admin/StartTime").toInt(), 6);
    EXPECT_FALSE(profile.contains("Admin/DefTaskType"));
}

TEST(Profile, TheStoredDayAgreesBetweenBothWriters)
{
    CProfile::SaveCurrentDate(2023, 12, 31);
    CProfile::CValues options = CProfile::LoadSettings(Context());
    EXPECT_EQ(options.Int("CurDay"), 31);
    EXPECT_EQ(options.Int("CurMonth"), 12);
    EXPECT_EQ(options.Int("CurYear"), 2023);

    options.Set("CurDay", 15);
    options.Set("CurMonth", 6);
    options.Set("CurYear", 2025);
    CProfile::SaveSettings(options);
    int y = 0, m = 0, d = 0;
    CProfile::LoadCurrentDate(y, m, d);
    EXPECT_EQ(QList<int>({y, m, d}), QList<int>({2025, 6, 15}));

    Store("Admin", "CurDay", 31);
    Store("Admin", "CurMonth", 2);
    CProfile::LoadCurrentDate(y, m, d);
    EXPECT_EQ(QList<int>({y, m, d}), QList<int>({2025, 2, 28}));
    Store("Admin", "CurDay", -4);
    Store("Admin", "CurMonth", 13);
    Store("Admin", "CurYear", 0);
    CProfile::LoadCurrentDate(y, m, d);
    EXPECT_EQ(QList<int>({y, m, d}), QList<int>({1, 1, 1}));
}

// ---- Read rules ----

TEST(Profile, EachReadRuleAndFlagKind)
{
    struct {
        const char* key;
        int stored;
        int read;
        int interval;
        int provider;
    } const cases[] = {
        // clang-format off
        {"IncrTime", 12, 12, 6, kProviderSqlite},    {"IncrTime", 12, 30, 15, kProviderSqlite},
        {"IncrTime", 60, 30, 6, kProviderSqlite},    {"IncrTime", 60, 60, 15, kProviderSqlite},
        {"OpenDlg", 8, 8, 15, kProviderPostgres},    {"OpenDlg", 8, 1, 15, kProviderSqlite},
        {"OpenDlg", 7, 7, 15, kProviderSqlite},      {"OpenDlg", -1, 1, 15, kProviderPostgres},
        {"timerVal", 0, 1, 15, kProviderSqlite},     {"timerVal", 9, 6, 15, kProviderSqlite},
        {"ReviewTimeRelative", 2, 0, 15, kProviderSqlite},
        {"ReviewTimeRelative", 1, 1, 15, kProviderSqlite},
        {"ReviewTimeLength", 6, 0, 15, kProviderSqlite},
        {"ReviewTimeLength", -1, 0, 15, kProviderSqlite},
        {"ScrlSpd", 50, 100, 15, kProviderSqlite},   {"ScrlSpd", 21, 21, 15, kProviderSqlite},
        {"GrabWidth", -3, 1, 15, kProviderSqlite},   {"ChgRqstNot", 4, 0, 15, kProviderSqlite},
        {"ChgRqstNot", 3, 3, 15, kProviderSqlite},
        // Flags: exactly 1, or anything but 0.
        {"OpenCurDay", 2, 0, 15, kProviderSqlite},   {"ReoderMyOrders", 2, 1, 15, kProviderSqlite},
        {"bsearchSize", 0, 0, 15, kProviderSqlite},  {"showTaskAlpha", 1, 1, 15, kProviderSqlite},
        {"withinDept", 0, 0, 15, kProviderSqlite},
        // clang-format on
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadInt(c.key, c.stored, Context(c.interval, c.provider)), c.read)
            << c.key << " " << c.stored;
    }
    Store("Keys", "drwFocusRect", 5);
    EXPECT_TRUE(CProfile::LoadKeyCommands().Bool("drwFocusRect"));
}

TEST(Profile, CorruptNumbersReadAsTheirDefaults)
{
    const CProfile::CValues defaults = CProfile::LoadSettings(Context());
    const CProfile::CValues keyDefaults = CProfile::LoadKeyCommands();
    for (const QVariant& junk :
         {QVariant("abc"), QVariant("99999999999"), QVariant(""), QVariant("1.5"), QVariant("true"),
          QVariant(QStringList{"1", "2"})}) {
        for (const auto* table : {&CProfile::AdminTable(), &CProfile::KeysTable()}) {
            for (const CProfile::CEntry& entry : *table) {
                if (entry.type != Type::String)
                    Store(entry.section, entry.key, junk);
            }
        }
        const CProfile::CValues values = CProfile::LoadSettings(Context());
        const CProfile::CValues keys = CProfile::LoadKeyCommands();
        for (const CProfile::CEntry& entry : CProfile::AdminTable()) {
            EXPECT_EQ(values.Value(entry.key), defaults.Value(entry.key))
                << entry.key << " " << junk.toString().toStdString();
        }
        EXPECT_EQ(keys.Map(), keyDefaults.Map());
    }
}

TEST(Profile, AForeignProfileFileIsReadWithoutHarm)
{
    // What a hand edit or another program may leave.
    const QString path = CProfileStore().fileName();
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Admin]\nIncrTime=lots\ntimerVal=12\nServer=alpha, beta\nOpenDlg=@Variant(\\0\\0)\n"
               "defProjStr=\"unterminated\n[Keys\nTSKey\n=\n");
    file.close();
    const CProfile::CValues values = CProfile::LoadSettings(Context());
    EXPECT_EQ(values.Int("IncrTime"), 30);
    EXPECT_EQ(values.Int("timerVal"), 6);
    EXPECT_EQ(values.Int("OpenDlg"), 1);
    EXPECT_EQ(values.Text("Server"), QStringLiteral("alpha, beta"));
    CProfile::LoadKeyCommands();
}

// ---- Other sections ----

TEST(Profile, SingleValuesAndTheirDefaults)
{
    EXPECT_EQ(CProfile::HelpFile(), QStringLiteral("kelvane.chm"));
    EXPECT_EQ(CProfileStore().value("Help/HtmlHlpF").toString(), QStringLiteral("kelvane.chm"));
    Store("Help", "HtmlHlpF", "own.html");
    EXPECT_EQ(CProfile::HelpFile(), QStringLiteral("own.html"));
    EXPECT_EQ(CProfile::DefDirectory(), QDir::homePath());

    EXPECT_FALSE(CProfile::MultiQuery());
    Store("Query", "bMulti", 2);
    EXPECT_TRUE(CProfile::MultiQuery());
    Store("Query", "bMulti", "yes");
    EXPECT_FALSE(CProfile::MultiQuery());
    Store("XLSTS", "xlsts", 2);
    EXPECT_FALSE(CProfile::XlsTimeSheetOffered());
    Store("XLSTS", "xlsts", 1);
    EXPECT_TRUE(CProfile::XlsTimeSheetOffered());

    EXPECT_EQ(CProfile::GetIndexedInt("Task", 12), -1);
    CProfile::WriteIndexedInt("Task", 12, 42);
    EXPECT_EQ(CProfile::GetIndexedInt("Task", 12), 42);
    EXPECT_EQ(CProfileStore().value("Task/12").toInt(), 42);
    Store("Task", "13", "x");
    EXPECT_EQ(CProfile::GetIndexedInt("Task", 13), -1);

    CProfile::SaveXlsSettings("/srv/sheets", "week.xlsm");
    QString dir, templ;
    CProfile::GetXlsSettings(dir, templ);
    EXPECT_EQ(dir + '|' + templ, QStringLiteral("/srv/sheets|week.xlsm"));
    Store("Admin", "defProjStr", "Roof, north");
    EXPECT_EQ(CProfile::DefProjStr(), QStringLiteral("Roof, north"));
}
