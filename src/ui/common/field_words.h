#pragma once
// The words of the program's own lists as the interface shows them: the question types and the
// sexes of a case. The word itself stays the value (item data, stored, compared); only what is
// shown is translated. A word of neither list comes back as it is.
#include <QString>

namespace ui {

QString shownQuestionType(const QString& type);
QString shownSex(const QString& sex);

}  // namespace ui
