#pragma once
// Return or Enter pressed in a control runs an action, as a double click on it would; the key
// goes no further (a dialog's default button does not also see it).
#include <QEvent>
#include <QKeyEvent>
#include <QObject>
#include <QWidget>
#include <functional>

namespace ui {

class EnterKey : public QObject {
public:
    EnterKey(QWidget* control, std::function<void()> action) : QObject(control), action_(std::move(action)) {
        control->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
        action_();
        return true;
    }

private:
    std::function<void()> action_;
};

}  // namespace ui
