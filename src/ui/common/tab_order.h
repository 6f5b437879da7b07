#pragma once
// The order Tab visits a window's controls, given as a list: each one after the one before.
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

}  // namespace ui
