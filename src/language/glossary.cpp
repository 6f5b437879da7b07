#include "language/glossary.h"

#include <QFile>

namespace language {

const Glossary& Glossary::shipped() {
    static const Glossary glossary = [] {
        QFile file(QStringLiteral(":/language/glossary_en.tsv"));
        if (!file.open(QIODevice::ReadOnly)) return Glossary{};
        return parse(QString::fromUtf8(file.readAll()));
    }();
    return glossary;
}

Glossary Glossary::parse(const QString& text, QStringList* problems) {
    Glossary g;
    const auto problem = [problems](int lineNumber, const QString& what) {
        if (problems) *problems << QStringLiteral("line %1: %2").arg(lineNumber).arg(what);
    };
    const QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(u'\r')) line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(u'#')) continue;
        const QStringList cells = line.split(u'\t');
        const int number = int(i) + 1;
        if (cells.size() < 3 || cells.size() > 4 || cells[0].isEmpty() || cells[1].isEmpty() ||
            cells[2].trimmed().isEmpty()) {
            problem(number, QStringLiteral("needs kind, 中文, English and an optional compact form"));
            continue;
        }
        Term term{cells[0], cells[1], cells[2], cells.size() == 4 && !cells[3].isEmpty() ? cells[3] : cells[2]};
        const QString key = term.kind + u'\t' + term.chinese;
        if (g.byKey_.contains(key)) {
            problem(number, QStringLiteral("%1 %2 is listed twice").arg(term.kind, term.chinese));
            continue;
        }
        if (!g.byKind_.contains(term.kind)) g.order_ << term.kind;
        g.byKind_[term.kind] << term;
        g.byKey_.insert(key, term);
    }
    return g;
}

std::optional<Term> Glossary::find(const QString& kind, const QString& chinese) const {
    const auto it = byKey_.constFind(kind + u'\t' + chinese);
    if (it == byKey_.constEnd()) return std::nullopt;
    return *it;
}

QString Glossary::english(const QString& kind, const QString& chinese) const {
    const auto term = find(kind, chinese);
    return term ? term->english : QString();
}

QString Glossary::compact(const QString& kind, const QString& chinese) const {
    const auto term = find(kind, chinese);
    return term ? term->compact : QString();
}

const QList<Term>& Glossary::termsOf(const QString& kind) const {
    static const QList<Term> none;
    const auto it = byKind_.constFind(kind);
    return it == byKind_.constEnd() ? none : *it;
}

}  // namespace language
