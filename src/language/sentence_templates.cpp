#include "language/sentence_templates.h"

#include <QFile>

#include "language/slot_kinds.h"

namespace language {
namespace {

QString unescaped(QString text) { return text.replace(QStringLiteral("\\t"), QStringLiteral("\t")); }

bool isBlank(QChar c) { return c == u' '; }

// The slot "{relative|mark+?}": its kinds, whether it is a run, whether it may be empty.
SentenceTemplates::Slot slotOf(QString form) {
    SentenceTemplates::Slot slot;
    if (form.endsWith(u'?')) {
        slot.optional = true;
        form.chop(1);
    }
    if (form.endsWith(QStringLiteral(":short"))) {
        slot.compact = true;
        form.chop(6);
    }
    if (form.endsWith(u'+')) {
        slot.run = true;
        form.chop(1);
    }
    slot.kinds = form.split(u'|');
    return slot;
}

// Puts the glossary's English for each [中文] of a sentence; false when one is unknown.
bool putWords(QString& english, const Glossary& glossary, QString* unknown) {
    static const QRegularExpression word(QStringLiteral("\\[([^\\]]+)\\]"));
    QString out;
    qsizetype from = 0;
    for (auto it = word.globalMatch(english); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString e = glossary.english(QStringLiteral("concept"), m.captured(1));
        if (e.isEmpty()) {
            *unknown = m.captured(1);
            return false;
        }
        out += english.mid(from, m.capturedStart() - from) + e;
        from = m.capturedEnd();
    }
    english = out + english.mid(from);
    return true;
}

}  // namespace

const SentenceTemplates& SentenceTemplates::shipped() {
    static const SentenceTemplates templates = [] {
        QFile file(QStringLiteral(":/language/sentences_en.tsv"));
        if (!file.open(QIODevice::ReadOnly)) return SentenceTemplates{};
        return parse(QString::fromUtf8(file.readAll()), Glossary::shipped());
    }();
    return templates;
}

SentenceTemplates SentenceTemplates::parse(const QString& text, const Glossary& glossary, QStringList* problems) {
    SentenceTemplates set;
    set.glossary_ = &glossary;
    const auto problem = [problems](int number, const QString& what) {
        if (problems) *problems << QStringLiteral("line %1: %2").arg(number).arg(what);
    };
    static const QRegularExpression slotToken(QStringLiteral("\\{([^}]+)\\}"));
    const QStringList rows = text.split(u'\n');
    for (qsizetype i = 0; i < rows.size(); ++i) {
        QString row = rows[i];
        if (row.endsWith(u'\r')) row.chop(1);
        const int number = int(i) + 1;
        if (row.trimmed().isEmpty() || row.startsWith(u'#')) continue;
        const QStringList cells = row.split(u'\t');
        if (cells.size() != 3 || (cells[0] != u"line" && cells[0] != u"phrase") || cells[1].isEmpty()) {
            problem(number, QStringLiteral("needs line or phrase, the pattern and the English"));
            continue;
        }
        Template t;
        const QString pattern = unescaped(cells[1]);
        QString expression = QStringLiteral("^");
        qsizetype from = 0;
        bool ok = true;
        const auto literal = [&](const QString& piece) {
            expression += QRegularExpression::escape(piece);
            if (piece.size() > t.literal.size()) t.literal = piece;
        };
        for (auto it = slotToken.globalMatch(pattern); it.hasNext() && ok;) {
            const QRegularExpressionMatch m = it.next();
            literal(pattern.mid(from, m.capturedStart() - from));
            from = m.capturedEnd();
            const Slot slot = slotOf(m.captured(1));
            QString inner;
            if (slot.kinds.size() == 1 && !slot.run) {
                if (const auto form = slotforms::formPattern(slot.kinds[0], glossary)) inner = *form;
            }
            if (inner.isEmpty()) {
                for (const QString& kind : slot.kinds)
                    if (glossary.termsOf(kind).isEmpty()) {
                        problem(number, QStringLiteral("no slot kind %1").arg(kind));
                        ok = false;
                    }
                inner = slotforms::termsPattern(slot.kinds, glossary);
                if (slot.run) inner += u'+';
            }
            expression += u'(' + inner + u')';
            if (slot.optional) expression += u'?';
            t.slotList.push_back(slot);
        }
        if (!ok) continue;
        literal(pattern.mid(from));
        expression += u'$';
        t.pattern = QRegularExpression(expression);
        if (!t.pattern.isValid()) {
            problem(number, t.pattern.errorString());
            continue;
        }
        t.pattern.optimize();
        t.english = unescaped(cells[2]);
        QString unknown;
        if (!putWords(t.english, glossary, &unknown)) {
            problem(number, QStringLiteral("no word [%1] in the glossary").arg(unknown));
            continue;
        }
        (cells[0] == u"line" ? set.lines_ : set.phrases_).push_back(std::move(t));
    }
    return set;
}

std::optional<QString> SentenceTemplates::line(const QString& text) const { return translate(text, lines_); }

std::optional<QString> SentenceTemplates::phrase(const QString& text) const { return translate(text, phrases_); }

std::optional<QString> SentenceTemplates::translate(const QString& text, const std::vector<Template>& templates) const {
    qsizetype start = 0, end = text.size();
    while (start < end && isBlank(text.at(start))) ++start;
    while (end > start && isBlank(text.at(end - 1))) --end;
    const QString core = text.mid(start, end - start);
    for (const Template& t : templates) {
        if (!t.literal.isEmpty() && !core.contains(t.literal)) continue;
        const QRegularExpressionMatch m = t.pattern.match(core);
        if (!m.hasMatch()) continue;
        if (const auto english = render(t, m)) return text.left(start) + *english + text.mid(end);
    }
    return std::nullopt;
}

std::optional<QString> SentenceTemplates::render(const Template& t, const QRegularExpressionMatch& m) const {
    QStringList values;
    for (std::size_t k = 0; k < t.slotList.size(); ++k) {
        const auto value = renderSlot(t.slotList[k], m.captured(int(k) + 1));
        if (!value) return std::nullopt;
        values << *value;
    }
    // {1} … in the English; a number beyond the slots stays as it is.
    QString out;
    const QString& e = t.english;
    for (qsizetype i = 0; i < e.size(); ++i) {
        if (e.at(i) == u'{') {
            const qsizetype close = e.indexOf(u'}', i);
            bool numeric = false;
            const int n = close > i ? e.mid(i + 1, close - i - 1).toInt(&numeric) : 0;
            if (numeric && n >= 1 && n <= values.size()) {
                out += values[n - 1];
                i = close;
                continue;
            }
        }
        out += e.at(i);
    }
    return out;
}

std::optional<QString> SentenceTemplates::renderSlot(const Slot& slot, const QString& captured) const {
    const Glossary& g = *glossary_;
    if (captured.isEmpty()) return QString();
    if (slot.kinds.size() == 1 && !slot.run && slotforms::formPattern(slot.kinds[0], g))
        return slotforms::renderForm(slot.kinds[0], captured, g,
                                     [this](const QString& piece) { return phrase(piece); });
    // Terms of the kinds, longest first at each place; a run is written one after another.
    QStringList words;
    bool bracketed = false;
    for (qsizetype at = 0; at < captured.size();) {
        const Term* best = nullptr;
        for (const QString& kind : slot.kinds)
            for (const Term& term : g.termsOf(kind))
                if ((!best || term.chinese.size() > best->chinese.size()) &&
                    QStringView(captured).mid(at).startsWith(term.chinese))
                    best = &term;
        if (!best) return std::nullopt;
        words << (slot.compact ? best->compact : best->english);
        bracketed = slot.run && best->english.startsWith(u'(');
        at += best->chinese.size();
    }
    // Tags such as (六合)(归魂) follow what they tag after a blank each.
    if (bracketed) return u' ' + words.join(u' ');
    return words.join(QStringLiteral(", "));
}

}  // namespace language
