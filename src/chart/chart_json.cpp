#include "chart/chart_json.h"

#include <QJsonArray>

#include "chart/cast_pillars.h"

namespace chart {
namespace {

QJsonObject lineToJson(const ChartLine& line) {
    return {{"hexagramName", line.hexagramName},   {"beast", line.beast},
            {"hiddenSpirit", line.hiddenSpirit},   {"relative", line.relative},
            {"branchElement", line.branchElement}, {"code", line.code},
            {"mark", QString(line.mark)},          {"changedLine", line.changedLine}};
}

QJsonArray linesToJson(const Hexagram& lines) {
    QJsonArray array;
    for (const ChartLine& line : lines) array.append(lineToJson(line));
    return array;
}

QString basisName(StrengthBasis basis) {
    switch (basis) {
    case StrengthBasis::MonthDay: return QStringLiteral("月日");
    case StrengthBasis::YearMonth: return QStringLiteral("年月");
    case StrengthBasis::DayHour: return QStringLiteral("日时");
    case StrengthBasis::HourQuarter: return QStringLiteral("时分");
    }
    return {};
}

}  // namespace

QJsonObject chartToJson(const ChartState& s) {
    QJsonArray highlight;
    for (int flag : s.highlight) highlight.append(flag);
    QString stems;
    for (QChar c : s.stemPairs) stems += c;
    QJsonObject out{{"mainLines", linesToJson(s.main)},
            {"changedLines", linesToJson(s.changed)},
            {"castDate", dateText(s.castDate)},
            {"castTime", timeText(s.castTime)},
            {"firstSlot", s.firstSlot},
            {"secondSlot", s.secondSlot},
            {"stemPairs", stems},
            {"voidPair", QString(s.voidPair[0]) + s.voidPair[1]},
            {"highlight", highlight},
            {"method", methodWord(s.method)},
            {"hiddenSpiritSource", s.hiddenSpiritSource},
            {"strengthBasis", basisName(s.basis)},
            {"pillarLabel", s.pillarLabel},
            {"termText", s.termText},
            {"title", s.title},
            {"mainDescription", s.mainDescription},
            {"changedDescription", s.changedDescription},
            {"monthBranchText", s.monthBranchText},
            {"dayBranchText", s.dayBranchText},
            {"voidText", s.voidText},
            {"caseNumber", s.caseNumber},
            {"hasChanged", s.hasChanged}};
    if (!s.place.isDefault()) {
        const PillarMoment moment = pillarMomentOf(s);
        out.insert("place", placeText(s.place));
        out.insert("timeRule", timeRuleName(s.place.rule));
        out.insert("beijingTime", dateText(moment.beijingDate) + u'T' + timeText(moment.beijingTime));
        if (moment.trueSolarTime) out.insert("trueSolarTime", timeText(*moment.trueSolarTime));
    }
    return out;
}

}  // namespace chart
