#include "chart/stems.h"

#include "chart/catalogue.h"
#include "chart/elements.h"

namespace chart {
namespace {

// Trigram order 乾 坤 震 巽 坎 离 艮 兑.
const QString kTrigramOrder = QStringLiteral("乾坤震巽坎离艮兑");
const QString kInnerStems = QStringLiteral("甲乙庚辛戊己丙丁");
const QString kOuterStems = QStringLiteral("壬癸庚辛戊己丙丁");

// Nature order 天 地 雷 风 水 火 山 泽; three stems each.
const QString kNatureOrder = QStringLiteral("天地雷风水火山泽");
const QString kZangshanOuter = QStringLiteral("庚丙戊己辛癸乙癸辛癸乙丁丙戊甲辛癸乙戊甲壬丁己辛");
const QString kZangshanInner = QStringLiteral("甲壬庚乙丁己己丁乙己辛癸壬庚丙丁己辛庚丙戊癸乙丁");

}  // namespace

QString jingfangStems(const QString& name) {
    const QString key = keyOfHexagram(name);
    if (key.isEmpty()) return QStringLiteral("  ");
    const int upper = kTrigramOrder.indexOf(trigramName(key.left(3)));
    const int lower = kTrigramOrder.indexOf(trigramName(key.mid(3)));
    return QString(kOuterStems.at(upper)) + kInnerStems.at(lower);
}

QString zangshanStems(const QString& name) {
    if (name.size() <= 2) return QStringLiteral("此卦名称不对");
    QChar outer = name.at(0), inner = name.at(1);
    if (kNatureOrder.indexOf(outer) < 0) outer = inner = name.at(2);
    const int o = kNatureOrder.indexOf(outer);
    const int i = kNatureOrder.indexOf(inner);
    if (o < 0 || i < 0) return QStringLiteral("此卦名称不对");
    return kZangshanOuter.mid(3 * o, 3) + kZangshanInner.mid(3 * i, 3);
}

void storeStemPair(ChartState& state, const QString& name, int pair) {
    const QString stems = jingfangStems(name);
    const std::size_t at = std::size_t(2 * (pair - 1));
    state.stemPairs[at] = stems.at(0);
    state.stemPairs[at + 1] = stems.at(1);
}

QChar zangshanPalaceElement(const Hexagram& lines) {
    QChar found;
    for (const ChartLine& line : lines)
        if (line.relative == u"兄弟" && line.branchElement.size() >= 2) found = line.branchElement.at(1);
    if (!found.isNull()) return found;
    const QString& r = lines[0].relative;
    const QChar e = lines[0].branchElement.size() >= 2 ? lines[0].branchElement.at(1) : QChar(u' ');
    if (r == u"父母") return generatedElement(e);
    if (r == u"官鬼") return controlledElement(e);
    if (r == u"妻财") return controllingElement(e);
    if (r == u"子孙") return generatingElement(e);
    return u' ';
}

QChar palaceElement(const ChartState& state, const QString& mainDescription) {
    if (state.method == ArrangementMethod::Zangshan) return zangshanPalaceElement(state.main);
    return mainDescription.size() >= 4 ? mainDescription.at(3) : QChar(u' ');
}

}  // namespace chart
