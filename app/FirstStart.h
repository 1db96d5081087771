#pragma once

#include <QString>

// The embedded database of a first start: a new database file in the user's
// data folder with the schema, the seed rows, one project to book on and one
// employee for the person at the desktop, who signs on by login name.
class CFirstStart {
public:
    // The file a first start uses.
    static QString DatabaseFile();
    // Creates it (or keeps an existing one) and stores its connection string
    // and the user in the profile. False with a reason when it cannot; a
    // start killed at any point leaves either no database or a complete one.
    static bool Prepare(QString* error);

private:
    static void RemoveDatabaseFiles(const QString& file);
    static void RemoveLeftovers(const QString& file);
    // Gives the finished database its name, unless one has it already.
    static bool MoveIntoPlace(const QString& part, const QString& file, QString* error);
};
