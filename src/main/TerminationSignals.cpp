#include "main/TerminationSignals.h"

#include <QSocketNotifier>

#include <array>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace quillan {

#ifdef Q_OS_UNIX

namespace {

constexpr std::array kHandledSignals = {SIGTERM, SIGINT, SIGHUP};

// The handler may only write to a descriptor: the event loop reads the other
// end of the pair and does the rest.
std::array<int, 2> pipeEnds = {-1, -1};

extern "C" void onTerminationSignal(int signalNumber)
{
    const int savedErrno = errno;
    const char number = char(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[0], &number, 1);
    errno = savedErrno;
}

void setHandler(int signalNumber, void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(signalNumber, &action, nullptr);
}

} // namespace

TerminationSignals::TerminationSignals(QObject *parent) : QObject(parent)
{
    if (pipeEnds[0] >= 0)
        return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pipeEnds.data()) != 0) {
        pipeEnds[0] = pipeEnds[1] = -1;
        return;
    }
    // A burst of signals must never block the handler.
    ::fcntl(pipeEnds[0], F_SETFL, ::fcntl(pipeEnds[0], F_GETFL) | O_NONBLOCK);
    notifier_ = new QSocketNotifier(pipeEnds[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::readPending);
    for (int signalNumber : kHandledSignals)
        setHandler(signalNumber, onTerminationSignal);
}

TerminationSignals::~TerminationSignals()
{
    if (!notifier_)
        return;
    for (int signalNumber : kHandledSignals)
        setHandler(signalNumber, SIG_DFL);
    delete notifier_;
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    pipeEnds[0] = pipeEnds[1] = -1;
}

void TerminationSignals::readPending()
{
    char number = 0;
    if (::read(pipeEnds[1], &number, 1) == 1)
        emit received(int(number));
}

#else

TerminationSignals::TerminationSignals(QObject *parent) : QObject(parent) {}
TerminationSignals::~TerminationSignals() = default;
void TerminationSignals::readPending() {}

#endif

} // namespace quillan
