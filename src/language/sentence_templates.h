#pragma once
// The sentence templates of the generated texts (data/language/sentences_en.tsv): a 中文
// pattern of literal text and typed slots, and the English sentence built from the slots.
//
//   line	{branch}{branch}冲	{1} clashes {2}
//
// A slot names a glossary kind ({branch}), kinds to choose from ({relative|mark}), a run of
// terms (+: {branch+} is 辰巳, written "Chén, Sì"), or a form of its own (slot_kinds.h); ? lets
// it be empty; :short takes the glossary's compact form ({trigram:short}). The English names the slots in order ({1} …)
// and the glossary's words of the field by their 中文 in brackets ([伏吟]). "line" templates match a whole line;
// "phrase" templates match the piece a {phrase} slot holds. \t in a pattern or sentence is a tab.
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "language/glossary.h"

namespace language {

class SentenceTemplates {
public:
    // The templates the program ships (:/language/sentences_en.tsv) over the shipped glossary.
    static const SentenceTemplates& shipped();
    // Rows of "line|phrase<TAB>pattern<TAB>English"; # starts a comment line. A row whose slot
    // kind or bracketed word the glossary does not know adds a line to problems and is skipped.
    static SentenceTemplates parse(const QString& text, const Glossary& glossary, QStringList* problems = nullptr);

    // The English of one line, its leading and trailing blanks kept; none when no line
    // template matches it.
    std::optional<QString> line(const QString& text) const;
    // The English of a piece of a line (the content of a {phrase} slot), blanks kept.
    std::optional<QString> phrase(const QString& text) const;

    struct Slot {
        QStringList kinds;  // glossary kinds, or one form of slot_kinds.h
        bool run = false;   // +: one or more terms in a row
        bool optional = false;
        bool compact = false;  // :short, the glossary's compact form
    };
    struct Template {
        QRegularExpression pattern;
        std::vector<Slot> slotList;
        QString english;  // [中文] words already put in
        QString literal;  // the longest literal piece, looked for before the expression runs
    };

private:
    std::optional<QString> translate(const QString& text, const std::vector<Template>& templates) const;
    std::optional<QString> render(const Template& t, const QRegularExpressionMatch& m) const;
    std::optional<QString> renderSlot(const Slot& slot, const QString& captured) const;

    const Glossary* glossary_ = nullptr;
    std::vector<Template> lines_, phrases_;
};

}  // namespace language
