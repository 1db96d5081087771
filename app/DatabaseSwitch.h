#pragma once

#include <QString>

class CDBClass;
class CDummyDlg;

// Opens the database on a connection of its own (the connection code says
// why when it cannot); on success the string is the one that opened.
bool TryOpenDatabase(QString& connectionString);

// Makes the program use another database: the open windows close (they hold
// ids of the old one), the profile and the facade take the new one and it is
// connected. A database that cannot be opened leaves the program on
// `current`, after saying so. The connection is left released.
bool SwitchProgramDatabase(CDBClass* db, CDummyDlg* hub, const QString& wanted,
                           const QString& current);
