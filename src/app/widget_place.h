#pragma once
// Creating a control at a fixed place, named as the window definition names it.
#include <QString>
#include <QWidget>

namespace app {

template <typename W>
W* place(QWidget* parent, const char* name, int x, int y, int w, int h) {
    auto* widget = new W(parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(x, y, w, h);
    return widget;
}

}  // namespace app
