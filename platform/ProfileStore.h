#pragma once

#include <QSettings>

// The user's profile: ~/.config/Dunmere/Kelvane.conf on Linux. Sections of
// the profile are groups ("DB", "Admin", "Window Settings", ...). It holds
// the database password, so the file is the user's alone (0600).
inline constexpr const char* kProfileOrganisation = "Dunmere";
inline constexpr const char* kProfileApplication = "Kelvane";

class CProfileStore : public QSettings {
public:
    CProfileStore();

    // Removes the profile's lock file when a killed process left it behind,
    // before anything writes the profile (a write would otherwise wait half
    // a minute for the lock to count as stale). A lock that a running
    // process holds is left alone. True when one was removed.
    static bool ClearStaleLock();
};
