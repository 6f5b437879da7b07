#pragma once
// Names for screen readers: a control without one takes its caption, else its hint. Controls
// with neither (lists, entry fields) are named by their role where they are made.
#include <QAbstractButton>
#include <QGroupBox>
#include <QString>
#include <QWidget>

namespace ui {

inline void nameControlsByCaption(QWidget* window) {
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->accessibleName().isEmpty()) continue;
        if (auto* b = qobject_cast<QAbstractButton*>(w); b && !b->text().isEmpty())
            w->setAccessibleName(b->text());
        else if (auto* g = qobject_cast<QGroupBox*>(w); g && !g->title().isEmpty())
            w->setAccessibleName(g->title());
        else if (!w->toolTip().isEmpty())
            w->setAccessibleName(w->toolTip());
    }
}

// An entry field named by the caption beside it: "用户名：" names it "用户名".
inline void nameByCaption(QWidget* field, QString caption) {
    while (caption.endsWith(u'：') || caption.endsWith(u':')) caption.chop(1);
    field->setAccessibleName(caption);
}

}  // namespace ui
