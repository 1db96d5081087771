#pragma once

#include <QSettings>

// The user's profile: ~/.config/Dunmere/Kelvane.conf on Linux. Sections of
// the profile are groups ("DB", "Admin", "Window Settings", ...).
inline constexpr const char* kProfileOrganisation = "Dunmere";
inline constexpr const char* kProfileApplication = "Kelvane";

class CProfileStore : public QSettings {
public:
    CProfileStore()
        : QSettings(QSettings::NativeFormat, QSettings::UserScope,
                    QLatin1String(kProfileOrganisation), QLatin1String(kProfileApplication))
    {}
};
