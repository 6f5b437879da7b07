#pragma once
// The texts the program generates (the chart's text copy and drawing, pillar and term labels,
// the analysis report, the reading aids, the calendar's rows, the command line's text output)
// are built in 简体中文 and shown in the language asked for. The user's own texts (questions,
// judgments, feedback, category names) never pass through here.
#include <QString>
#include <QStringList>

#include "language/language.h"

namespace language {

// 简体中文: the text itself. 繁體: converted (OpenCC with the field's own corrections).
// English: line by line from the glossary and the sentence templates.
QString localized(const QString& generated, Language language);
QStringList localized(const QStringList& generated, Language language);

// A generated text that holds texts not ours to convert (the user's own, a case number that is
// read back as input): each occurrence of them is kept as it is, the pieces around it converted.
QString localizedKeeping(const QString& generated, const QStringList& kept, Language language);

// The same in the current language.
QString shown(const QString& generated);
QStringList shown(const QStringList& generated);

}  // namespace language
