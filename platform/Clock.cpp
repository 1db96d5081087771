#include "platform/Clock.h"

#include <QTime>

#include <atomic>

namespace {

class CSystemClock final : public CClock {};

std::atomic<const CClock*> g_installed{nullptr};

} // namespace

QDateTime CClock::Now()
{
    return QDateTime::fromMSecsSinceEpoch(Instance().CurrentMSecsSinceEpoch(), Qt::LocalTime);
}

QDate CClock::Today()
{
    return Now().date();
}

int CClock::MinutesNow()
{
    const QTime now = Now().time();
    return now.hour() * 60 + now.minute();
}

const CClock& CClock::Instance()
{
    static const CSystemClock system;
    const CClock* installed = g_installed.load();
    return installed ? *installed : system;
}

qint64 CClock::CurrentMSecsSinceEpoch() const
{
    return QDateTime::currentMSecsSinceEpoch();
}

const CClock* CClock::SetInstance(const CClock* clock)
{
    return g_installed.exchange(clock);
}
