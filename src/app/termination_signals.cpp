#include "app/termination_signals.h"

#include <sys/socket.h>
#include <unistd.h>
#include <QApplication>
#include <QDialog>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>

Q_LOGGING_CATEGORY(dialogLog, "qinglan.dialogs", QtWarningMsg)

namespace app {
namespace {

// Written by the handler, read on the event loop: a handler may do no more than write().
int signalPipe[2] = {-1, -1};
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
int endStatus = 0;

void onSignal(int number) {
    const unsigned char byte = static_cast<unsigned char>(number);
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[0], &byte, 1);
}

}  // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0) return;
    notifier_ = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        unsigned char number = 0;
        if (::read(signalPipe[1], &number, 1) == 1) end(number);
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : kSignals) ::sigaction(number, &action, nullptr);
    qApp->installEventFilter(this);
}

TerminationSignals::~TerminationSignals() {
    if (!notifier_) return;
    qApp->removeEventFilter(this);
    for (const int number : kSignals) ::signal(number, SIG_DFL);
    delete notifier_;
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
    signalPipe[0] = signalPipe[1] = -1;
}

int TerminationSignals::exitStatus() { return endStatus; }

void TerminationSignals::end(int number) {
    endStatus = 128 + number;
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    // Innermost first; a dialog's own code goes on as after "取消".
    while (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
        dialog->reject();
        if (dialog->isVisible()) break;
    }
    QCoreApplication::exit(endStatus);
    // exit() ends the loops running now; the main loop may not have started yet.
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(endStatus); });
}

bool TerminationSignals::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && dialogLog().isInfoEnabled()) {
        if (auto* dialog = qobject_cast<QDialog*>(watched)) {
            const auto* box = qobject_cast<QMessageBox*>(dialog);
            qCInfo(dialogLog).noquote() << "shown:" << dialog->metaObject()->className() << dialog->windowTitle()
                                        << (box ? box->text() : QString());
        }
    }
    return false;
}

}  // namespace app
