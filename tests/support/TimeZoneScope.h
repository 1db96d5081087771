#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <ctime>

// The user's time zone for a while: TZ of this process, put back after.
class CTimeZoneScope {
public:
    explicit CTimeZoneScope(const char* zone)
        : m_had(qEnvironmentVariableIsSet("TZ"))
        , m_old(qgetenv("TZ"))
    {
        qputenv("TZ", zone);
        tzset();
    }
    ~CTimeZoneScope()
    {
        if (m_had)
            qputenv("TZ", m_old);
        else
            qunsetenv("TZ");
        tzset();
    }
    CTimeZoneScope(const CTimeZoneScope&) = delete;
    CTimeZoneScope& operator=(const CTimeZoneScope&) = delete;

private:
    bool m_had;
    QByteArray m_old;
};
