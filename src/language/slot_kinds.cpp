#include "language/slot_kinds.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>

namespace language::slotforms {
namespace {

// A character class of the one-character terms of a kind (stems, branches, elements).
QString charClass(const QString& kind, const Glossary& glossary) {
    QString chars;
    for (const Term& t : glossary.termsOf(kind))
        if (t.chinese.size() == 1) chars += t.chinese;
    return u'[' + QRegularExpression::escape(chars) + u']';
}

QString english(const QString& kind, QChar c, const Glossary& glossary) { return glossary.english(kind, QString(c)); }

// "branch element": 子水 → "Zǐ Water".
QString branchElement(const QString& text, const Glossary& glossary) {
    return english(QStringLiteral("branch"), text.at(0), glossary) + u' ' +
           english(QStringLiteral("element"), text.at(1), glossary);
}

QString positionsEnglish(const QString& text, const Glossary& glossary) {
    if (text == u"无") return glossary.english(QStringLiteral("concept"), text);
    if (text == u"不上卦") return glossary.english(QStringLiteral("concept"), text);
    const QStringList names = text.split(u'、');
    if (names.size() == 1) return glossary.english(QStringLiteral("position"), names[0]);
    // "lines 1, 3, 6": the numbers of the glossary's "line n".
    QStringList numbers;
    for (const QString& name : names) numbers << glossary.english(QStringLiteral("position"), name).section(u' ', -1);
    return QStringLiteral("lines ") + numbers.join(QStringLiteral(", "));
}

}  // namespace

QString termsPattern(const QStringList& kinds, const Glossary& glossary) {
    QStringList keys;
    for (const QString& kind : kinds)
        for (const Term& t : glossary.termsOf(kind)) keys << t.chinese;
    std::sort(keys.begin(), keys.end(), [](const QString& a, const QString& b) { return a.size() > b.size(); });
    keys.removeDuplicates();
    for (QString& k : keys) k = QRegularExpression::escape(k);
    return QStringLiteral("(?:") + keys.join(u'|') + u')';
}

QString pillarEnglish(const QString& pillar, const Glossary& glossary) {
    if (pillar.size() != 2) return pillar;
    return english(QStringLiteral("stem"), pillar.at(0), glossary) + u'-' +
           english(QStringLiteral("branch"), pillar.at(1), glossary);
}

std::optional<QString> formPattern(const QString& form, const Glossary& glossary) {
    const QString stem = charClass(QStringLiteral("stem"), glossary);
    const QString branch = charClass(QStringLiteral("branch"), glossary);
    const QString element = charClass(QStringLiteral("element"), glossary);
    if (form == u"pillar") return stem + branch;
    if (form == u"item") return termsPattern({QStringLiteral("relative")}, glossary) + branch + element;
    if (form == u"be") return branch + element;
    if (form == u"branchlist") return branch + QStringLiteral("(?:、") + branch + u')' + u'*';
    if (form == u"positions") {
        const QString one = termsPattern({QStringLiteral("position")}, glossary);
        return QStringLiteral("(?:不上卦|无|") + one + QStringLiteral("(?:、") + one + QStringLiteral(")*)");
    }
    if (form == u"numbers") return QStringLiteral("(?:无|\\d+(?: \\d+)*)");
    if (form == u"n") return QStringLiteral("\\d+");
    if (form == u"date") return QStringLiteral("\\d{4}-\\d{2}-\\d{2}");
    if (form == u"time") return QStringLiteral("\\d{1,2}:\\d{1,2}(?::\\d{2})?");
    if (form == u"clocktime") return QStringLiteral("(?:\\d{4}-\\d{2}-\\d{2} )?\\d{2}:\\d{2}");
    if (form == u"markcell") return QStringLiteral("[世应 ]");
    if (form == u"entry" || form == u"text" || form == u"phrase" || form == u"phrases") return QStringLiteral(".*?");
    return std::nullopt;
}

std::optional<QString> renderForm(const QString& form, const QString& captured, const Glossary& glossary,
                                  const std::function<std::optional<QString>(const QString&)>& phrase) {
    if (form == u"pillar") return pillarEnglish(captured, glossary);
    if (form == u"item")
        return glossary.english(QStringLiteral("relative"), captured.left(2)) + u' ' +
               branchElement(captured.mid(2), glossary);
    if (form == u"be") return branchElement(captured, glossary);
    if (form == u"branchlist") {
        QStringList out;
        for (const QString& b : captured.split(u'、')) out << glossary.english(QStringLiteral("branch"), b);
        return out.join(QStringLiteral(", "));
    }
    if (form == u"positions") return positionsEnglish(captured, glossary);
    if (form == u"numbers") return captured == u"无" ? glossary.english(QStringLiteral("concept"), captured) : captured;
    if (form == u"markcell") return captured == u" " ? captured : glossary.english(QStringLiteral("mark"), captured);
    if (form == u"entry") {
        // A case number keeps its digits; the method word in it is named in English.
        QString out = captured;
        for (const Term& t : glossary.termsOf(QStringLiteral("method"))) out.replace(t.chinese, t.compact);
        return out;
    }
    if (form == u"phrase") return captured.isEmpty() ? std::optional<QString>(QString()) : phrase(captured);
    if (form == u"phrases") {
        QStringList out;
        for (const QString& piece : captured.split(u' ', Qt::SkipEmptyParts)) {
            const auto english = phrase(piece);
            if (!english) return std::nullopt;
            out << *english;
        }
        return out.join(QStringLiteral("; "));
    }
    return captured;  // n, date, time, clocktime, text: as they are
}

}  // namespace language::slotforms
