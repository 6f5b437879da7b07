#pragma once
// Helpers for windows laid out at fixed places: a control with its objectName and geometry, and
// labels that act as links.
#include <QEvent>
#include <QLabel>
#include <QObject>
#include <QString>
#include <functional>

namespace app {

template <typename W>
W* place(QWidget* parent, const char* name, int x, int y, int w, int h) {
    auto* widget = new W(parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(x, y, w, h);
    return widget;
}

// Labels that act as links: a click runs the action, and they take the highlight colour under
// the pointer.
class LinkHover : public QObject {
public:
    LinkHover(QLabel* label, std::function<void()> open) : QObject(label), label_(label), open_(std::move(open)) {
        label->installEventFilter(this);
        label->setCursor(Qt::PointingHandCursor);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Enter) label_->setStyleSheet(QStringLiteral("color: palette(highlight);"));
        else if (event->type() == QEvent::Leave) label_->setStyleSheet({});
        else if (event->type() == QEvent::MouseButtonRelease && open_) open_();
        return false;
    }

private:
    QLabel* label_;
    std::function<void()> open_;
};

}  // namespace app
