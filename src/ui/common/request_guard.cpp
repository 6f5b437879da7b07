#include "ui/common/request_guard.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QToolTip>

namespace ui {
namespace {

QString cancelHint() { return QCoreApplication::translate("ui::RequestGuard", "正在联网，按 Esc 取消"); }

bool isInput(QEvent::Type type) {
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::Close: return true;
    default: return false;
    }
}

}  // namespace

RequestGuard::RequestGuard(std::function<void()> cancel, QObject* parent)
    : QObject(parent), cancel_(std::move(cancel)) {}

RequestGuard::~RequestGuard() { setBusy(false); }

void RequestGuard::setBusy(bool busy) {
    if (busy == this->busy()) return;
    if (busy) {
        cursor_.emplace();
        qApp->installEventFilter(this);
        QToolTip::showText(QCursor::pos(), cancelHint());
    } else {
        qApp->removeEventFilter(this);
        QToolTip::hideText();
        cursor_.reset();
    }
}

bool RequestGuard::eventFilter(QObject*, QEvent* event) {
    // Only what the user does is held: the program's own closing and clicking go on.
    if (!event->spontaneous() || !isInput(event->type())) return false;
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && cancel_)
        cancel_();
    event->ignore();
    return true;
}

}  // namespace ui
