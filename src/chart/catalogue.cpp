#include "chart/catalogue.h"

#include <QStringList>
#include <array>

namespace chart {
namespace {

struct Trigram {
    const char16_t* digits;
    char16_t name;
    char16_t nature;
};

constexpr std::array<Trigram, 8> kTrigrams = {{{u"111", u'乾', u'天'},
                                               {u"112", u'巽', u'风'},
                                               {u"121", u'离', u'火'},
                                               {u"122", u'艮', u'山'},
                                               {u"211", u'兑', u'泽'},
                                               {u"212", u'坎', u'水'},
                                               {u"221", u'震', u'雷'},
                                               {u"222", u'坤', u'地'}}};

// Rows are upper trigrams, columns lower trigrams, both in the order of kTrigrams.
const std::array<const char16_t*, 64> kNames = {
    u"乾为天",   u"天风姤",   u"天火同人", u"天山遁",   u"天泽履",   u"天水讼",   u"天雷无妄", u"天地否",
    u"风天小畜", u"巽为风",   u"风火家人", u"风山渐",   u"风泽中孚", u"风水涣",   u"风雷益",   u"风地观",
    u"火天大有", u"火风鼎",   u"离为火",   u"火山旅",   u"火泽睽",   u"火水未济", u"火雷噬嗑", u"火地晋",
    u"山天大畜", u"山风蛊",   u"山火贲",   u"艮为山",   u"山泽损",   u"山水蒙",   u"山雷颐",   u"山地剥",
    u"泽天夬",   u"泽风大过", u"泽火革",   u"泽山咸",   u"兑为泽",   u"泽水困",   u"泽雷随",   u"泽地萃",
    u"水天需",   u"水风井",   u"水火既济", u"水山蹇",   u"水泽节",   u"坎为水",   u"水雷屯",   u"水地比",
    u"雷天大壮", u"雷风恒",   u"雷火丰",   u"雷山小过", u"雷泽归妹", u"雷水解",   u"震为雷",   u"雷地豫",
    u"地天泰",   u"地风升",   u"地火明夷", u"地山谦",   u"地泽临",   u"地水师",   u"地雷复",   u"坤为地"};

int trigramIndex(const QString& digits) {
    for (std::size_t i = 0; i < kTrigrams.size(); ++i)
        if (digits == QStringView(kTrigrams[i].digits)) return int(i);
    return -1;
}

bool listed(const QString& name, std::initializer_list<const char16_t*> names) {
    for (const char16_t* n : names)
        if (name == QStringView(n)) return true;
    return false;
}

bool isDoubled(const QString& name) { return name.size() == 3 && name.at(1) == u'为'; }

// A layout text split as the item list reads it: commas and blanks separate, quotes group.
QStringList layoutItems(const QString& layout) {
    QStringList items;
    QString item;
    bool quoted = false, any = false;
    for (QChar c : layout) {
        if (c == u'"') {
            quoted = !quoted;
            any = true;
        } else if (!quoted && (c == u',' || c == u' ')) {
            if (any || c == u',') items << item;
            item.clear();
            any = false;
        } else {
            item += c;
            any = true;
        }
    }
    if (any || !item.isEmpty()) items << item;
    return items;
}

}  // namespace

QString hexagramKey(const std::array<int, 6>& codes) {
    QString key;
    for (int code : codes) {
        if (code == 3)
            key += u'1';
        else if (code == 4)
            key += u'2';
        else
            key += QString::number(code);
    }
    return key;
}

QString hexagramName(const QString& key) {
    if (key.size() != 6) return {};
    const int upper = trigramIndex(key.left(3));
    const int lower = trigramIndex(key.mid(3));
    if (upper < 0 || lower < 0) return {};
    return QString::fromUtf16(kNames[std::size_t(upper * 8 + lower)]);
}

QString hexagramNameOfCodes(const std::array<int, 6>& codes) { return hexagramName(hexagramKey(codes)); }

QString keyOfHexagram(const QString& name) {
    for (std::size_t i = 0; i < kNames.size(); ++i)
        if (name == QStringView(kNames[i]))
            return QString::fromUtf16(kTrigrams[i / 8].digits) + QString::fromUtf16(kTrigrams[i % 8].digits);
    return {};
}

QChar trigramName(const QString& digits) {
    const int i = trigramIndex(digits);
    return i < 0 ? QChar() : QChar(kTrigrams[std::size_t(i)].name);
}

QChar trigramNature(const QString& digits) {
    const int i = trigramIndex(digits);
    return i < 0 ? QChar() : QChar(kTrigrams[std::size_t(i)].nature);
}

QChar trigramOfNature(QChar nature) {
    for (const Trigram& t : kTrigrams)
        if (t.nature == nature.unicode()) return t.name;
    return {};
}

QChar natureOfTrigram(QChar trigram) {
    for (const Trigram& t : kTrigrams)
        if (t.name == trigram.unicode()) return t.nature;
    return {};
}

QString hexagramTag(const QString& name, ArrangementMethod method) {
    QString tag;
    const bool jingfang = method == ArrangementMethod::Jingfang;
    const bool harmony =
        jingfang
            ? listed(name, {u"天地否", u"水泽节", u"山火贲", u"雷地豫", u"火山旅", u"地雷复", u"地天泰", u"泽水困"})
            : listed(name,
                     {u"水火既济", u"火水未济", u"地水师", u"水地比", u"天泽履", u"泽天夬", u"风山渐", u"山风蛊"});
    const bool clash = isDoubled(name) ||
                       (jingfang ? listed(name, {u"雷天大壮", u"天雷无妄"}) : listed(name, {u"地火明夷", u"火地晋"}));
    if (harmony)
        tag += QStringLiteral("(六合)");
    else if (clash)
        tag += QStringLiteral("(六冲)");
    if (listed(name, {u"火天大有", u"水地比", u"泽雷随", u"山风蛊", u"地水师", u"天火同人", u"风山渐", u"雷泽归妹"}))
        tag += QStringLiteral("(归魂)");
    if (listed(name, {u"火地晋", u"水天需", u"泽风大过", u"山雷颐", u"地火明夷", u"天水讼", u"风泽中孚", u"雷山小过"}))
        tag += QStringLiteral("(游魂)");
    return tag;
}

void applyLayout(const QString& layout, Hexagram& lines) {
    int line = -1;
    for (const QString& item : layoutItems(layout)) {
        if (item.size() >= 3) {
            if (++line >= 6) break;
            lines[std::size_t(line)].relative = item.left(2);
            lines[std::size_t(line)].branchElement = item.mid(2, 2);
        } else if (line >= 0 && (item == u"世" || item == u"应")) {
            lines[std::size_t(line)].mark = item.at(0);
        }
    }
}

void layOutHexagram(const DivinationData& data, const QString& name, ArrangementMethod method, Hexagram& lines) {
    if (const auto layout = data.hexagramLayout(name, method)) applyLayout(*layout, lines);
}

QString cleanHexagramName(QString title) {
    auto replaceFirst = [&title](const QString& what, const QString& with) {
        const qsizetype at = title.indexOf(what);
        if (at >= 0) title.replace(at, what.size(), with);
    };
    replaceFirst(QStringLiteral("本卦："), {});
    replaceFirst(QStringLiteral("变卦："), QStringLiteral("之 "));
    replaceFirst(QStringLiteral("主卦："), {});
    return title;
}

int invertedCode(int code) {
    switch (code) {
    case 1: return 2;
    case 2: return 1;
    case 3: return 4;
    case 4: return 3;
    default: return code;
    }
}

}  // namespace chart
