#pragma once

#include <memory>

class CBindingSet;
class CDBConnection;
struct CColumnDescriptor;

// The record kinds a search covers, named by the command id of the list
// window that searches them: the dialog's and the results view's titles,
// how many column descriptors of the base's list record class count, and
// the table the base lists every row of (with what it holds, for a message).
struct CSearchKind {
    int kind;
    const char* dialogTitle;
    const char* viewTitle;
    int columns;
    const char* table;
    const char* rowsName;
};

// Null for a kind no search covers.
const CSearchKind* FindSearchKind(int kind);
// The list record class over the kind's base query (its descriptors name
// the columns); null for a kind no search covers.
std::unique_ptr<CBindingSet> CreateSearchListSet(int kind, CDBConnection* connection);
// The type a column of the kind's base is searched and sorted by: its
// descriptor's, except where the list record class carries as text what the
// database holds as a number (the time sheets' invoiced cost).
int SearchColumnType(int kind, const CColumnDescriptor& column);
