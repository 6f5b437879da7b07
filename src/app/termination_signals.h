#pragma once
// SIGTERM, SIGINT and SIGHUP (the desktop session ending, Ctrl+C in a terminal, the terminal
// closing) end the event loop instead of the process, so the program closes its database as on
// any other quit: the saves still in the write-ahead log go into the file and it is left alone.
// Whatever dialog or message box is open then is closed as cancelled, and an event loop that
// starts only afterwards (a message box shown before the main loop runs) ends at once too.
// The exit status stays what the shell reports for a process ended by the signal (128 + number).
// Each dialog shown is also logged under "qinglan.dialogs" (info level, off by default).
#include <QObject>

class QSocketNotifier;

namespace app {

class TerminationSignals : public QObject {
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

    // 128 + the number of the signal that asked the program to end; 0 while none did.
    static int exitStatus();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void end(int number);

    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace app
