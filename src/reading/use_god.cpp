#include <functional>

#include "analysis/chart_reading.h"
#include "chart/elements.h"
#include "chart/stems.h"
#include "reading/reading.h"

namespace reading {
namespace {

// The relatives in the order each generates the next; each overcomes the one two steps on.
const QStringList kCycle = {QStringLiteral("父母"), QStringLiteral("兄弟"), QStringLiteral("子孙"),
                            QStringLiteral("妻财"), QStringLiteral("官鬼")};

QString relativeSteps(const QString& relative, int steps) {
    const qsizetype i = kCycle.indexOf(relative);
    return i < 0 ? QString() : kCycle.at((i + steps + 5 * 4) % 5);
}

}  // namespace

QString useGodOf(const QString& question, const QString& gender) {
    static const QList<QPair<QString, QStringList>> table = {
        {QStringLiteral("世"), {QStringLiteral("自身"), QStringLiteral("疾病"), QStringLiteral("出行")}},
        {QStringLiteral("应"), {QStringLiteral("他人")}},
        {QStringLiteral("父母"),
         {QStringLiteral("父母"), QStringLiteral("长辈"), QStringLiteral("文书"), QStringLiteral("房屋"),
          QStringLiteral("车辆"), QStringLiteral("消息"), QStringLiteral("考试")}},
        {QStringLiteral("兄弟"), {QStringLiteral("兄弟"), QStringLiteral("朋友"), QStringLiteral("同事")}},
        {QStringLiteral("子孙"),
         {QStringLiteral("子女"), QStringLiteral("晚辈"), QStringLiteral("医药"), QStringLiteral("宠物")}},
        {QStringLiteral("妻财"), {QStringLiteral("求财"), QStringLiteral("失物")}},
        {QStringLiteral("官鬼"), {QStringLiteral("工作"), QStringLiteral("功名"), QStringLiteral("官司")}},
    };
    if (question == u"婚姻") {
        if (gender == u"男") return QStringLiteral("妻财");
        if (gender == u"女") return QStringLiteral("官鬼");
        return {};
    }
    for (const auto& [god, questions] : table)
        if (questions.contains(question)) return god;
    return {};
}

namespace {

int positionOf(int index) { return 6 - index; }
QChar lineBranch(const chart::ChartLine& line) { return analysis::charAt(line.branchElement, 0); }
QChar lineElement(const chart::ChartLine& line) { return analysis::charAt(line.branchElement, 1); }

QList<int> positionsOf(const chart::ChartState& chart, const QString& relative) {
    QList<int> positions;
    for (int p = 1; p <= 6; ++p)
        if (chart.main[6 - p].relative == relative) positions.append(p);
    return positions;
}

std::optional<int> markPosition(const chart::ChartState& chart, QChar mark) {
    for (int i = 0; i < 6; ++i)
        if (chart.main[i].mark == mark) return positionOf(i);
    return std::nullopt;
}

bool isVoid(const chart::ChartState& chart, QChar branch) {
    return branch == chart.voidPair[0] || branch == chart.voidPair[1];
}

// 旺 or 相 by the month: the month branch's element is the line's or generates it.
bool strongByMonth(const chart::ChartState& chart, QChar element) {
    const QChar month = chart::branchElement(analysis::monthBranch(chart));
    return chart::isElement(element) && (month == element || chart::generatedElement(month) == element);
}

// Picks one of several lines carrying the 用神 (用神两现), with the rule that decided.
std::pair<int, QString> chooseAmong(const chart::ChartState& chart, QList<int> candidates, const Schools& schools) {
    using Rule = std::pair<QString, std::function<bool(const chart::ChartLine&)>>;
    const QChar month = analysis::monthBranch(chart), day = analysis::dayBranch(chart);
    const Rule holdsWorld{QStringLiteral("持世"), [](const chart::ChartLine& l) { return l.mark == u'世'; }};
    const Rule monthDay{QStringLiteral("临月日"),
                        [&](const chart::ChartLine& l) { return lineBranch(l) == month || lineBranch(l) == day; }};
    const Rule broken{QStringLiteral("月破"),
                      [&](const chart::ChartLine& l) { return chart::clashPartner(lineBranch(l)) == month; }};
    const Rule empty{QStringLiteral("旬空"), [&](const chart::ChartLine& l) { return isVoid(chart, lineBranch(l)); }};
    const Rule moving{QStringLiteral("发动"), [](const chart::ChartLine& l) { return analysis::isMoving(l); }};
    const Rule strong{QStringLiteral("旺相"),
                      [&](const chart::ChartLine& l) { return strongByMonth(chart, lineElement(l)); }};
    const Rule notBroken{QStringLiteral("月破"), [&](const chart::ChartLine& l) { return !broken.second(l); }};
    const Rule notEmpty{QStringLiteral("旬空"), [&](const chart::ChartLine& l) { return !empty.second(l); }};
    const QList<Rule> rules = schools.multipleUseGods == Schools::MultipleUseGods::Standard
                                  ? QList<Rule>{holdsWorld, monthDay, broken, empty, moving, strong}
                                  : QList<Rule>{strong, moving, notBroken, notEmpty};
    for (const Rule& rule : rules) {
        QList<int> passing;
        for (int p : candidates)
            if (rule.second(chart.main[6 - p])) passing.append(p);
        if (!passing.isEmpty()) candidates = passing;
        if (candidates.size() == 1) return {candidates.first(), rule.first};
    }
    const int world = markPosition(chart, u'世').value_or(1);
    int best = candidates.first();  // ascending, so the lower wins a tie
    for (int p : candidates)
        if (std::abs(p - world) < std::abs(best - world)) best = p;
    return {best, QStringLiteral("近世")};
}

QString flyingRelation(QChar flying, QChar hidden) {
    if (flying == hidden) return QStringLiteral("比和");
    if (chart::generatedElement(flying) == hidden) return QStringLiteral("飞生伏");
    if (chart::controlledElement(flying) == hidden) return QStringLiteral("飞克伏");
    if (chart::generatedElement(hidden) == flying) return QStringLiteral("伏生飞");
    return QStringLiteral("伏克飞");
}

// The 用神 for a relative: the main lines, else the month or day branch, else the hidden spirit.
std::optional<UseGod> findRelative(const chart::ChartState& chart, const QString& relative, const Schools& schools) {
    UseGod god;
    god.relative = relative;
    god.positions = positionsOf(chart, relative);
    if (!god.positions.isEmpty()) {
        god.source = QStringLiteral("line");
        if (god.positions.size() == 1) {
            god.chosen = god.positions.first();
            god.reason = QStringLiteral("独现");
        } else {
            std::tie(god.chosen, god.reason) = chooseAmong(chart, god.positions, schools);
        }
        god.branch = lineBranch(chart.main[6 - *god.chosen]);
        return god;
    }
    const QChar palace = chart::palaceElement(chart, chart.mainDescription);
    const std::pair<QString, QChar> pillars[] = {{QStringLiteral("月建"), analysis::monthBranch(chart)},
                                                 {QStringLiteral("日辰"), analysis::dayBranch(chart)}};
    for (const auto& [source, branch] : pillars) {
        if (chart::relativeOf(chart::branchElement(branch), palace) == relative) {
            god.source = source;
            god.branch = branch;
            return god;
        }
    }
    for (int p = 1; p <= 6; ++p) {
        const chart::ChartLine& flying = chart.main[6 - p];
        if (flying.hiddenSpirit.left(2) != relative) continue;
        god.source = QStringLiteral("伏神");
        god.chosen = p;
        god.hidden = true;
        god.branch = analysis::itemBranch(flying.hiddenSpirit);
        god.flyingGod = analysis::mainItem(flying);
        god.flyingRelation = flyingRelation(lineElement(flying), analysis::itemElement(flying.hiddenSpirit));
        return god;
    }
    return std::nullopt;
}

GodLines godLines(const chart::ChartState& chart, const QString& relative) {
    return {relative, positionsOf(chart, relative)};
}

}  // namespace

QStringList questionTypes() {
    return {QStringLiteral("自身"), QStringLiteral("他人"), QStringLiteral("父母"), QStringLiteral("长辈"),
            QStringLiteral("文书"), QStringLiteral("房屋"), QStringLiteral("车辆"), QStringLiteral("消息"),
            QStringLiteral("考试"), QStringLiteral("兄弟"), QStringLiteral("朋友"), QStringLiteral("同事"),
            QStringLiteral("子女"), QStringLiteral("晚辈"), QStringLiteral("医药"), QStringLiteral("宠物"),
            QStringLiteral("求财"), QStringLiteral("失物"), QStringLiteral("工作"), QStringLiteral("功名"),
            QStringLiteral("官司"), QStringLiteral("疾病"), QStringLiteral("出行"), QStringLiteral("婚姻")};
}

UseGodReading readUseGod(const chart::ChartState& chart, const ReadingRequest& request) {
    UseGodReading reading;
    if (request.question.isEmpty()) {
        reading.missing = QStringLiteral("未选占类");
        return reading;
    }
    const QString target = useGodOf(request.question, request.gender);
    if (target.isEmpty()) {
        reading.missing = request.question == u"婚姻" ? QStringLiteral("占婚姻需要性别（男取妻财，女取官鬼）")
                                                      : QStringLiteral("未知占类：") + request.question;
        return reading;
    }
    QString relative = target;
    if (target == u"世" || target == u"应") {
        const auto position = markPosition(chart, target.at(0));
        if (!position) {
            reading.missing = QStringLiteral("卦中无") + target + QStringLiteral("爻");
            return reading;
        }
        const chart::ChartLine& line = chart.main[6 - *position];
        UseGod god;
        god.relative = target;
        god.source = QStringLiteral("line");
        god.positions = {*position};
        god.chosen = *position;
        god.reason = QStringLiteral("独现");
        god.branch = lineBranch(line);
        reading.useGod = god;
        relative = line.relative;
    } else {
        reading.useGod = findRelative(chart, target, request.schools);
        if (!reading.useGod) {
            reading.missing = QStringLiteral("卦中与伏神皆无") + target;
            return reading;
        }
    }
    if (request.question == u"考试")
        reading.secondGod =
            SecondGod{QStringLiteral("官鬼"), positionsOf(chart, QStringLiteral("官鬼")), QStringLiteral("官职")};
    else if (request.question == u"疾病")
        reading.secondGod =
            SecondGod{QStringLiteral("官鬼"), positionsOf(chart, QStringLiteral("官鬼")), QStringLiteral("病象")};
    if (kCycle.contains(relative)) {
        reading.sourceGod = godLines(chart, relativeSteps(relative, -1));
        reading.tabooGod = godLines(chart, relativeSteps(relative, -2));
        reading.enemyGod = godLines(chart, relativeSteps(relative, -3));
    }
    reading.timing = timingCandidates(chart, *reading.useGod, request);
    return reading;
}

}  // namespace reading
