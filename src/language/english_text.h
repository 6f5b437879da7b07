#pragma once
// English for generated texts: each line is matched against the sentence templates; the field's
// terms in it (hexagrams, trigrams, relatives, beasts, stems and branches, the analysis's words)
// come from the glossary.
#include <QString>
#include <QStringList>

namespace language {

QString toEnglish(const QString& generated);

}  // namespace language
