#pragma once

#include <QList>
#include <Qt>

class QKeyEvent;
class QString;

// An accelerator table as the key-aware dialog bases consult it: the first
// entry a key press matches gives its command.
class IAcceleratorTable {
public:
    virtual ~IAcceleratorTable() = default;
    // The command of the first matching entry, 0 when none. keyCode gets the
    // code the entry matched: the virtual key, or for a character entry the
    // character.
    virtual int TranslateAccelerator(const QKeyEvent& event, int& keyCode) const = 0;
};

// A table of keys that stand for commands. The first matching entry wins.
class CAcceleratorTable : public IAcceleratorTable {
public:
    struct CEntry {
        // A Qt key; for character entries the character's code.
        int key = 0;
        // Shift, Ctrl and Alt as they must be held; character entries only
        // require Alt when it is given (Shift is part of the character).
        Qt::KeyboardModifiers modifiers;
        bool character = false;
        int command = 0;
    };

    CAcceleratorTable() = default;
    explicit CAcceleratorTable(QList<CEntry> entries)
        : m_entries(std::move(entries))
    {}

    // The program's tables by resource number: 128 (the hub's), 305 (the week
    // review's), 306 (search options), 307 (general options), 316 (the change-request
    // edit dialog's). Any other number gives an empty table.
    static CAcceleratorTable Load(int resourceId);

    bool IsEmpty() const { return m_entries.isEmpty(); }
    const QList<CEntry>& Entries() const { return m_entries; }

    // The command of the first entry the key press matches; 0 when none does.
    int Translate(const QKeyEvent& event) const;
    int Translate(int key, Qt::KeyboardModifiers modifiers, const QString& text) const;
    int TranslateAccelerator(const QKeyEvent& event, int& keyCode) const override;

private:
    const CEntry* Match(int key, Qt::KeyboardModifiers modifiers, const QString& text) const;

    QList<CEntry> m_entries;
};
