#include "language/english_text.h"
#include "language/glossary.h"

namespace language {
namespace {

// The kinds a piece of the drawing is read in, the first listed winning where one term is in
// two (死 is a season word there, not a stage).
const QStringList& drawingKinds() {
    static const QStringList kinds = {
        QStringLiteral("hexagram"), QStringLiteral("tag"),    QStringLiteral("beast"),    QStringLiteral("relative"),
        QStringLiteral("method"),   QStringLiteral("note"),   QStringLiteral("strength"), QStringLiteral("influence"),
        QStringLiteral("advance"),  QStringLiteral("season"), QStringLiteral("mark"),     QStringLiteral("stem"),
        QStringLiteral("branch"),   QStringLiteral("element")};
    return kinds;
}

}  // namespace

QString toEnglishWords(const QString& piece, WordForm form) {
    const Glossary& g = Glossary::shipped();
    QStringList words;
    for (qsizetype at = 0; at < piece.size();) {
        const Term* best = nullptr;
        for (const QString& kind : drawingKinds())
            for (const Term& term : g.termsOf(kind))
                if ((!best || term.chinese.size() > best->chinese.size()) &&
                    QStringView(piece).mid(at).startsWith(term.chinese))
                    best = &term;
        if (!best) return toEnglish(piece);
        words << (form == WordForm::Compact ? best->compact : best->english);
        at += best->chinese.size();
    }
    return words.join(u' ');
}

}  // namespace language
