#include "platform/TerminationSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <iterator>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT};

// The handler's end [0] and the notifier's end [1]; -1 while none is active.
int s_sockets[2] = {-1, -1};
struct sigaction s_previous[std::size(kSignals)];

void OnSignal(int signalNumber)
{
    const int saved = errno;
    const auto byte = static_cast<unsigned char>(signalNumber);
    // Only async-signal-safe calls here. The end does not block: with its
    // buffer full the program has more of these than it needs already.
    [[maybe_unused]] const ssize_t written = ::write(s_sockets[0], &byte, 1);
    errno = saved;
}

} // namespace

CTerminationSignals::CTerminationSignals(QObject* parent)
    : QObject(parent)
{
    if (s_sockets[0] >= 0)
        return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, s_sockets) != 0) {
        s_sockets[0] = s_sockets[1] = -1;
        return;
    }
    m_notifier = new QSocketNotifier(s_sockets[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &CTerminationSignals::ReadSignals);
    struct sigaction action = {};
    action.sa_handler = &OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
        ::sigaction(kSignals[i], &action, &s_previous[i]);
        if (s_previous[i].sa_handler == SIG_IGN)
            ::sigaction(kSignals[i], &s_previous[i], nullptr);
    }
}

CTerminationSignals::~CTerminationSignals()
{
    if (!m_notifier)
        return;
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        ::sigaction(kSignals[i], &s_previous[i], nullptr);
    delete m_notifier;
    m_notifier = nullptr;
    ::close(s_sockets[0]);
    ::close(s_sockets[1]);
    s_sockets[0] = s_sockets[1] = -1;
}

void CTerminationSignals::ReadSignals()
{
    unsigned char bytes[16];
    ssize_t count = 0;
    while ((count = ::read(s_sockets[1], bytes, sizeof bytes)) > 0)
        for (ssize_t i = 0; i < count; ++i)
            emit Received(bytes[i]);
}
