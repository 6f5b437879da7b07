#pragma once
// Creating a control at a place of its window's layout table, named as the window definition
// names it.
#include <QEvent>
#include <QLabel>
#include <QObject>
#include <QPushButton>
#include <QString>
#include <QWidget>
#include <functional>

namespace ui {

template <typename W>
W* place(QWidget* parent, const char* name, const QRect& at) {
    auto* widget = new W(parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(at);
    return widget;
}

// A push button with its caption and, when given, its hint.
inline QPushButton* button(QWidget* parent, const char* name, const QString& caption, const QRect& at,
                           const QString& hint = {}) {
    auto* b = place<QPushButton>(parent, name, at);
    b->setText(caption);
    if (!hint.isEmpty()) b->setToolTip(hint);
    return b;
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
        if (event->type() == QEvent::Enter)
            label_->setStyleSheet(QStringLiteral("color: palette(highlight);"));
        else if (event->type() == QEvent::Leave)
            label_->setStyleSheet({});
        else if (event->type() == QEvent::MouseButtonRelease && open_)
            open_();
        return false;
    }

private:
    QLabel* label_;
    std::function<void()> open_;
};

}  // namespace ui
