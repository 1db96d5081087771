#include "tests/timesheet/TimeSheetModel.h"
#include "tests/timesheet/TimeSheetWindowFixture.h"

#include "data/UndoHistory.h"
#include "timesheet/SaveTimesDlg.h"

#include <QElapsedTimer>
#include <QListWidget>

#include <map>
#include <memory>
#include <optional>
#include <random>

// Long random runs of a user's editing through the real window and time
// line, each step checked against a small model of what must be stored;
// a failing run is cut down to the few steps that still fail.

using SheetModel::Value;

namespace {

// How long a step's outcome may take to show; a failing step waits this out,
// so it is well under the house ceiling to keep shrinking quick.
constexpr int kPatienceMs = 15000;

const char* const kProjectNames[] = {"", "Bridge", "Apollo"};
const char* const kTaskNames[] = {"", "Design", "Build", "Launch"};
const int kTaskProject[] = {0, kBridge, kBridge, kApollo};
const char* const kWorkTypeNames[] = {"",        "Development",    "Design", "Meeting",
                                      "Support", "Administration", "Travel"};
int OrderOf(int proj)
{
    return proj == kBridge ? 1 : 2;
}
QString Clock(int minutes)
{
    return Value::Clock(minutes);
}

// How the user answers Save Times: Cancel, or OK after choosing what is set.
struct Answer {
    bool ok = false;
    int proj = 0; // a project chosen by name; 0 keeps it
    int task = 0; // a task picked from its list; 0 keeps it
    int work = 0; // a work type picked from its list; 0 keeps it
    QString comment;

    QString Text() const
    {
        if (!ok)
            return QStringLiteral("Cancel");
        QStringList parts;
        if (proj)
            parts << QLatin1String(kProjectNames[proj]);
        if (task)
            parts << QLatin1String(kTaskNames[task]);
        if (work)
            parts << QLatin1String(kWorkTypeNames[work]);
        if (!comment.isEmpty())
            parts << QLatin1Char('\'') + comment + QLatin1Char('\'');
        return (QStringList{QStringLiteral("OK")} + parts).join(QLatin1Char(' '));
    }
};

struct Action {
    enum Kind { Draw, Drag, Key, Edit, Copy, Paste, Delete, Undo, Redo, Day, Now } kind;
    int a = 0;        // a minute
    int b = 0;        // a minute, a key command or a day step
    bool alt = false; // Drag: the top edge; Edit: a double-click
    Answer answer;

    QString Text() const
    {
        const QString saved = QStringLiteral(", Save Times ") + answer.Text();
        switch (kind) {
        case Draw:
            return QStringLiteral("draw %1 to %2").arg(Clock(a), Clock(b)) + saved;
        case Drag:
            return QStringLiteral("drag the %1 edge of the block at %2 to %3")
                .arg(alt ? "top" : "bottom", Clock(a), Clock(b));
        case Key:
            return QStringLiteral("key %1 on the block at %2")
                .arg(b == 12869   ? "start up"
                     : b == 12870 ? "start down"
                     : b == 12876 ? "stop up"
                                  : "stop down",
                     Clock(a));
        case Edit:
            return QStringLiteral("%1 the block at %2")
                       .arg(alt ? "double-click" : "menu Edit on", Clock(a)) +
                   saved;
        case Copy:
            return QStringLiteral("copy the block at %1").arg(Clock(a));
        case Paste:
            return QStringLiteral("paste at %1").arg(Clock(a)) + saved;
        case Delete:
            return QStringLiteral("delete the block at %1").arg(Clock(a));
        case Undo:
            return QStringLiteral("undo");
        case Redo:
            return QStringLiteral("redo");
        case Day:
            return b < 0 ? QStringLiteral("previous day") : QStringLiteral("next day");
        case Now:
            return QStringLiteral("Add Block Now at %1").arg(Clock(a)) + saved;
        }
        return QString();
    }
};

Action Act(Action::Kind kind, int a = 0, int b = 0, bool alt = false)
{
    Action act{kind, 0, 0, false, {}};
    act.a = a;
    act.b = b;
    act.alt = alt;
    return act;
}

Value Span(int day, int start, int stop)
{
    Value v;
    v.day = day;
    v.start = start;
    v.stop = stop;
    return v;
}

QString Listed(const std::vector<Action>& steps)
{
    QString out;
    for (std::size_t i = 0; i < steps.size(); ++i)
        out += QStringLiteral("  %1. %2\n").arg(i + 1).arg(steps[i].Text());
    return out;
}

// Picks a row of a pick list by its name and closes it with OK.
CScriptedModals::Step Pick(const QString& name)
{
    return [name](CDialogBase& dialog) {
        auto* list = dialog.Control<QListWidget>(1028);
        for (int i = 0; list && i < list->count(); ++i)
            if (CPickListDlg::CutAtTab(list->item(i)->text()) == name)
                list->setCurrentRow(i);
        return Ok(dialog);
    };
}

class TimeSheetModelTest : public TimeSheetWindowTest {
protected:
    void SetUp() override
    {
        TimeSheetWindowTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        m_clock = std::make_unique<CTestClock>(m_day, 12, 0);
        ScanLine();
    }

    // --- The line's geometry --------------------------------------------------

    // The first pixel of each minute the line shows, down one column.
    void ScanLine()
    {
        m_y.clear();
        if (m_x <= 0) {
            const QPoint probe = Find(12 * 60);
            ASSERT_GE(probe.y(), 0) << "noon is not on the line";
            m_x = probe.x();
        }
        for (int y = 0; y < m_line->height(); ++y) {
            QTest::mouseMove(m_line, QPoint(m_x, y));
            const QString text = m_window->Controller().Entry().cursorText;
            const QTime time = QTime::fromString(text, QStringLiteral("HH:mm"));
            const int minute = time.isValid() ? time.hour() * 60 + time.minute() : -1;
            if (minute > 0 && !m_y.count(minute))
                m_y[minute] = y;
        }
        // The longest run of quarter hours shown one below the other.
        m_lo = m_hi = 0;
        for (const auto& [minute, y] : m_y) {
            if (minute % 15 != 0)
                continue;
            int end = minute;
            while (m_y.count(end + 15) && m_y[end + 15] > m_y[end])
                end += 15;
            if (end - minute > m_hi - m_lo)
                m_lo = minute, m_hi = end;
        }
        // The pointer at the first or last row can leave the grid, which
        // ends a drag or scrolls the line: those rows are left alone.
        m_lo += 15;
        m_hi -= 15;
        if (qEnvironmentVariableIsSet("KELVANE_MODEL_TRACE"))
            qInfo("the line shows %s to %s", qPrintable(Clock(m_lo)), qPrintable(Clock(m_hi)));
    }
    // Scrolling (Add Block Now does) moves the minutes: find them again. A
    // minute's first pixel and the one above it show whether it moved.
    void KeepGeometry()
    {
        const auto at = [this](int y) {
            QTest::mouseMove(m_line, QPoint(m_x, y));
            return m_window->Controller().Entry().cursorText;
        };
        for (const int minute : {m_lo + 15, (m_lo + m_hi) / 30 * 15, m_hi - 15}) {
            const QPoint p = Point(minute);
            if (p.y() < 1 || at(p.y()) != Clock(minute) || at(p.y() - 1) == Clock(minute)) {
                ScanLine();
                return;
            }
        }
    }
    QPoint Point(int minute) const
    {
        const auto it = m_y.find(minute);
        return QPoint(m_x, it == m_y.end() ? -1 : it->second);
    }
    // The pixel a block's edge at a minute is drawn on: pointer times round
    // to the nearest step, so it is the middle of the minute's band.
    int EdgeY(int minute) const
    {
        const int at = Point(minute).y();
        const int after = Point(minute + 15).y();
        return after >= 0 ? (at + after) / 2 : at + (at - Point(minute - 15).y()) / 2;
    }
    // A pixel that grabs a block's top or bottom edge: just inside it, where
    // the pointer turns into the resize arrow.
    QPoint Grip(const Value& v, bool top)
    {
        const int edge = EdgeY(top ? v.start : v.stop);
        for (const int d : {1, 2}) {
            const QPoint p(m_x, top ? edge + d : edge - d);
            QTest::mouseMove(m_line, p);
            if (m_line->cursor().shape() == Qt::SizeVerCursor)
                return p;
        }
        return QPoint(m_x, top ? edge + 1 : edge - 1);
    }
    QPoint Middle(const Value& v) const
    {
        return QPoint(m_x, (Point(v.start).y() + Point(v.start + 15).y()) / 2 + 1);
    }
    bool OnLine(int minute) const { return minute >= m_lo && minute <= m_hi; }
    // A pixel where nothing is: a press there draws, a menu there pastes.
    bool Empty(int minute) const
    {
        if (!OnLine(minute) || minute + 15 > m_hi || m_model.At(minute) >= 0)
            return false;
        for (int b : m_model.Stored())
            if (m_model.blocks[b].value.day == m_model.day &&
                m_model.blocks[b].value.stop == minute)
                return false;
        return true;
    }

    // --- Save Times -------------------------------------------------------------

    CScriptedModals::Step Save(const Answer& answer, CScriptedModals& modals)
    {
        return [answer, &modals](CDialogBase& dialog) {
            if (!answer.ok)
                return Cancel(dialog);
            auto& save = static_cast<CSaveTimesDlg&>(dialog);
            if (answer.proj)
                save.ApplyProject(QLatin1String(kProjectNames[answer.proj]));
            if (answer.task) {
                modals.Then(Pick(QLatin1String(kTaskNames[answer.task])));
                save.OnCommand(1024);
            }
            if (answer.work) {
                modals.Then(Pick(QLatin1String(kWorkTypeNames[answer.work])));
                save.OnCommand(1027);
            }
            if (!answer.comment.isEmpty())
                dialog.Control<QTextEdit>(1116)->setPlainText(answer.comment);
            return Ok(dialog);
        };
    }
    static Value Answered(Value v, const Answer& answer)
    {
        if (answer.proj) {
            v.proj = answer.proj;
            v.order = OrderOf(answer.proj);
        }
        if (answer.task)
            v.task = answer.task;
        if (answer.work)
            v.work = answer.work;
        if (!answer.comment.isEmpty())
            v.comment = answer.comment;
        return v;
    }
    // A new block's answer names everything: nothing depends on what the
    // program remembers from earlier blocks.
    static bool Whole(const Answer& answer)
    {
        return !answer.ok || (answer.proj && answer.task && answer.work);
    }

    // --- One step ------------------------------------------------------------------

    // Runs a step the model can take; false (and nothing done) when it
    // cannot, as a replayed step whose block is no longer there. `why`
    // tells what went wrong when the step ran and the program disagreed.
    bool Run(const Action& act, QString& why)
    {
        SheetModel::Sheet& m = m_model;
        const int day = m.day;
        const int block = m.At(act.a);
        const Value* held = block >= 0 ? &m.blocks[block].value : nullptr;
        bool dialogExpected = false;
        bool refused = false;
        // A dialog left over from a step before is cancelled, not waited in.
        m_modals.reset();
        CScriptedModals& modals = m_modals.emplace();
        CRecordingMessages::Current().Clear();
        KeepGeometry();
        if (qEnvironmentVariableIsSet("KELVANE_MODEL_TRACE"))
            qInfo("%s", qPrintable(act.Text()));

        switch (act.kind) {
        case Action::Draw: {
            if (!Empty(act.a) || act.b <= act.a || !OnLine(act.b) || !Whole(act.answer))
                return false;
            const Value drawn =
                Answered(Span(day, act.a, std::min(act.b, m.NextStart(act.a))), act.answer);
            dialogExpected = true;
            modals.Then(Save(act.answer, modals));
            Draw(Point(act.a), Point(act.b));
            if (act.answer.ok)
                m.Insert(drawn);
            break;
        }
        case Action::Drag: {
            if (!held)
                return false;
            Value v = *held;
            if (act.alt) {
                if (act.b == v.start || act.b > v.stop - 15 || !OnLine(act.b))
                    return false;
                v.start = std::max(act.b, m.PreviousStop(v.start));
            } else {
                if (act.b == v.stop || act.b < v.start + 15 || !OnLine(act.b))
                    return false;
                v.stop = std::min(act.b, m.NextStart(v.stop));
            }
            const QPoint from = Grip(*held, act.alt);
            QTest::mousePress(m_line, Qt::LeftButton, Qt::NoModifier, from);
            const QPoint to = Point(act.b);
            const int dir = to.y() > from.y() ? 3 : -3;
            for (int y = from.y() + dir; dir > 0 ? y < to.y() : y > to.y(); y += dir)
                QTest::mouseMove(m_line, QPoint(m_x, y));
            QTest::mouseMove(m_line, to);
            QTest::mouseRelease(m_line, Qt::LeftButton, Qt::NoModifier, to);
            // The block is stored again even where its edge could not move.
            m.Update(block, v);
            break;
        }
        case Action::Key: {
            if (!held)
                return false;
            Value v = *held;
            (act.b == 12869   ? v.start
             : act.b == 12870 ? v.start
                              : v.stop) += act.b == 12869 || act.b == 12876 ? -15 : 15;
            if (v.start >= v.stop || !OnLine(v.start) || !OnLine(v.stop))
                return false;
            Hover(*held);
            // The keys move the window's highlighted block, which the line
            // names in a posted event.
            const int timeId = TimeIdOf(m.blocks[block].key);
            if (!Waiting::Until([&] { return m_window->Controller().HighlightedBlock() == timeId; },
                                kPatienceMs)) {
                why = QStringLiteral("the block pointed at is not highlighted");
                return true;
            }
            m_window->Controller().RunKeyCommand(act.b);
            if (m.Free(v, block))
                m.Update(block, v);
            break;
        }
        case Action::Edit: {
            if (!held)
                return false;
            const Value v = Answered(*held, act.answer);
            if (kTaskProject[v.task] != v.proj || (act.answer.ok && v == *held))
                return false;
            dialogExpected = true;
            modals.Then(Save(act.answer, modals));
            if (act.alt) {
                QTest::mouseMove(m_line, Middle(*held));
                QTest::mouseDClick(m_line, Qt::LeftButton, Qt::NoModifier, Middle(*held));
            } else if (!Menu(Middle(*held), QStringLiteral("Edit"))) {
                why = QStringLiteral("no Edit in the block's menu");
                return true;
            }
            if (act.answer.ok)
                m.Update(block, v);
            break;
        }
        case Action::Copy:
            if (!held)
                return false;
            if (!Menu(Middle(*held), QStringLiteral("Copy"))) {
                why = QStringLiteral("no Copy in the block's menu");
                return true;
            }
            m.clipboard = *held;
            break;
        case Action::Paste: {
            if (!m.clipboard || !Empty(act.a) || act.answer.proj || act.answer.comment.size())
                return false;
            Value v = *m.clipboard;
            v.day = day;
            v.stop = std::min(act.a + v.stop - v.start, 24 * 60);
            v.start = act.a;
            if (!OnLine(v.stop))
                return false;
            dialogExpected = m.Free(v);
            modals.Then(Save(act.answer, modals));
            if (!Menu(Point(act.a), QStringLiteral("Paste"))) {
                why = QStringLiteral("no Paste in the menu");
                return true;
            }
            if (dialogExpected && act.answer.ok)
                m.Insert(v);
            break;
        }
        case Action::Delete:
            if (!held)
                return false;
            CRecordingMessages::Current().Answer(kIdYes);
            if (!Menu(Middle(*held), QStringLiteral("Delete"))) {
                why = QStringLiteral("no Delete in the block's menu");
                return true;
            }
            m.Delete(block);
            break;
        case Action::Undo:
        case Action::Redo:
            m_window->OnCommand(act.kind == Action::Undo ? ID_UNDO : ID_REDO);
            refused = !m.Replay(act.kind == Action::Undo);
            break;
        case Action::Day:
            if (day + act.b < 0 || day + act.b > 2)
                return false;
            m_window->OnDayButtonMsg(act.b < 0 ? 1131 : 1132);
            m.SwitchDay(day + act.b);
            break;
        case Action::Now: {
            // The line's new block is the half-hour row that holds the time.
            const int start = act.a - act.a % 30;
            const Value v = Answered(Span(day, start, start + 30), act.answer);
            if (!OnLine(start) || !OnLine(start + 30) || !Whole(act.answer))
                return false;
            dialogExpected = m.Free(v);
            modals.Then(Save(act.answer, modals));
            m_clock->Set(m_day.addDays(day), act.a / 60, act.a % 60);
            m_window->OnCommand(ID_ADD_BLOCK_NOW);
            if (dialogExpected && act.answer.ok)
                m.Insert(v);
            break;
        }
        }

        // Some paths open Save Times from a posted event.
        if (dialogExpected)
            (void)Waiting::Until([&] { return !modals.seen.isEmpty(); }, kPatienceMs);
        QStringList shown;
        for (const QString& name : modals.seen)
            if (name != QLatin1String("CPickListDlg"))
                shown << name;
        if (shown.size() != (dialogExpected ? 1 : 0)) {
            why = QStringLiteral("dialogs shown: [%1], status '%2'")
                      .arg(shown.join(QLatin1Char(' ')), m_window->StatusText());
            return true;
        }
        if (!Waiting::Until([&] { return (why = Differences()).isEmpty(); }, kPatienceMs))
            return true;
        why = Shown();
        if (!why.isEmpty())
            return true;
        // A step refused is told; nothing else needs a box but the question
        // before a delete.
        QStringList told = CRecordingMessages::Current().Texts();
        if (act.kind == Action::Delete && !told.isEmpty() && told.first().endsWith('?'))
            told.removeFirst();
        if (refused != !told.isEmpty())
            why = refused ? QStringLiteral("a refused step is not told")
                          : QStringLiteral("told: ") + told.join(QLatin1Char('|'));
        return true;
    }

    // --- What the program holds ---------------------------------------------------

    // The rows, lists and line against the model; empty when they agree.
    QString Differences()
    {
        const CQueryResult rows =
            Query(QStringLiteral("SELECT TimesheetID, WorkDate, StartTime, StopTime, ProjID, "
                                 "TaskID, OrderID, WorkTypeID, Comment FROM tblTimeSheet"));
        const auto date = [&](int r, int c) {
            const QVariant v = rows.Value(r, c);
            return v.userType() == qMetaTypeId<CDateTime>() ? v.value<CDateTime>()
                                                            : CDateTime::Parse(v.toString());
        };
        std::map<int, Value> stored;
        for (int r = 0; r < rows.rows; ++r) {
            stored[rows.Value(r, 0).toInt()] = {int(m_day.daysTo(date(r, 1).Date())),
                                                date(r, 2).MinutesOfDay(),
                                                date(r, 3).MinutesOfDay(),
                                                rows.Value(r, 4).toInt(),
                                                rows.Value(r, 5).toInt(),
                                                rows.Value(r, 6).toInt(),
                                                rows.Value(r, 7).toInt(),
                                                rows.Value(r, 8).toString()};
        }
        // A new row's key is read back: the one row nobody owns with its values.
        for (SheetModel::Block& block : m_model.blocks) {
            if (block.key != -2)
                continue;
            for (const auto& [key, value] : stored) {
                const bool owned = std::any_of(m_model.blocks.begin(), m_model.blocks.end(),
                                               [key](const auto& b) { return b.key == key; });
                if (!owned && value == block.value) {
                    block.key = key;
                    break;
                }
            }
        }
        QStringList out;
        std::map<int, Value> expected;
        for (int b : m_model.Stored())
            expected[m_model.blocks[b].key] = m_model.blocks[b].value;
        for (const auto& [key, value] : stored)
            if (!expected.count(key) || expected[key] != value)
                out << QStringLiteral("the database holds %1: %2").arg(key).arg(value.Text());
        for (const auto& [key, value] : expected)
            if (!stored.count(key) || stored[key] != value)
                out << QStringLiteral("expected %1: %2")
                           .arg(key < 0 ? QStringLiteral("a new row") : QString::number(key))
                           .arg(value.Text());
        const CUndoHistory& history = m_app.Facade()->UndoHistory();
        if (history.UndoCount() != int(m_model.undo.size()) ||
            history.RedoCount() != int(m_model.redo.size()))
            out << QStringLiteral("undo/redo lists hold %1/%2 steps, expected %3/%4")
                       .arg(history.UndoCount())
                       .arg(history.RedoCount())
                       .arg(m_model.undo.size())
                       .arg(m_model.redo.size());
        if (m_window->Controller().ShownDay() != m_day.addDays(m_model.day))
            out << QStringLiteral("the window shows another day");
        const QString hours =
            QStringLiteral("Hours Worked %1").arg(m_model.Hours4() / 4.0, 0, 'f', 2);
        if (HoursOnTheLine() != hours)
            out << QStringLiteral("the line counts '%1', expected '%2'")
                       .arg(m_window->StatusText(), hours);
        return out.join(QStringLiteral("; "));
    }
    int TimeIdOf(int key)
    {
        const CQueryResult row =
            Query(QStringLiteral("SELECT TimeID FROM tblTimeSheet WHERE TimesheetID = ?"), {key});
        return row.rows == 1 ? row.Value(0, 0).toInt() : -1;
    }
    // Each stored block of the day, pointed at, tells its times and project.
    QString Shown()
    {
        KeepGeometry();
        for (int b : m_model.Stored()) {
            const Value& v = m_model.blocks[b].value;
            if (v.day != m_model.day)
                continue;
            Hover(v);
            const QString told =
                QStringLiteral("Active %1 to %2 %3")
                    .arg(Clock(v.start), Clock(v.stop), QLatin1String(kProjectNames[v.proj]));
            if (m_window->StatusText() != told)
                return QStringLiteral("the line tells '%1' at %2, expected '%3'")
                    .arg(m_window->StatusText(), Clock(v.start), told);
        }
        return QString();
    }
    // The pointer leaves the line and comes back onto a block.
    void Hover(const Value& v)
    {
        QTest::mouseMove(m_line, QPoint(1, 1));
        QTest::mouseMove(m_line, Middle(v));
    }

    // --- Runs --------------------------------------------------------------------

    void Reset()
    {
        Exec(QStringLiteral("DELETE FROM tblTimeSheet"));
        m_model = {};
        // Shown again from the database, with empty undo and redo lists.
        m_window->ShowDay(m_day);
        m_window->OnCommand(ID_REFRESH_TIMESHEET);
        ASSERT_TRUE(Waiting::Until([this] { return m_window->Controller().DayLoaded(); }));
        Waiting::Settle();
        KeepGeometry();
    }
    // Replays steps from an empty sheet: the first failure, or empty. The
    // steps that ran are kept in `ran` (a step the model cannot take is left).
    QString Replay(const std::vector<Action>& steps, std::vector<Action>* ran = nullptr)
    {
        Reset();
        std::vector<Action> done;
        for (const Action& act : steps) {
            QString why;
            if (!Run(act, why))
                continue;
            done.push_back(act);
            if (!why.isEmpty()) {
                if (ran)
                    *ran = done;
                return QStringLiteral("after step %1: %2").arg(done.size()).arg(why);
            }
        }
        if (ran)
            *ran = done;
        return QString();
    }
    // Leaves out chunks, then single steps, while the run still fails.
    std::vector<Action> Shrink(std::vector<Action> steps, QString& why)
    {
        QElapsedTimer spent;
        spent.start();
        const qint64 budget =
            qEnvironmentVariableIsSet("KELVANE_MODEL_SHRINK_SECONDS")
                ? qEnvironmentVariableIntValue("KELVANE_MODEL_SHRINK_SECONDS") * 1000
                : 60000;
        for (std::size_t chunk = steps.size() / 2; chunk >= 1 && spent.elapsed() < budget;) {
            bool cut = false;
            for (std::size_t at = 0; at < steps.size() && spent.elapsed() < budget;) {
                std::vector<Action> fewer = steps;
                fewer.erase(fewer.begin() + long(at),
                            fewer.begin() + long(std::min(at + chunk, fewer.size())));
                std::vector<Action> ran;
                const QString failed = Replay(fewer, &ran);
                if (!failed.isEmpty()) {
                    steps = ran;
                    why = failed;
                    cut = true;
                } else {
                    at += chunk;
                }
            }
            if (!cut)
                chunk /= 2;
        }
        return steps;
    }

    // --- Random steps ----------------------------------------------------------------

    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }
    int Quarter(int lo, int hi) { return lo + 15 * Below((hi - lo) / 15 + 1); }
    Answer NewAnswer()
    {
        Answer answer;
        answer.ok = Below(8) != 0;
        answer.proj = 1 + Below(2);
        answer.task = answer.proj == kBridge ? 1 + Below(2) : 3;
        answer.work = 1 + Below(6);
        answer.comment = QStringLiteral("c%1").arg(++m_comments);
        return answer;
    }
    Answer EditAnswer(const Value& v)
    {
        Answer answer = NewAnswer();
        const int what = Below(3);
        if (what != 0) // keeps the project
            answer.proj = 0, answer.task = v.proj == kBridge ? 1 + Below(2) : 3;
        if (what == 2) // the comment alone
            answer.task = answer.work = 0;
        return answer;
    }
    Action Next()
    {
        const SheetModel::Sheet& m = m_model;
        std::vector<int> mine;
        for (int b : m.Stored())
            if (m.blocks[b].value.day == m.day)
                mine.push_back(b);
        const int roll = Below(100);
        Action act = Act(Action::Draw);
        const Value* v = mine.empty() ? nullptr : &m.blocks[mine[Below(int(mine.size()))]].value;
        const int inside = v ? Quarter(v->start, v->stop - 15) : 0;
        if (roll < 22 || !v) {
            act.a = Quarter(m_lo, m_hi - 15);
            act.b = std::min(act.a + 15 * (1 + Below(8)), m_hi);
            act.answer = NewAnswer();
        } else if (roll < 30) {
            act = Act(Action::Drag, inside, 0, Below(2) == 0);
            const int edge = act.alt ? v->start : v->stop;
            act.b = std::clamp(edge + 15 * (Below(9) - 4), m_lo, m_hi);
        } else if (roll < 38) {
            const int keys[] = {12869, 12870, 12876, 12877};
            act = Act(Action::Key, inside, keys[Below(4)]);
        } else if (roll < 48) {
            act = Act(Action::Edit, inside, 0, Below(2) == 0);
            act.answer = EditAnswer(*v);
        } else if (roll < 54) {
            act = Act(Action::Copy, inside);
        } else if (roll < 62) {
            act = Act(Action::Paste, Quarter(m_lo, m_hi - 15));
            act.answer.ok = Below(6) != 0;
        } else if (roll < 69) {
            act = Act(Action::Delete, inside);
        } else if (roll < 83) {
            act = Act(Action::Undo);
        } else if (roll < 94) {
            act = Act(Action::Redo);
        } else if (roll < 97) {
            act = Act(Action::Day, 0, m.day == 0 || (m.day < 2 && Below(2)) ? 1 : -1);
        } else {
            act = Act(Action::Now, Quarter(m_lo, m_hi - 15) + Below(15));
            act.answer = NewAnswer();
        }
        return act;
    }

    std::unique_ptr<CTestClock> m_clock;
    std::optional<CScriptedModals> m_modals;
    std::map<int, int> m_y;
    int m_x = 0;
    int m_lo = 0;
    int m_hi = 0;
    SheetModel::Sheet m_model;
    std::mt19937 m_random;
    int m_comments = 0;
};

} // namespace

TEST_P(TimeSheetModelTest, RandomEditingKeepsWhatTheUserBooked)
{
    ASSERT_LT(m_lo + 60, m_hi) << "the line shows too little of the day";
    // KELVANE_MODEL_STEPS scales the runs (fewer under the sanitizers).
    const int steps = qEnvironmentVariableIntValue("KELVANE_MODEL_STEPS") > 0
                          ? qEnvironmentVariableIntValue("KELVANE_MODEL_STEPS")
                          : 25;
    // KELVANE_MODEL_SEEDS ("1,2,3" or "1-20") runs other seeds.
    const QString chosen = qEnvironmentVariableIsSet("KELVANE_MODEL_SEEDS")
                               ? qEnvironmentVariable("KELVANE_MODEL_SEEDS")
                               : QStringLiteral("1-100");
    QList<unsigned> seeds;
    for (const QString& part : chosen.split(',')) {
        const QStringList ends = part.split('-');
        for (unsigned seed = ends.first().toUInt(); seed <= ends.last().toUInt(); ++seed)
            seeds << seed;
    }
    for (const unsigned seed : seeds) {
        SCOPED_TRACE(seed);
        m_random.seed(seed);
        Reset();
        std::vector<Action> done;
        QString why;
        while (int(done.size()) < steps && why.isEmpty()) {
            const Action act = Next();
            if (Run(act, why))
                done.push_back(act);
        }
        if (why.isEmpty())
            continue;
        const QString first = QStringLiteral("after step %1: %2").arg(done.size()).arg(why);
        QString last = first;
        const std::vector<Action> few = Shrink(done, last);
        ADD_FAILURE() << QStringLiteral("seed %1 fails %2\nshortest failing steps:\n%3%4")
                             .arg(seed)
                             .arg(first, Listed(few), last)
                             .toStdString();
    }
}

KELVANE_INSTANTIATE_BACKENDS(TimeSheetModelTest);
