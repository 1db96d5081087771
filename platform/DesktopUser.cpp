#include "platform/DesktopUser.h"

#include <pwd.h>
#include <unistd.h>

#include <vector>

namespace {

// The account's entry, or null.
const passwd* AccountEntry(passwd& entry, std::vector<char>& buffer)
{
    buffer.resize(16384);
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0)
        return nullptr;
    return found;
}

} // namespace

bool GetDesktopLogin(QString& out)
{
    for (const char* name : {"USER", "LOGNAME"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty()) {
            out = value;
            return true;
        }
    }
    passwd entry{};
    std::vector<char> buffer;
    if (const passwd* found = AccountEntry(entry, buffer);
        found && found->pw_name && *found->pw_name) {
        out = QString::fromLocal8Bit(found->pw_name);
        return true;
    }
    out.clear();
    return false;
}

void GetDesktopUser(QString& login, QString& fullName)
{
    GetDesktopLogin(login);
    fullName.clear();
    passwd entry{};
    std::vector<char> buffer;
    if (const passwd* found = AccountEntry(entry, buffer); found && found->pw_gecos)
        fullName =
            QString::fromLocal8Bit(found->pw_gecos).section(QLatin1Char(','), 0, 0).trimmed();
    if (fullName.isEmpty())
        fullName = login;
}
