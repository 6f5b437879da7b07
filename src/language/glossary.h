#pragma once
// The field's terms in English (data/language/glossary_en.tsv): each row a kind (hexagram,
// relative, branch …), the term as the program writes it in 中文, its English, and a compact
// form for the chart drawing where the English is too long for a column.
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

namespace language {

struct Term {
    QString kind;
    QString chinese;
    QString english;
    QString compact;  // the English when no shorter form is given
};

class Glossary {
public:
    // The glossary the program ships (the resource :/language/glossary_en.tsv).
    static const Glossary& shipped();
    // Rows of "kind<TAB>中文<TAB>English[<TAB>compact]"; blank lines and lines starting with #
    // are skipped. Each malformed row or repeated (kind, 中文) pair adds a line to problems.
    static Glossary parse(const QString& text, QStringList* problems = nullptr);

    std::optional<Term> find(const QString& kind, const QString& chinese) const;
    // The English of a term, or empty when the kind does not hold it.
    QString english(const QString& kind, const QString& chinese) const;
    QString compact(const QString& kind, const QString& chinese) const;
    // The terms of a kind in file order; empty for an unknown kind.
    const QList<Term>& termsOf(const QString& kind) const;
    QStringList kinds() const { return order_; }

private:
    QHash<QString, QList<Term>> byKind_;
    QHash<QString, Term> byKey_;  // kind + '\t' + 中文
    QStringList order_;
};

}  // namespace language
