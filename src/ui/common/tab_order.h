#pragma once
// The order Tab visits a window's controls, given as a list: each one after the one before;
// and text boxes that Tab leaves as it leaves any other control.
#include <QCoreApplication>
#include <QKeyEvent>
#include <QObject>
#include <QPlainTextEdit>
#include <QWidget>
#include <initializer_list>

namespace ui {

inline void tabInOrder(std::initializer_list<QWidget*> controls) {
    QWidget* previous = nullptr;
    for (QWidget* w : controls) {
        if (previous) QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

// Tab and Ctrl+Tab move on from the box, Shift+Tab and Ctrl+Shift+Tab back; the box never
// takes a tab character.
class TabLeavesTextBox : public QObject {
public:
    explicit TabLeavesTextBox(QPlainTextEdit* box) : QObject(box) {
        box->setTabChangesFocus(true);
        box->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!(key->modifiers() & Qt::ControlModifier) || (key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab))
            return false;
        const bool back = key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier);
        QKeyEvent plain(QEvent::KeyPress, back ? Qt::Key_Backtab : Qt::Key_Tab,
                        back ? Qt::ShiftModifier : Qt::NoModifier);
        QCoreApplication::sendEvent(watched, &plain);
        return true;
    }
};

}  // namespace ui
