#pragma once
// Creating a control at a fixed place, named as the window definition names it.
#include <QPushButton>
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

// A push button with its caption and, when given, its hint.
inline QPushButton* button(QWidget* parent, const char* name, const QString& caption, int x, int y, int w, int h,
                           const QString& hint = {}) {
    auto* b = place<QPushButton>(parent, name, x, y, w, h);
    b->setText(caption);
    if (!hint.isEmpty()) b->setToolTip(hint);
    return b;
}

}  // namespace app
