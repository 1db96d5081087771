#include "data/StatementLimit.h"

#include "data/DBConnection.h"

namespace {

// The watch is heard this often.
constexpr int kWatchEveryMs = 50;

} // namespace

CStatementLimit::CStatementLimit(CDBConnection& connection, int limitMs, IStatementWatch* watch)
    : m_connection(connection)
    , m_limitMs(limitMs)
    , m_watch(watch)
    , m_previous(connection.StatementLimit())
{
    m_clock.start();
    m_sinceWatch.start();
    connection.SetStatementLimit(this);
}

CStatementLimit::~CStatementLimit()
{
    if (m_watch && m_stop != Stop::None)
        m_watch->StatementStopped(m_stop == Stop::TimedOut);
    m_connection.SetStatementLimit(m_previous);
}

bool CStatementLimit::KeepGoing()
{
    if (m_stop != Stop::None)
        return false;
    const qint64 elapsed = m_clock.elapsed();
    if (m_limitMs > 0 && elapsed > m_limitMs) {
        m_stop = Stop::TimedOut;
        return false;
    }
    if (!m_watch || m_inWatch || m_sinceWatch.elapsed() < kWatchEveryMs)
        return true;
    m_inWatch = true;
    const bool goOn = m_watch->StatementRunning(elapsed);
    m_inWatch = false;
    m_sinceWatch.restart();
    if (!goOn)
        m_stop = Stop::Cancelled;
    return goOn;
}
