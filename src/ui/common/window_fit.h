#pragma once
// Windows on a screen smaller than they are: the window's fixed-size client sits in a scroll
// area, and the window, frame included, is no larger than the screen's available area and lies
// inside it, so the title bar never goes above the screen nor the bottom scroll bar below it.
#include <QEvent>
#include <QMainWindow>
#include <QMargins>
#include <QObject>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>
#include <optional>

#include "ui/common/object_names.h"

namespace ui {

// The window system's decorations around a top-level window, once it has told them (X11 tells
// only after the window is mapped).
inline std::optional<QMargins> knownWindowFrame(const QWidget* window) {
    const QRect outer = window->frameGeometry();
    const QRect inner = window->geometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                         outer.bottom() - inner.bottom());
    if (frame.isNull() && !(window->windowFlags() & Qt::FramelessWindowHint)) return std::nullopt;
    return frame;
}

// The frame, or until it is known an estimate: a title bar two lines of text high and the
// border of a framed window of the style.
inline QMargins windowFrame(const QWidget* window) {
    if (const auto known = knownWindowFrame(window)) return *known;
    const int border = window->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, window);
    const int title = std::max(window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window),
                               2 * window->fontMetrics().height());
    return QMargins(border, title, border, border);
}

// Sizes the window to show the client where the screen has room, and puts its frame inside
// the screen's available area: centred, or moved in only as far as needed.
inline void fitWindow(QWidget* window, QSize client, bool centre) {
    const QRect available = window->screen()->availableGeometry();
    const QMargins frame = windowFrame(window);
    window->resize(client.boundedTo(available.size().shrunkBy(frame)));
    const QSize outer = window->size().grownBy(frame);
    QPoint at = centre ? available.topLeft() +
                             QPoint((available.width() - outer.width()) / 2, (available.height() - outer.height()) / 2)
                       : window->frameGeometry().topLeft();
    at.setX(std::clamp(at.x(), available.left(), std::max(available.left(), available.right() + 1 - outer.width())));
    at.setY(std::clamp(at.y(), available.top(), std::max(available.top(), available.bottom() + 1 - outer.height())));
    window->move(at);
}

// The client widget of a window, of a fixed size, in a frameless scroll area filling the window:
// on a smaller screen the client scrolls, in a larger window it sits centred. Tab moves between
// the client's controls, scrolling each into view.
inline QWidget* scrolledClient(QWidget* window, QSize size) {
    auto* scroll = new QScrollArea(window);
    scroll->setObjectName(objectnames::clientScroll);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setAlignment(Qt::AlignCenter);
    scroll->setFocusPolicy(Qt::NoFocus);
    auto* client = new QWidget(scroll);
    client->setObjectName(objectnames::client);
    client->setFixedSize(size);
    scroll->setWidget(client);
    if (auto* main = qobject_cast<QMainWindow*>(window)) {
        main->setCentralWidget(scroll);
    } else {
        auto* layout = new QVBoxLayout(window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(scroll);
        window->setMaximumSize(size);
    }
    return client;
}

// Fits the window on each showing (centred the first time when asked), and once more when the
// window system first tells the frame, if the estimate it was fitted with was wrong.
class ScreenFit : public QObject {
public:
    enum class Placement { Centred, KeptInside };
    ScreenFit(QWidget* window, QSize client, Placement placement)
        : QObject(window), window_(window), client_(client), centre_(placement == Placement::Centred) {
        window->installEventFilter(this);
    }
    // The client grew or shrank: a shown window is fitted to it again where it stands.
    void setClient(QSize client) {
        client_ = client;
        if (window_->isVisible()) fit(false);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            fit(centre_ && !shown_);
            shown_ = true;
        } else if (estimated_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
            const auto known = knownWindowFrame(window_);
            if (!known) return false;
            estimated_ = false;
            if (*known != fittedFrame_ && window_->windowState() == Qt::WindowNoState) fit(false);
        }
        return false;
    }

private:
    void fit(bool centre) {
        estimated_ = !knownWindowFrame(window_);
        fittedFrame_ = windowFrame(window_);
        fitWindow(window_, client_, centre);
    }

    QWidget* window_;
    QSize client_;
    bool centre_;
    bool shown_ = false;
    bool estimated_ = false;
    QMargins fittedFrame_;
};

}  // namespace ui
