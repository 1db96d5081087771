#include "ui/Utilities.h"
#include "platform/ProfileStore.h"
#include "tests/support/TestEnv.h"
#include "ui/StringTable.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocale>
#include <QTimer>
#include <QWidget>

#include <ctime>
#include <functional>

namespace {

// Puts the locale, the time zone or the program's formats back after a test.
class CLocaleGuard {
public:
    explicit CLocaleGuard(const char* name) { QLocale::setDefault(QLocale(QLatin1String(name))); }
    ~CLocaleGuard() { QLocale::setDefault(m_saved); }

private:
    QLocale m_saved;
};

class CZoneGuard {
public:
    explicit CZoneGuard(const char* zone)
        : m_had(qEnvironmentVariableIsSet("TZ"))
        , m_saved(qgetenv("TZ"))
    {
        qputenv("TZ", zone);
    }
    ~CZoneGuard()
    {
        if (m_had)
            qputenv("TZ", m_saved);
        else
            qunsetenv("TZ");
    }

private:
    bool m_had;
    QByteArray m_saved;
};

class CFormatsGuard {
public:
    explicit CFormatsGuard(const CRegionalFormats& formats) { SetRegionalFormats(formats); }
    ~CFormatsGuard() { SetRegionalFormats(m_saved); }

private:
    CRegionalFormats m_saved = RegionalFormats();
};

} // namespace

// ---- Window placements ----

TEST(WindowPlacement, IsWrittenTopBottomLeftRightAndReadBack)
{
    const CWindowPlacement maximised{QRect(10, 20, 300, 200), 3, true};
    const QString text = FormatWindowPlacement(maximised);
    EXPECT_EQ(text, QStringLiteral("(20,220,10,310),MAX 1"));
    int n = -1, a = -1, b = -1;
    const CWindowPlacement back = ParseWindowPlacement(text, &n);
    EXPECT_TRUE(back.valid);
    EXPECT_EQ(back.normal, maximised.normal);
    EXPECT_EQ(back.showState, 3);
    EXPECT_EQ(n, 1);
    EXPECT_EQ(FormatWindowPlacement({QRect(0, 0, 5, 5), 9, true}, 4),
              QStringLiteral("(0,5,0,5),NORM 4"));
    EXPECT_EQ(ParseWindowPlacement("(1,2,3,4),MIN 5 [6,7]", &n, &a, &b).showState, 2);
    EXPECT_EQ(QList<int>({n, a, b}), QList<int>({5, 6, 7}));
    EXPECT_EQ(GetWindowPlacementFromString("(1,2,3,4),HIDE 1").showState, 0);
    EXPECT_EQ(GetWindowPlacementFromString("(1,2,3,4),ODD 1").showState, 1);
}

TEST(WindowPlacement, WhatDoesNotParseIsZero)
{
    for (const char* text : {"", "hello", " (1,2,3,4),MAX 1", "(99999999999,2,3,4),MAX 1"}) {
        int n = 99, a = 99, b = 99;
        const CWindowPlacement p = ParseWindowPlacement(QLatin1String(text), &n, &a, &b);
        EXPECT_FALSE(p.valid) << text;
        EXPECT_EQ(p.normal, QRect(0, 0, 0, 0));
        EXPECT_EQ(p.showState, 1);
        EXPECT_EQ(QList<int>({n, a, b}), QList<int>({0, 0, 0}));
    }
    // Partly parsed: the fields after the failure are 0, not left over.
    int n = 99;
    const CWindowPlacement p = ParseWindowPlacement("(5,9,x", &n);
    EXPECT_TRUE(p.valid);
    EXPECT_EQ(p.normal, QRect(0, 5, 0, 4));
    EXPECT_EQ(p.showState, 1);
    EXPECT_EQ(n, 0);
    // The show word is read to seven characters: the rest is no number.
    EXPECT_EQ(ParseWindowPlacement("(1,2,3,4),MAXIMIZED 1", &n).showState, 1);
    EXPECT_EQ(n, 0);
    EXPECT_TRUE(ParseWindowPlacement("(1,2,3,4)," + QString(100000, u'W') + " 1", &n).valid);
}

TEST(WindowPlacement, IsKeptInTheProfileAndRestored)
{
    QWidget saved;
    saved.setGeometry(40, 50, 320, 240);
    SaveWindowPlacement(&saved, QStringLiteral("Test"));
    EXPECT_EQ(CProfileStore().value("Window Settings/Test").toString(),
              QStringLiteral("(50,290,40,360),NORM 1"));
    QWidget restored;
    restored.setGeometry(1, 1, 100, 100);
    EXPECT_TRUE(RestoreWindowPlacement(&restored, QStringLiteral("Test")));
    EXPECT_EQ(restored.geometry(), QRect(40, 50, 320, 240));
    EXPECT_FALSE(restored.isMaximized());
    CProfileStore().setValue("Window Settings/Big", "(0,300,0,400),MAX 1");
    EXPECT_TRUE(RestoreWindowPlacement(&restored, QStringLiteral("Big")));
    EXPECT_TRUE(restored.isMaximized());
}

TEST(WindowPlacement, APlacementOffEveryScreenOrMissingLeavesTheWindowAlone)
{
    QWidget window;
    window.setGeometry(30, 30, 200, 100);
    CProfileStore profile;
    profile.setValue("Window Settings/Gone", "(-5000,-4800,-9000,-8700),NORM 1");
    profile.setValue("Window Settings/Junk", "junk");
    profile.setValue("Window Settings/Flat", "(10,10,10,10),NORM 1");
    for (const char* key : {"Gone", "Junk", "Flat", "Missing"})
        EXPECT_FALSE(RestoreWindowPlacement(&window, QLatin1String(key))) << key;
    EXPECT_EQ(window.geometry(), QRect(30, 30, 200, 100));
}

// ---- Calendar and clock ----

TEST(Calendar, DaysInMonthFollowsTheCenturyRule)
{
    QList<int> year2023;
    for (int m = 1; m <= 12; ++m)
        year2023 << DaysInMonth(m, 2023);
    EXPECT_EQ(year2023, QList<int>({31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}));
    EXPECT_EQ(QList<int>({DaysInMonth(2, 1900), DaysInMonth(2, 2000), DaysInMonth(2, 2024),
                          DaysInMonth(2, 2100), DaysInMonth(0, 2024), DaysInMonth(13, 2024)}),
              QList<int>({28, 29, 29, 28, 0, 0}));
}

TEST(Calendar, UtcOffsetIsPositiveEastOfUtcAndKeepsHalfHours)
{
    const std::pair<const char*, int> zones[] = {
        {"JST-9", 9 * 3600}, {"IST-5:30", 5 * 3600 + 1800}, {"MST7", -7 * 3600}, {"UTC0", 0}};
    for (const auto& [zone, offset] : zones) {
        CZoneGuard guard(zone);
        EXPECT_EQ(GetUtcOffset(), offset) << zone;
    }
}

TEST(Calendar, DayNamesStartOnSunday)
{
    QString name = QStringLiteral("kept");
    GetDayName(0, name);
    GetDayName(8, name);
    EXPECT_EQ(name, QStringLiteral("kept"));
    GetDayName(1, name);
    EXPECT_EQ(name, QStringLiteral("Sunday"));
    GetDayName(7, name);
    EXPECT_EQ(name, QStringLiteral("Saturday"));
}

TEST(Calendar, ParsesStoredWrittenAndLocalDates)
{
    CLocaleGuard locale("de_DE");
    int y, mo, d, h, mi, s;
    ASSERT_TRUE(ParseDateParts(QStringLiteral("2024-02-29 13:45:10"), y, mo, d, h, mi, s));
    EXPECT_EQ(QList<int>({y, mo, d, h, mi, s}), QList<int>({2024, 2, 29, 13, 45, 10}));
    ASSERT_TRUE(ParseDateParts(QStringLiteral("5/March/2023 08:15"), y, mo, d, h, mi, s));
    EXPECT_EQ(QList<int>({y, mo, d, h, mi, s}), QList<int>({2023, 3, 5, 8, 15, 0}));
    ASSERT_TRUE(ParseDateParts(QStringLiteral("31.12.2022"), y, mo, d, h, mi, s));
    EXPECT_EQ(QList<int>({y, mo, d}), QList<int>({2022, 12, 31}));
    // A two-digit year is the one near today.
    ASSERT_TRUE(ParseDateParts(QStringLiteral("31.12.22"), y, mo, d, h, mi, s));
    EXPECT_EQ(QList<int>({y, mo, d}), QList<int>({2022, 12, 31}));
    for (const char* bad : {"", "soon", "31.02.2023", "2023-13-01", "1/2/-001"}) {
        y = mo = d = h = mi = s = 7;
        EXPECT_FALSE(ParseDateParts(QLatin1String(bad), y, mo, d, h, mi, s)) << bad;
        EXPECT_EQ(y + mo + d + h + mi + s, 0);
    }
}

// ---- Pictures and formats ----

TEST(Pictures, TimePicturesBecomeFormats)
{
    bool twelve = true;
    EXPECT_EQ(TimePictureToFormat(QStringLiteral("HH:mm"), twelve), QStringLiteral("%H:%M"));
    EXPECT_FALSE(twelve);
    EXPECT_EQ(TimePictureToFormat(QStringLiteral("h:mm tt"), twelve), QStringLiteral("%#I:%M "));
    EXPECT_TRUE(twelve);
    EXPECT_EQ(TimePictureToFormat(QStringLiteral("H.m.s hhh"), twelve),
              QStringLiteral("%#H.%#M.%#S "));
    EXPECT_EQ(TimePictureToFormat(QStringLiteral("tt hh:ss"), twelve), QStringLiteral("tt %I:%S"));
    EXPECT_FALSE(twelve);
}

TEST(Pictures, DatePicturesBecomeFormats)
{
    EXPECT_EQ(DatePictureToFormat(QStringLiteral("dd/MM/yyyy")), QStringLiteral("%d/%m/%Y"));
    EXPECT_EQ(DatePictureToFormat(QStringLiteral("yyyy-M-d")), QStringLiteral("%Y-%#m-%#d"));
    EXPECT_EQ(DatePictureToFormat(QStringLiteral("d MMMM yyyy")), QStringLiteral("%#d %B %Y"));
    EXPECT_EQ(DatePictureToFormat(QStringLiteral("ddd, MMM yy")), QStringLiteral("%a, %b %y"));
    EXPECT_EQ(DatePictureToFormat(QStringLiteral("dddd y yyy yyyyy MMMMM")),
              QStringLiteral("%A    "));
}

TEST(Pictures, DesktopSettingsComeFromTheLocale)
{
    struct {
        const char* locale;
        const char* date;
        const char* time;
        const char* am;
    } const cases[] = {
        {"en_US", "M/d/yy", "h:mm tt", "AM"},
        {"de_DE", "dd.MM.yy", "HH:mm", "AM"},
        {"ko_KR", "yy. M. d.", "h:mm tt", "오전"},
        {"bg_BG", "d.MM.yy г.", "H:mm ч.", "пр.об."},
    };
    for (const auto& c : cases) {
        CLocaleGuard locale(c.locale);
        QString date, time, am;
        ASSERT_TRUE(ReadIntlSetting(QStringLiteral("sShortDate"), date));
        ASSERT_TRUE(ReadIntlSetting(QStringLiteral("sTimeFormat"), time));
        ASSERT_TRUE(ReadIntlSetting(QStringLiteral("s1159"), am));
        EXPECT_EQ(date, QString::fromUtf8(c.date)) << c.locale;
        EXPECT_EQ(time, QString::fromUtf8(c.time)) << c.locale;
        EXPECT_EQ(am, QString::fromUtf8(c.am)) << c.locale;
    }
    QString untouched = QStringLiteral("x");
    EXPECT_FALSE(ReadIntlSetting(QStringLiteral("sCurrency"), untouched));
    EXPECT_EQ(untouched, QStringLiteral("x"));
}

TEST(Pictures, RegionalFormatsOfAnAmericanDesktop)
{
    CLocaleGuard locale("en_US");
    const CRegionalFormats formats = ReadRegionalFormats();
    EXPECT_EQ(formats.dateFormat, QStringLiteral("%#m/%#d/%y"));
    EXPECT_EQ(formats.timeFormat, QStringLiteral("%#I:%M "));
    EXPECT_TRUE(formats.twelveHour);
    EXPECT_EQ(formats.pmDesignator, QStringLiteral("PM"));
    EXPECT_EQ(formats.utcOffset, GetUtcOffset());
}

TEST(Formatting, FormatDateTimeKnowsEveryItemInEnglish)
{
    CLocaleGuard locale("fr_FR");
    const CDateTime afternoon(2024, 3, 5, 14, 7, 9);
    EXPECT_EQ(FormatDateTime(afternoon, QStringLiteral("%A %d %B %Y %H:%M:%S")),
              QStringLiteral("Tuesday 05 March 2024 14:07:09"));
    EXPECT_EQ(
        FormatDateTime(afternoon, QStringLiteral("%a %b %#d/%#m/%y %I %#I:%#M:%#S %p %#H %%")),
        QStringLiteral("Tue Mar 5/3/24 02 2:7:9 PM 14 %"));
    const CDateTime midnight(2009, 11, 1);
    EXPECT_EQ(FormatDateTime(midnight, QStringLiteral("%I%p %y"), QStringLiteral("vm"),
                             QStringLiteral("nm")),
              QStringLiteral("12vm 09"));
    EXPECT_EQ(FormatDateTime(midnight, QStringLiteral("%Q %#Q 100%")),
              QStringLiteral("%Q %#Q 100%"));
    EXPECT_EQ(FormatDateTime(CDateTime(), QStringLiteral("%Y")), QString());
}

TEST(Formatting, TimeOfDayInTwelveHourModeSaysNoon)
{
    CRegionalFormats twelve;
    twelve.timeFormat = QStringLiteral("%#I:%M ");
    twelve.twelveHour = true;
    twelve.amDesignator = QStringLiteral("AM");
    twelve.pmDesignator = QStringLiteral("PM");
    {
        CFormatsGuard guard(twelve);
        EXPECT_EQ(FormatTimeOfDay(12, 0), QStringLiteral("12:00 noon"));
        EXPECT_EQ(FormatTimeOfDay(12, 1), QStringLiteral("12:01 PM"));
        EXPECT_EQ(FormatTimeOfDay(0, 0), QStringLiteral("12:00 AM"));
        EXPECT_EQ(FormatTimeOfDay(9, 30), QStringLiteral("9:30 AM"));
        EXPECT_EQ(FormatTimeOfDay(24, 0), QStringLiteral("12:00 PM"));
    }
    CFormatsGuard guard{CRegionalFormats()};
    EXPECT_EQ(FormatTimeOfDay(9, 5), QStringLiteral("09:05"));
}

// ---- Texts, numbers ----

TEST(Texts, SplitStripAndRemove)
{
    EXPECT_EQ(SplitString(QStringLiteral("a,b,"), QStringLiteral(",")),
              QStringList({"a", "b", ""}));
    EXPECT_EQ(SplitString(QString(), QStringLiteral(",")), QStringList({""}));
    EXPECT_EQ(SplitString(QStringLiteral("a::b:c"), QStringLiteral("::")),
              QStringList({"a", "b:c"}));
    EXPECT_EQ(SplitString(QStringLiteral("abc"), QString()), QStringList({"abc"}));
    EXPECT_EQ(StripAfterHash(QStringLiteral("name#12#3")), QStringLiteral("name"));
    EXPECT_EQ(StripAfterHash(QStringLiteral("plain")), QStringLiteral("plain"));
    EXPECT_EQ(RemoveChars(QStringLiteral("a,b,c"), QStringLiteral(",")), QStringLiteral("abc"));
    EXPECT_EQ(RemoveChars(QStringLiteral(",a,,b,"), QStringLiteral(",")), QStringLiteral("ab"));
    EXPECT_EQ(RemoveChars(QStringLiteral("\nfree, text\n"), QStringLiteral(",\n")),
              QStringLiteral("free text"));
}

TEST(Texts, TheUserNameComesFromTheAccountWithoutEnvironment)
{
    const QByteArray user = qgetenv("USER"), logname = qgetenv("LOGNAME");
    qputenv("USER", "anna");
    QString name;
    EXPECT_TRUE(GetWindowsUserName(name));
    EXPECT_EQ(name, QStringLiteral("anna"));
    qunsetenv("USER");
    qunsetenv("LOGNAME");
    EXPECT_TRUE(GetWindowsUserName(name));
    EXPECT_FALSE(name.isEmpty());
    EXPECT_NE(name, QStringLiteral("anna"));
    if (!user.isEmpty())
        qputenv("USER", user);
    if (!logname.isEmpty())
        qputenv("LOGNAME", logname);
}

TEST(Numbers, ModifierKeysAndVersionComparison)
{
    EXPECT_EQ(LookupIdTable(162), 1);
    EXPECT_EQ(LookupIdTable(16), 2);
    EXPECT_EQ(LookupIdTable(18), -1);
    EXPECT_TRUE(CompareDoubles(2.25, 2.2, 1));
    EXPECT_FALSE(CompareDoubles(2.5, 2.2, 1));
    EXPECT_TRUE(CompareDoubles(-2.29, -2.2, 1));
    EXPECT_TRUE(CompareDoubles(1e300, 2e300, 2));
    EXPECT_FALSE(CompareDoubles(2e300, 1e300, 2));
    int flags = 0x5;
    EXPECT_EQ(ClearFlags(SetFlags(flags, 0x2), 0x4), 0x3);
    EXPECT_TRUE(TestFlags(qint64(1) << 40, qint64(1) << 40));
}

// ---- Events and messages ----

TEST(Pumping, DeliversWhatIsPostedAndStopsAtAFlood)
{
    int delivered = 0;
    QTimer::singleShot(0, qApp, [&] { ++delivered; });
    QMetaObject::invokeMethod(
        qApp, [&] { ++delivered; }, Qt::QueuedConnection);
    EXPECT_TRUE(PumpMessages());
    EXPECT_EQ(delivered, 2);

    // A handler that posts itself again would never let a naive pump return.
    int flood = 0;
    std::function<void()> again = [&] {
        if (++flood < 1000000)
            QMetaObject::invokeMethod(qApp, again, Qt::QueuedConnection);
    };
    QMetaObject::invokeMethod(qApp, again, Qt::QueuedConnection);
    EXPECT_TRUE(PumpMessages());
    EXPECT_GT(flood, 1);
    EXPECT_LE(flood, 10001);
    flood = 1000000; // the last one posted stops the chain
    PumpMessages();
}

TEST(Pumping, AQuitRequestStopsThePump)
{
    QObject receiver;
    QCoreApplication::postEvent(&receiver, new QEvent(QEvent::Quit));
    EXPECT_FALSE(PumpMessages());
    EXPECT_TRUE(PumpMessages());
}

TEST(Pumping, WaitingDeliversEventsWithoutSpinning)
{
    bool fired = false;
    QTimer::singleShot(50, qApp, [&] { fired = true; });
    QElapsedTimer wall;
    wall.start();
    const std::clock_t cpu = std::clock();
    WaitPumping(300);
    const double cpuMs = 1000.0 * double(std::clock() - cpu) / CLOCKS_PER_SEC;
    const qint64 wallMs = wall.elapsed();
    EXPECT_TRUE(fired);
    EXPECT_GE(wallMs, 299);
    EXPECT_LT(wallMs, 3000);
    EXPECT_LT(cpuMs, wallMs * 0.5);
    wall.restart();
    WaitPumping(0);
    WaitPumping(-5);
    EXPECT_LT(wall.elapsed(), 100);
}

TEST(Pumping, QuittingEndsAWait)
{
    qint64 waited = -1;
    QTimer::singleShot(0, qApp, [&] {
        QTimer::singleShot(50, qApp, &QCoreApplication::quit);
        QElapsedTimer wall;
        wall.start();
        WaitPumping(5000);
        waited = wall.elapsed();
    });
    QCoreApplication::exec();
    EXPECT_GE(waited, 0);
    EXPECT_LT(waited, 2000);
}

TEST(Messages, GoThroughTheMessageBoxHook)
{
    CRecordingMessages& messages = CRecordingMessages::Current();
    messages.Answer(kIdCancel);
    EXPECT_EQ(ShowMessage(QStringLiteral("Saved.")), kIdCancel);
    EXPECT_EQ(ShowStringMessage(IDS_CHOOSE_TASK), kIdOk);
    EXPECT_EQ(messages.Texts(), QStringList({"Saved.", LoadStringRes(IDS_CHOOSE_TASK)}));
}
