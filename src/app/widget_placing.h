#pragma once
// Windows lay out their controls at fixed places; this makes one with its objectName.
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
