#include "app/DummyDlg.h"
#include "app/HubWindow.h"
#include "bench/BenchUtil.h"
#include "bench/RawStatement.h"
#include "bench/scale/ScaleBench.h"
#include "data/DBClass.h"
#include "data/records/ChgRqstBriefSet.h"
#include "data/records/CommentSet.h"
#include "platform/ProfileStore.h"
#include "records/ChgRqstColumns.h"
#include "records/ChgRqstDlg.h"
#include "records/CommentColumns.h"
#include "records/CommentDlg.h"
#include "ui/MyListCtrl.h"
#include "ui/ResourceIds.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>

#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

// The comments window listing every comment (user All, type All) and the
// change-request window listing every open request, through the real
// windows on the company's database: a fill from the command to the rows on
// the screen, a header click, and how far the memory rises while the list
// fills; beside the same statement read through the driver's own interface.

namespace {

constexpr int kRuns = 5;

void Settle()
{
    QApplication::processEvents();
    QApplication::processEvents();
}

double Ms(const std::function<void()>& work)
{
    QElapsedTimer t;
    t.start();
    work();
    return t.nsecsElapsed() / 1e6;
}

double MedianMs(const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i)
        times.push_back(Ms(work));
    return MedianOf(times);
}

void PrintInfo(const char* backend, const char* what, double value, const char* unit)
{
    std::printf("[%s] %-56s %10.1f %s\n", backend, what, value, unit);
    std::fflush(stdout);
}

void ChooseText(QComboBox* combo, const QString& text)
{
    const int index = combo->findText(text);
    if (index >= 0)
        combo->setCurrentIndex(index);
}

// The median of reading the statement through sqlite3 or libpq.
double RawMs(const CScaleDatabase& database, CDBClass& db, CMyAdoRecordSet& rs, qint64* rows)
{
    const QString sql = ProgramStatement(*db.Connection(), rs);
    const QVariantList values = ProgramValues(*db.Connection(), rs.FilterValues());
    if (!database.postgres) {
        sqlite3* handle = OpenRawSqlite(database.file, SQLITE_OPEN_READONLY);
        double ms = 0;
        {
            CRawSqliteStatement raw(handle, sql, values);
            raw.Read(rows);
            ms = MedianMs([&] { raw.Read(rows); });
        }
        sqlite3_close(handle);
        return ms;
    }
    PGconn* connection = PQconnectdb(database.conninfo.constData());
    double ms = 0;
    {
        CRawPgStatement raw(connection, "lists", sql, values);
        raw.Read(true, rows);
        ms = MedianMs([&] { raw.Read(true, rows); });
    }
    PQfinish(connection);
    return ms;
}

template <typename Window>
Window* OpenWindow(CDummyDlg& hub, int command)
{
    hub.OnCommand(command);
    auto* window = dynamic_cast<Window*>(hub.Window(command));
    if (!window)
        return nullptr;
    window->resize(1100, 600);
    window->show();
    Settle();
    return window;
}

// Whether a widget has been painted once `ready` holds.
class CPaintSeen : public QObject {
public:
    explicit CPaintSeen(std::function<bool()> ready)
        : m_ready(std::move(ready))
    {}
    bool seen = false;

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && m_ready())
            seen = true;
        return QObject::eventFilter(object, event);
    }

private:
    std::function<bool()> m_ready;
};

// What the user waits for: from the command that opens the comments window
// (its type and user All) to its list on the screen, filled and painted once.
double OpenCommentsMs(CDummyDlg& hub, int* rows)
{
    QElapsedTimer timer;
    timer.start();
    hub.OnCommand(ID_TASKS);
    auto* window = dynamic_cast<CCommentDlg*>(hub.Window(ID_TASKS));
    if (!window)
        return -1;
    // The window is on the screen; its list is painted with its rows in.
    CPaintSeen painted([window] { return window->CommentRowCount() > 0; });
    window->List()->viewport()->installEventFilter(&painted);
    // Joins the paint the window asked for, if any.
    window->List()->viewport()->update();
    while (!painted.seen)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double ms = timer.nsecsElapsed() / 1e6;
    window->List()->viewport()->removeEventFilter(&painted);
    *rows = window->CommentRowCount();
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Settle();
    return ms;
}

void Comments(const CScaleDatabase& database, CDBClass& db)
{
    const char* backend = database.Backend();
    RegisterHubWindow(
        ID_TASKS, [&db](CDummyDlg& hub) -> IHubWindow* { return new CCommentDlg(&hub, db, &hub); });
    auto hub = std::make_unique<CDummyDlg>(&db);
    {
        // The options' type All; the user is All while the profile names nobody;
        // every other option as the program sets it.
        CProfileStore profile;
        profile.setValue(QStringLiteral("Admin/DefTaskType"), QStringLiteral("All"));
        profile.remove(QStringLiteral("USER/DefUserName"));
        int rows = 0;
        // The first open of the program's run reads its caches as well.
        const double first = OpenCommentsMs(*hub, &rows);
        std::vector<double> times;
        for (int i = 0; i < kRuns; ++i)
            times.push_back(OpenCommentsMs(*hub, &rows));
        PrintInfo(backend, "comments listed on opening (type All, user All)", rows, "rows");
        PrintFigure(backend, "comments: first open to the filled list painted", first, "ms", 1500);
        PrintFigure(backend, "comments: open to the filled list painted", MedianOf(times), "ms",
                    1500);
        profile.remove(QStringLiteral("Admin/DefTaskType"));
    }
    auto* window = OpenWindow<CCommentDlg>(*hub, ID_TASKS);
    if (!window) {
        std::printf("[%s] the comments window did not open\n", backend);
        UnregisterHubWindow(ID_TASKS);
        return;
    }
    PrintInfo(backend, "comments listed on opening", window->CommentRowCount(), "rows");
    ChooseText(window->Control<QComboBox>(CCommentDlg::kIdType), QStringLiteral("All"));
    ChooseText(window->Control<QComboBox>(CCommentDlg::kIdUser), QStringLiteral("All"));
    const auto fill = [&] {
        window->OnCommand(CCommentDlg::kIdUser);
        Settle();
    };
    const double firstGrowth = PeakRssGrowthMb(fill);
    const int count = window->CommentRowCount();
    PrintInfo(backend, "comments listed", count, "rows");
    PrintFigure(backend, "comments: fill again (user chosen)", MedianMs(fill), "ms", 1500);
    PrintMemory("  comments: first fill", firstGrowth, 300);
    PrintMemory("  comments: fill over a full list", PeakRssGrowthMb(fill), 300);

    QHeaderView* header = window->List()->header();
    const auto click = [&](int kind) {
        return [&, kind] {
            emit header->sectionClicked(window->ColumnOf(kind));
            Settle();
        };
    };
    PrintFigure(backend, "comments: header click, Project (text)",
                MedianMs(click(CCommentColumns::kProject)), "ms", 500);
    PrintFigure(backend, "comments: header click, Entered (date)",
                MedianMs(click(CCommentColumns::kEntered)), "ms", 500);
    PrintFigure(backend, "comments: header click, Comment (long text)",
                MedianMs(click(CCommentColumns::kComment)), "ms", 500);
    PrintMemory("  comments: header click", PeakRssGrowthMb(click(CCommentColumns::kUser)), 300);

    CCommentSet set(db.Connection());
    const CCommentFilter where = window->BuildCommentFilter();
    set.Recordset()->SetFilter(where.sql, where.values);
    set.Recordset()->SetSort(QStringLiteral("[CommentDate] ASC, +[CommentID] ASC"));
    qint64 rows = 0;
    const double raw = RawMs(database, db, *set.Recordset(), &rows);
    PrintInfo(backend,
              database.postgres ? "  baseline: the query through libpq"
                                : "  baseline: the query through sqlite3",
              raw, "ms");
    PrintInfo(backend, "  baseline rows", rows, "rows");
    window->close();
    hub.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    UnregisterHubWindow(ID_TASKS);
}

void ChangeRequests(const CScaleDatabase& database, CDBClass& db)
{
    const char* backend = database.Backend();
    RegisterHubWindow(ID_CHANGE_REQUESTS, [&db](CDummyDlg& hub) -> IHubWindow* {
        return new CChgRqstDlg(&hub, db, &hub);
    });
    auto hub = std::make_unique<CDummyDlg>(&db);
    auto* window = OpenWindow<CChgRqstDlg>(*hub, ID_CHANGE_REQUESTS);
    if (!window) {
        std::printf("[%s] the change-request window did not open\n", backend);
        UnregisterHubWindow(ID_CHANGE_REQUESTS);
        return;
    }
    // Every project, anybody, open requests only.
    ChooseText(window->Control<QComboBox>(CChgRqstDlg::kIdAuthority), QStringLiteral("Any"));
    QComboBox* member = window->Control<QComboBox>(CChgRqstDlg::kIdTeamMember);
    ChooseText(member, QStringLiteral("Any"));
    if (!window->Control<QCheckBox>(CChgRqstDlg::kIdOpenOnly)->isChecked())
        window->Control<QCheckBox>(CChgRqstDlg::kIdOpenOnly)->setChecked(true);
    const auto fill = [&] {
        window->OnCommand(CChgRqstDlg::kIdTeamMember);
        Settle();
    };
    // From the high-priority requests, a quarter, to all of them.
    QComboBox* priority = window->Control<QComboBox>(CChgRqstDlg::kIdPriority);
    ChooseText(priority, QStringLiteral("High"));
    window->OnCommand(CChgRqstDlg::kIdPriority);
    Settle();
    PrintInfo(backend, "change requests of high priority", window->ChgRqstRowCount(), "rows");
    ChooseText(priority, QStringLiteral("None"));
    const double firstGrowth = PeakRssGrowthMb(fill);
    PrintInfo(backend, "change requests listed", window->ChgRqstRowCount(), "rows");
    PrintFigure(backend, "change requests: fill", MedianMs(fill), "ms", 1500);
    PrintMemory("  change requests: first fill", firstGrowth, 300);
    PrintMemory("  change requests: fill over a full list", PeakRssGrowthMb(fill), 300);
    QHeaderView* header = window->List()->header();
    const int column = window->ColumnOf(CChgRqstColumns::kProject);
    PrintInfo(backend, "change requests: header click, Project (text)", MedianMs([&] {
                  emit header->sectionClicked(column);
                  Settle();
              }),
              "ms");

    CChgRqstBriefSet set(db.Connection());
    const CBoundFilter where = window->BuildChgRqstFilter();
    set.Recordset()->SetFilter(where.sql, where.values);
    set.Recordset()->SetSort(QStringLiteral("[DateCreated] DESC, [ChgReqID] DESC"));
    qint64 rows = 0;
    const double raw = RawMs(database, db, *set.Recordset(), &rows);
    PrintInfo(backend,
              database.postgres ? "  baseline: the query through libpq"
                                : "  baseline: the query through sqlite3",
              raw, "ms");
    PrintInfo(backend, "  baseline rows (completed ones too)", rows, "rows");
    window->close();
    hub.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    UnregisterHubWindow(ID_CHANGE_REQUESTS);
}

void Run(const CScaleBackend& backend, bool comments)
{
    QApplication::setOrganizationName(QLatin1String(kProfileOrganisation));
    QApplication::setApplicationName(QLatin1String(kProfileApplication));
    CScaleDatabase database;
    if (!backend.Database(ScaleRows(), &database))
        return;
    PrintLoad(database.Backend());
    CDBClass db;
    db.Connection()->UseConnectionString(database.connectionString);
    if (!db.OpenConnection() || !db.LoadEmployees()) {
        std::printf("[%s] no connection\n", database.Backend());
        return;
    }
    if (comments)
        Comments(database, db);
    else
        ChangeRequests(database, db);
    db.ReleaseConnection(true, true);
}

const bool s_comments = RegisterScaleSection(
    {"comments", "the comments window: every comment, its fill, a header click, its memory",
     [](const CScaleBackend& backend) { Run(backend, true); }});
const bool s_changeRequests = RegisterScaleSection(
    {"changerequests", "the change-request window: every open request, its fill, its memory",
     [](const CScaleBackend& backend) { Run(backend, false); }});

} // namespace
