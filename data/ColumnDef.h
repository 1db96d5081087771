#pragma once

#include "data/AdoTypes.h"

#include <QString>

#include <span>

// What a column read as NULL turns into in its buffer.
enum class ReadRule : unsigned char {
    None,         // the type's zero value
    NullEmpty,    // ""
    NullMinusOne, // -1
    NullDateZero, // a null date
    NullZero,     // 0 or 0.0
    NullOne,      // 1 or 1.0
};

// One column of a record class, declared once in a static table in column
// order. Columns are bound by position: the table must list the source's
// columns in the order "SELECT *" returns them.
struct CColumnDef {
    const char* name = nullptr; // nullptr: the column carries no name
    int type = adEmpty;         // AdoDataType
    int width = 0;              // texts: the most characters written
    ReadRule rule = ReadRule::None;
    bool bound = true;             // false: present in the source, never read
    const char* caption = nullptr; // list heading
    int listWidth = 70;
    int translation = 0; // how a list turns the value into text (0: as it is)
    int position = -1;   // the column's place in a list (-1: as declared)
};

// Shorthands for the column tables.
constexpr CColumnDef Col(const char* name, int type, ReadRule rule = ReadRule::None)
{
    return CColumnDef{name, type, 0, rule, true, nullptr, 70, 0, -1};
}
constexpr CColumnDef Text(const char* name, int width, ReadRule rule = ReadRule::NullEmpty)
{
    return CColumnDef{name, adVarChar, width, rule, true, nullptr, 70, 0, -1};
}
constexpr CColumnDef Unbound(const char* name, int type = adEmpty)
{
    return CColumnDef{name, type, 0, ReadRule::None, false, nullptr, 70, 0, -1};
}
constexpr CColumnDef Listed(CColumnDef def, const char* caption, int listWidth = 70,
                            int translation = 0, int position = -1)
{
    def.caption = caption;
    def.listWidth = listWidth;
    def.translation = translation;
    def.position = position;
    return def;
}

// The per-object view of a column: its type, the status of the current
// row's value, where the value lives, and how lists show it.
struct CColumnDescriptor {
    int type = adEmpty;
    int status = adFldOK;
    int size = 0;
    void* buffer = nullptr; // nullptr: not bound
    QString name;
    QString caption;
    int width = 70;
    int translation = 0;
    int position = -1;
};

// The most characters the named text column of a table holds (its width);
// 0 for a column without a limit, one that is no text, or no such column.
// Windows tell the user before a longer text reaches the record layer,
// which cuts to this width.
int TextWidth(std::span<const CColumnDef> columns, const char* name);
