#include "cli/chart_json.h"

#include <QJsonArray>

#include "chart/cast_pillars.h"

namespace cli {
namespace {

QJsonObject lineToJson(const chart::ChartLine& line) {
    return {{"hexagramName", line.hexagramName},   {"beast", line.beast},
            {"hiddenSpirit", line.hiddenSpirit},   {"relative", line.relative},
            {"branchElement", line.branchElement}, {"code", line.code},
            {"mark", QString(line.mark)},          {"changedLine", line.changedLine}};
}

QJsonArray linesToJson(const chart::Hexagram& lines) {
    QJsonArray array;
    for (const chart::ChartLine& line : lines) array.append(lineToJson(line));
    return array;
}

QString basisName(chart::StrengthBasis basis) {
    switch (basis) {
    case chart::StrengthBasis::MonthDay: return QStringLiteral("月日");
    case chart::StrengthBasis::YearMonth: return QStringLiteral("年月");
    case chart::StrengthBasis::DayHour: return QStringLiteral("日时");
    case chart::StrengthBasis::HourQuarter: return QStringLiteral("时分");
    }
    return {};
}

}  // namespace

QJsonObject chartToJson(const chart::ChartState& s) {
    QJsonArray highlight;
    for (int flag : s.highlight) highlight.append(flag);
    QString stems;
    for (QChar c : s.stemPairs) stems += c;
    QJsonObject out{{"mainLines", linesToJson(s.main)},
            {"changedLines", linesToJson(s.changed)},
            {"castDate", chart::dateText(s.castDate)},
            {"castTime", chart::timeText(s.castTime)},
            {"firstSlot", s.firstSlot},
            {"secondSlot", s.secondSlot},
            {"stemPairs", stems},
            {"voidPair", QString(s.voidPair[0]) + s.voidPair[1]},
            {"highlight", highlight},
            {"method", chart::methodWord(s.method)},
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
        const chart::PillarMoment moment = chart::pillarMomentOf(s);
        out.insert("place", chart::placeText(s.place));
        out.insert("timeRule", chart::timeRuleName(s.place.rule));
        out.insert("beijingTime", chart::dateText(moment.beijingDate) + u'T' + chart::timeText(moment.beijingTime));
        if (moment.trueSolarTime) out.insert("trueSolarTime", chart::timeText(*moment.trueSolarTime));
    }
    return out;
}

}  // namespace cli
