#pragma once

#include <QString>

#include <algorithm>
#include <optional>
#include <vector>

// What a user's editing of the time sheet must leave behind, kept apart
// from the program: the rows the database must hold, the undo and redo
// lists and the copied block, each as whole values.
namespace SheetModel {

struct Value {
    int day = 0; // days after the first day shown
    int start = 0;
    int stop = 0;
    int proj = 0;
    int task = 0;
    int order = 0;
    int work = 0;
    QString comment;

    bool operator==(const Value&) const = default;
    bool Overlaps(const Value& o) const { return day == o.day && start < o.stop && o.start < stop; }
    QString Text() const
    {
        return QStringLiteral("day%1 %2-%3 p%4 t%5 o%6 w%7 '%8'")
            .arg(day)
            .arg(Clock(start), Clock(stop))
            .arg(proj)
            .arg(task)
            .arg(order)
            .arg(work)
            .arg(comment);
    }
    static QString Clock(int minutes)
    {
        return QString::asprintf("%02d:%02d", minutes / 60, minutes % 60);
    }
};

// A block the user made, whatever row now stores it: undo and redo bring
// back the same block, under a new row key when it is made again.
struct Block {
    int key = -1; // the row's TimesheetID; -1 not stored, -2 stored, key not yet read
    Value value;
};

struct Step {
    enum Kind { Insert, Update, Delete } kind;
    int block;
    Value before; // as the step found it (Update, Delete)
    Value after;  // as the step left it (Insert, Update)
};

struct Sheet {
    std::vector<Block> blocks;
    std::vector<Step> undo;
    std::vector<Step> redo;
    std::optional<Value> clipboard;
    int day = 0;

    std::vector<int> Stored() const
    {
        std::vector<int> out;
        for (int b = 0; b < int(blocks.size()); ++b)
            if (blocks[b].key != -1)
                out.push_back(b);
        return out;
    }
    // The stored block of the shown day that holds a minute, or -1.
    int At(int minute) const
    {
        for (int b : Stored())
            if (blocks[b].value.day == day && blocks[b].value.start <= minute &&
                minute < blocks[b].value.stop)
                return b;
        return -1;
    }
    bool Free(const Value& v, int except = -1) const
    {
        for (int b : Stored())
            if (b != except && blocks[b].value.Overlaps(v))
                return false;
        return true;
    }
    // The start of the first block at or after a minute on the shown day.
    int NextStart(int minute) const
    {
        int next = 24 * 60;
        for (int b : Stored())
            if (blocks[b].value.day == day && blocks[b].value.start >= minute)
                next = std::min(next, blocks[b].value.start);
        return next;
    }
    int PreviousStop(int minute) const
    {
        int previous = 0;
        for (int b : Stored())
            if (blocks[b].value.day == day && blocks[b].value.stop <= minute)
                previous = std::max(previous, blocks[b].value.stop);
        return previous;
    }
    int Hours4() const // quarter hours booked on the shown day
    {
        int minutes = 0;
        for (int b : Stored())
            if (blocks[b].value.day == day)
                minutes += blocks[b].value.stop - blocks[b].value.start;
        return minutes / 15;
    }

    // A user's own change; the key of a new row is learnt from the database.
    int Insert(const Value& v)
    {
        blocks.push_back({-2, v});
        undo.push_back({Step::Insert, int(blocks.size()) - 1, {}, v});
        return int(blocks.size()) - 1;
    }
    void Update(int b, const Value& v)
    {
        undo.push_back({Step::Update, b, blocks[b].value, v});
        blocks[b].value = v;
    }
    void Delete(int b)
    {
        undo.push_back({Step::Delete, b, blocks[b].value, {}});
        blocks[b].key = -1;
    }
    void SwitchDay(int to)
    {
        day = to;
        undo.clear();
        redo.clear();
    }

    // Undo or Redo: the newest step of its list is applied when the block
    // is as the step left it and its place is free, and moves to the other
    // list; otherwise it is refused and nothing changes. True when applied.
    bool Replay(bool backwards)
    {
        std::vector<Step>& from = backwards ? undo : redo;
        std::vector<Step>& to = backwards ? redo : undo;
        if (from.empty())
            return true;
        const Step step = from.back();
        Block& block = blocks[step.block];
        const bool stored = block.key != -1;
        // Insert undone and Delete redone remove; the reverse make again.
        const bool removes = (step.kind == Step::Insert) == backwards;
        if (step.kind == Step::Update) {
            const Value& now = backwards ? step.after : step.before;
            const Value& then = backwards ? step.before : step.after;
            if (!stored || block.value != now || !Free(then, step.block))
                return false;
            block.value = then;
        } else if (removes) {
            const Value& now = step.kind == Step::Insert ? step.after : step.before;
            if (!stored || block.value != now)
                return false;
            block.key = -1;
        } else {
            const Value& then = step.kind == Step::Insert ? step.after : step.before;
            if (stored || !Free(then))
                return false;
            block.value = then;
            block.key = -2;
        }
        from.pop_back();
        to.push_back(step);
        return true;
    }
};

} // namespace SheetModel
