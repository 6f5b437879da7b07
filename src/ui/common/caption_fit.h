#pragma once
// Places of a fixed layout that a longer text (a translation) needs more of: the caption grows to
// the right and the field beside it gives up that room. A text that fits leaves its place as it is.
#include <QLabel>
#include <QWidget>
#include <algorithm>

namespace ui {

// How much wider the label must be to show its text on one line.
inline int missingWidth(const QLabel* label) { return std::max(0, label->sizeHint().width() - label->width()); }

// The caption as wide as its text and a space, the field's left edge moved right by as much.
inline void fitCaption(QLabel* caption, QWidget* field) {
    if (missingWidth(caption) == 0) return;
    const int more = missingWidth(caption) + caption->fontMetrics().horizontalAdvance(u' ');
    caption->resize(caption->width() + more, caption->height());
    field->setGeometry(field->geometry().adjusted(more, 0, 0, 0));
}

}  // namespace ui
