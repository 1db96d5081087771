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
    // and the user in the profile. False with a reason when it cannot.
    static bool Prepare(QString* error);
    // The person at the desktop: login name and full name.
    static void DesktopUser(QString& login, QString& fullName);
};
