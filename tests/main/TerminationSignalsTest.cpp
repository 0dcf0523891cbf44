#include "main/TerminationSignals.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <csignal>
#include <vector>

#include <gtest/gtest.h>

namespace quillan::test {

TEST(TerminationSignals, DeliverEachSignalOnTheEventLoopAndRestoreTheDefaultAfterwards)
{
    std::vector<int> received;
    {
        TerminationSignals termination;
        ASSERT_TRUE(termination.isActive());
        QObject::connect(&termination, &TerminationSignals::received,
                         [&received](int signalNumber) { received.push_back(signalNumber); });
        // Only one set of handlers can own the signals.
        EXPECT_FALSE(TerminationSignals().isActive());

        for (int signalNumber : {SIGTERM, SIGINT, SIGHUP})
            std::raise(signalNumber);
        EXPECT_TRUE(received.empty()); // nothing runs inside the handler
        const QDeadlineTimer deadline(10000);
        while (received.size() < 3 && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        EXPECT_EQ(received, (std::vector<int>{SIGTERM, SIGINT, SIGHUP}));
    }
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        struct sigaction current = {};
        sigaction(signalNumber, nullptr, &current);
        EXPECT_EQ(current.sa_handler, SIG_DFL) << signalNumber;
    }
}

} // namespace quillan::test
