#include "cli/reading_json.h"

#include <QJsonArray>

namespace cli {
namespace {

QJsonArray numbers(const QList<int>& list) {
    QJsonArray array;
    for (int n : list) array.append(n);
    return array;
}

QJsonValue godLines(const std::optional<reading::GodLines>& god) {
    if (!god) return QJsonValue::Null;
    return QJsonObject{{"relative", god->relative}, {"positions", numbers(god->positions)}};
}

QJsonValue useGodJson(const std::optional<reading::UseGod>& god) {
    if (!god) return QJsonValue::Null;
    QJsonObject o{{"relative", god->relative},
                  {"source", god->source},
                  {"positions", numbers(god->positions)},
                  {"chosen", god->chosen ? QJsonValue(*god->chosen) : QJsonValue::Null},
                  {"hidden", god->hidden},
                  {"reason", god->reason}};
    if (god->hidden) {
        o.insert("flyingGod", god->flyingGod);
        o.insert("flyingRelation", god->flyingRelation);
    }
    return o;
}

QJsonArray groups(const QList<reading::BranchGroup>& list) {
    QJsonArray array;
    for (const reading::BranchGroup& g : list)
        array.append(QJsonObject{{"kind", g.kind},
                                 {"branches", QJsonArray::fromStringList(g.branches)},
                                 {"positions", numbers(g.positions)}});
    return array;
}

QJsonObject structureJson(const reading::Structure& s) {
    return {{"body", QJsonObject{{"branch", s.bodyBranch}, {"positions", numbers(s.bodyPositions)}}},
            {"mutual", s.mutual},
            {"opposite", s.opposite},
            {"reversed", s.reversed},
            {"motion", s.motion},
            {"punishments", groups(s.punishments)},
            {"harms", groups(s.harms)},
            {"turnClash", numbers(s.turnClash)},
            {"toVoid", numbers(s.toVoid)},
            {"dayBroken", numbers(s.dayBroken)}};
}

}  // namespace

QJsonObject readingToJson(const reading::ReadingRequest& request, const reading::UseGodReading& reading,
                          const reading::Structure& structure, const QList<reading::Spirit>& spirits) {
    QJsonValue second = QJsonValue::Null;
    if (reading.secondGod)
        second = QJsonObject{{"relative", reading.secondGod->relative},
                             {"positions", numbers(reading.secondGod->positions)},
                             {"role", reading.secondGod->role}};
    QJsonArray timing;
    for (const reading::TimingCandidate& t : reading.timing)
        timing.append(
            QJsonObject{{"date", t.date.toString(Qt::ISODate)}, {"dayPillar", t.dayPillar}, {"kind", t.kind}});
    QJsonArray spiritArray;
    for (const reading::Spirit& s : spirits)
        spiritArray.append(QJsonObject{{"name", s.name},
                                       {"branches", QJsonArray::fromStringList(s.branches)},
                                       {"positions", numbers(s.positions)}});
    return {{"question", request.question},
            {"gender", request.gender},
            {"useGod", useGodJson(reading.useGod)},
            {"secondGod", second},
            {"sourceGod", godLines(reading.sourceGod)},
            {"tabooGod", godLines(reading.tabooGod)},
            {"enemyGod", godLines(reading.enemyGod)},
            {"timing", timing},
            {"structure", structureJson(structure)},
            {"spirits", spiritArray}};
}

}  // namespace cli
