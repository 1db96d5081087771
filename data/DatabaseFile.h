#pragma once

#include <QString>

// Creates a new, empty database file for the file back end. Refuses a path
// where a file already exists.
bool CreateSqliteDatabaseFile(const QString& path, QString* error);
