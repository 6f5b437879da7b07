#include "analysis/hexagram_relations.h"
#include "chart/elements.h"
#include "reading/chart_facts.h"
#include "reading/reading.h"

namespace reading {
namespace {

// By the day stem, in the order 甲 … 癸.
const QString kSalary = QStringLiteral("寅卯巳午巳午申酉亥子");    // 禄神
const QString kLiterary = QStringLiteral("巳午申酉申酉亥子寅卯");  // 文昌

// By the 三合 group of a branch, whose index mod 4 is 0 申子辰, 1 巳酉丑, 2 寅午戌, 3 亥卯未:
// 驿马 桃花 华盖 劫煞 灾煞.
const QString kGroupSpirits[4] = {QStringLiteral("寅酉辰巳午"), QStringLiteral("亥午丑寅卯"),
                                  QStringLiteral("申卯戌亥子"), QStringLiteral("巳子未申酉")};

// 天喜 by the season of the month branch: 寅卯辰 戌, 巳午未 丑, 申酉戌 辰, 亥子丑 未.
const QString kJoySeasons = QStringLiteral("戌丑辰未");

QString stemTable(const QString& table, int stem) { return stem < 0 ? QString() : QString(table.at(stem)); }

// 羊刃: the branch after the 禄; for a yin stem the one before it, or none, as the school says.
QString bladeOf(int stem, Schools::YinBlade school) {
    if (stem < 0) return {};
    const bool yin = stem % 2 == 1;
    if (yin && school == Schools::YinBlade::None) return {};
    const int step = yin && school == Schools::YinBlade::Backward ? 11 : 1;
    return QString(chart::branchChar((chart::branchIndex(kSalary.at(stem)) + step) % 12));
}

// The report's table (庚辛逢马虎), or 甲戊庚牛羊 where 庚 takes 丑未.
QString nobleOf(QChar stem, Schools::NobleVerse verse) {
    if (verse == Schools::NobleVerse::JiaWuGengNiuYang && stem == u'庚') return QStringLiteral("丑未");
    const QString line = analysis::noblePersonLine(stem);  // "贵人-丑未"
    return line.mid(line.indexOf(u'-') + 1);
}

Spirit spiritOn(const chart::Hexagram& main, const char16_t* name, const QString& branches) {
    return {QString::fromUtf16(name), characters(branches), positionsCarrying(main, branches)};
}

}  // namespace

QList<Spirit> spiritsOf(const chart::ChartState& chart, const Schools& schools) {
    const ChartPillars pillars = chartPillars(chart);
    const int stem = chart::stemIndex(pillars.dayStem);
    const QChar groupBranch = schools.horseFrom == Schools::HorseFrom::Year ? pillars.yearBranch : pillars.dayBranch;
    const int group = chart::branchIndex(groupBranch);
    auto byGroup = [&](int spirit) { return group < 0 ? QString() : QString(kGroupSpirits[group % 4].at(spirit)); };
    const int month = chart::branchIndex(pillars.monthBranch);
    // Seasons begin at 寅 (index 2): 寅卯辰 is season 0.
    const QString joy = month < 0 ? QString() : QString(kJoySeasons.at(((month + 10) % 12) / 3));
    const QString healer = month < 0 ? QString() : QString(chart::branchChar((month + 11) % 12));

    const chart::Hexagram& main = chart.main;
    return {spiritOn(main, u"禄神", stemTable(kSalary, stem)),
            spiritOn(main, u"羊刃", bladeOf(stem, schools.yinBlade)),
            spiritOn(main, u"文昌", stemTable(kLiterary, stem)),
            spiritOn(main, u"贵人", nobleOf(pillars.dayStem, schools.nobleVerse)),
            spiritOn(main, u"驿马", byGroup(0)),
            spiritOn(main, u"桃花", byGroup(1)),
            spiritOn(main, u"华盖", byGroup(2)),
            spiritOn(main, u"劫煞", byGroup(3)),
            spiritOn(main, u"灾煞", byGroup(4)),
            spiritOn(main, u"天喜", joy),
            spiritOn(main, u"天医", healer)};
}

}  // namespace reading
