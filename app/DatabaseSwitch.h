#pragma once

#include <QString>

class CDBClass;
class CDummyDlg;

// Opens the database on a connection of its own (the connection code says
// why when it cannot); on success the string is the one that opened.
bool TryOpenDatabase(QString& connectionString);

// What becomes of the windows, which close on a switch as they hold ids of
// the old database: they stay closed (the start window opens again only
// when the switch fails), or they open again on the database the program
// goes on with, so the user is where he was (the start window when none was
// open).
enum class SwitchWindows { StayClosed, OpenAgain };

// Makes the program use another database: the open windows close, the
// profile and the facade take the new one and it is connected. A database
// that cannot be opened leaves the program on `current`, after saying so.
// The connection is left released.
bool SwitchProgramDatabase(CDBClass* db, CDummyDlg* hub, const QString& wanted,
                           const QString& current,
                           SwitchWindows windows = SwitchWindows::StayClosed);
