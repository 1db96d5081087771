#pragma once

#include <QString>

// The person at the desktop: the account the program runs as.
// The login name: USER or LOGNAME first, so that a shell that sets them
// (tests, su) is believed, then the account database. False when neither
// names one.
bool GetDesktopLogin(QString& out);
// The login name and the full name (the account's comment field up to the
// first comma; the login name when it is empty).
void GetDesktopUser(QString& login, QString& fullName);
