#pragma once
// Turns the signals that ask a program to end (SIGTERM from a session that
// logs out or from `kill`, SIGINT from Ctrl+C in a terminal, SIGHUP from a
// terminal that closes) into a Qt signal on the event loop, so the program
// can end through its own Quit instead of dying with its last report left
// behind. One instance at a time; it restores the default handling when it
// goes. Where the platform has no such signals it does nothing.

#include <QObject>

class QSocketNotifier;

namespace quillan {

class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

    // False when the handlers could not be set up (the signals then keep
    // their default effect).
    bool isActive() const { return notifier_ != nullptr; }

signals:
    void received(int signalNumber);

private:
    void readPending();

    QSocketNotifier *notifier_ = nullptr;
};

} // namespace quillan
