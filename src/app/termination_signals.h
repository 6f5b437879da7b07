#pragma once
// SIGTERM, SIGINT and SIGHUP (the desktop session ending, Ctrl+C in a terminal, the terminal
// closing) end the event loop instead of the process, so the program closes its database as on
// any other quit: the saves still in the write-ahead log go into the file and it is left alone.
// The exit status stays what the shell reports for a process ended by the signal (128 + number).
#include <QObject>

class QSocketNotifier;

namespace app {

class TerminationSignals : public QObject {
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

private:
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace app
