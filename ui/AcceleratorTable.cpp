#include "ui/AcceleratorTable.h"

#include "ui/VirtualKeys.h"

#include <QKeyEvent>

namespace {

using Entry = CAcceleratorTable::CEntry;

constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;
constexpr Qt::KeyboardModifiers kAlt = Qt::AltModifier;
constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers kShift = Qt::ShiftModifier;

Entry Char(char c, int command)
{
    return {c, kAlt, true, command};
}

Entry Key(int key, Qt::KeyboardModifiers modifiers, int command)
{
    return {key, modifiers, false, command};
}

const QList<Entry>& HubTable()
{
    static const QList<Entry> table = {
        Char(',', 1131),
        Char('<', 1131),
        Char('.', 1132),
        Char('>', 1132),
        Key(Qt::Key_C, kCtrl, 12883),
        Key(Qt::Key_C, kAlt, 1144),
        Key(Qt::Key_D, kAlt, 1139),
        Key(Qt::Key_E, kCtrl, 12893),
        Key(Qt::Key_G, kCtrl, 12881),
        Key(Qt::Key_I, kCtrl, 12892),
        Key(Qt::Key_P, kCtrl, 12885),
        Key(Qt::Key_P, kAlt, 1360),
        Key(Qt::Key_P, kAlt, 1033),
        Key(Qt::Key_T, kAlt, 12879),
        Key(Qt::Key_U, kAlt, 1309),
        Key(Qt::Key_U, kAlt, 1001),
        Key(Qt::Key_F1, kNone, 57670),
        Key(Qt::Key_F1, kShift, 57669),
        Key(Qt::Key_W, kCtrl, 12882),
    };
    return table;
}

} // namespace

CAcceleratorTable CAcceleratorTable::Load(int resourceId)
{
    switch (resourceId) {
    case 128:
        return CAcceleratorTable(HubTable());
    case 305:
        // The week review's.
        return CAcceleratorTable({Char(',', 1316), Char('<', 1316), Char('.', 1317),
                                  Char('>', 1317), Key(Qt::Key_E, kAlt, 1138),
                                  Key(Qt::Key_I, kAlt, 1226), Key(Qt::Key_L, kCtrl, 12884),
                                  Key(Qt::Key_P, kAlt, 1028), Key(Qt::Key_R, kAlt, 1111),
                                  Key(Qt::Key_S, kAlt, 1137), Key(Qt::Key_U, kAlt, 1001)});
    case 306:
        return CAcceleratorTable({Key(Qt::Key_E, kAlt, 1302), Key(Qt::Key_L, kAlt, 1314)});
    case 316:
        // "Edit Change Request": add and remove an action, step back and on.
        return CAcceleratorTable({Char('+', 1090), Char('=', 1090), Char('-', 1258),
                                  Char(',', 1198), Char('<', 1198), Char('.', 1197),
                                  Char('>', 1197)});
    case 307:
        return CAcceleratorTable({Key(Qt::Key_C, kAlt, 1217), Key(Qt::Key_M, kAlt, 1311),
                                  Key(Qt::Key_P, kAlt, 1218), Key(Qt::Key_R, kAlt, 1219),
                                  Key(Qt::Key_S, kAlt, 1110)});
    default:
        return CAcceleratorTable();
    }
}

int CAcceleratorTable::Translate(const QKeyEvent& event) const
{
    return Translate(event.key(), event.modifiers(), event.text());
}

int CAcceleratorTable::Translate(int key, Qt::KeyboardModifiers modifiers,
                                 const QString& text) const
{
    const CEntry* entry = Match(key, modifiers, text);
    return entry ? entry->command : 0;
}

int CAcceleratorTable::TranslateAccelerator(const QKeyEvent& event, int& keyCode) const
{
    const CEntry* entry = Match(event.key(), event.modifiers(), event.text());
    if (!entry)
        return 0;
    keyCode = entry->character ? entry->key : QtKeyToVirtualKey(entry->key);
    return entry->command;
}

const CAcceleratorTable::CEntry* CAcceleratorTable::Match(int key, Qt::KeyboardModifiers modifiers,
                                                          const QString& text) const
{
    const Qt::KeyboardModifiers held = modifiers & (kShift | kCtrl | kAlt);
    for (const Entry& entry : m_entries) {
        if (entry.character) {
            // With Alt held the text may be empty; the key then names the character.
            const bool same =
                key == entry.key || (!text.isEmpty() && text.at(0) == QChar(entry.key));
            if (same && (held & entry.modifiers) == entry.modifiers)
                return &entry;
        } else if (key == entry.key && held == entry.modifiers) {
            return &entry;
        }
    }
    return nullptr;
}
