#include "app/window/termination_signals.h"

#include <QSocketNotifier>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
// [0] is written by the handler, [1] read by the event loop.
std::array<int, 2> g_pipe{-1, -1};
std::atomic<bool> g_active{false};
struct sigaction g_oldTerm {};
struct sigaction g_oldInt {};

extern "C" void onTerminationSignal(int signalNumber) {
    const int savedErrno = errno;
    const auto byte = static_cast<unsigned char>(signalNumber);
    // Nothing to do when the buffer is full: a wake-up is already waiting.
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[0], &byte, 1);
    errno = savedErrno;
}
} // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
    bool expected = false;
    if (!g_active.compare_exchange_strong(expected, true))
        return;
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, fds) != 0) {
        g_active = false;
        return;
    }
    g_pipe = {fds[0], fds[1]};
    m_notifier = std::make_unique<QSocketNotifier>(g_pipe[1], QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &TerminationSignals::readPending);

    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, &g_oldTerm);
    ::sigaction(SIGINT, &action, &g_oldInt);
    m_installed = true;
}

TerminationSignals::~TerminationSignals() {
    if (!m_installed)
        return;
    ::sigaction(SIGTERM, &g_oldTerm, nullptr);
    ::sigaction(SIGINT, &g_oldInt, nullptr);
    m_notifier.reset();
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe = {-1, -1};
    g_active = false;
}

void TerminationSignals::readPending() {
    std::array<unsigned char, 64> buffer{};
    for (;;) {
        const ssize_t n = ::read(g_pipe[1], buffer.data(), buffer.size());
        if (n <= 0)
            break;
        for (ssize_t i = 0; i < n; ++i)
            Q_EMIT terminationRequested(static_cast<int>(buffer[static_cast<std::size_t>(i)]));
    }
}
