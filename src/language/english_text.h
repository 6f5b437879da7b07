#pragma once
// English for generated texts: each line is matched against the sentence templates; the field's
// terms in it (hexagrams, trigrams, relatives, beasts, stems and branches, the analysis's words)
// come from the glossary.
#include <QString>
#include <QStringList>

namespace language {

// Line by line; a line no template knows is kept as it is.
QString toEnglish(const QString& generated);

// A short piece of the chart drawing made of the field's terms one after another (a beast, a
// relative, a branch with its element, a mark, a hexagram name with its tags, a note such as
// 旺月破日冲): the glossary's English of each term, or its compact form, separated by blanks.
// Anything else goes through toEnglish.
enum class WordForm { Full, Compact };
QString toEnglishWords(const QString& piece, WordForm form = WordForm::Full);

}  // namespace language
