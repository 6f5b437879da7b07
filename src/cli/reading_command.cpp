#include "cli/reading_command.h"

#include <QJsonDocument>

#include "cli/built_chart.h"
#include "cli/chart_invocation.h"
#include "cli/command_parsing.h"
#include "cli/reading_json.h"
#include "language/generated_text.h"
#include "reading/reading.h"

namespace cli {
namespace {

QString positionsText(const QList<int>& positions) {
    if (positions.isEmpty()) return QStringLiteral("无");
    QStringList words;
    for (int p : positions) words << QString::number(p);
    return words.join(u' ');
}

QStringList textLines(const reading::ReadingRequest& request, const reading::UseGodReading& r,
                      const reading::Structure& s, const QList<reading::Spirit>& spirits) {
    QStringList lines;
    lines << QStringLiteral("占类: %1  性别: %2")
                 .arg(request.question.isEmpty() ? QStringLiteral("无") : request.question,
                      request.gender.isEmpty() ? QStringLiteral("无") : request.gender);
    if (const auto& g = r.useGod) {
        QString text = QStringLiteral("用神: %1 来源 %2").arg(g->relative, g->source);
        if (g->source == u"line")
            text +=
                QStringLiteral(" 爻位 %1 取 %2 (%3)").arg(positionsText(g->positions)).arg(*g->chosen).arg(g->reason);
        if (g->hidden)
            text += QStringLiteral(" 伏于 %1 爻 飞神 %2 %3").arg(*g->chosen).arg(g->flyingGod, g->flyingRelation);
        lines << text;
    } else {
        lines << QStringLiteral("用神: 无 (%1)").arg(r.missing);
    }
    if (const auto& g = r.secondGod)
        lines << QStringLiteral("%1: %2 爻位 %3").arg(g->role, g->relative, positionsText(g->positions));
    const std::pair<const char*, const std::optional<reading::GodLines>*> family[] = {
        {"原神", &r.sourceGod}, {"忌神", &r.tabooGod}, {"仇神", &r.enemyGod}};
    for (const auto& [name, god] : family)
        if (*god)
            lines << QStringLiteral("%1: %2 爻位 %3")
                         .arg(QString::fromUtf8(name), (*god)->relative, positionsText((*god)->positions));
    if (!r.timing.isEmpty()) {
        lines << QStringLiteral("应期 (按规则所得的候选日):");
        for (const auto& t : r.timing)
            lines << QStringLiteral("  %1 %2 %3").arg(t.date.toString(Qt::ISODate), t.dayPillar, t.kind);
    }
    lines << QStringLiteral("卦身: %1 爻位 %2").arg(s.bodyBranch, positionsText(s.bodyPositions));
    lines << QStringLiteral("互卦: %1  错卦: %2  综卦: %3").arg(s.mutual, s.opposite, s.reversed);
    lines << QStringLiteral("动静: %1").arg(s.motion);
    for (const auto& g : s.punishments + s.harms)
        lines << QStringLiteral("%1: %2 爻位 %3").arg(g.kind, g.branches.join(QString()), positionsText(g.positions));
    lines << QStringLiteral("回头冲: %1  化空: %2  日破: %3")
                 .arg(positionsText(s.turnClash), positionsText(s.toVoid), positionsText(s.dayBroken));
    for (const auto& spirit : spirits)
        lines << QStringLiteral("%1: %2 爻位 %3")
                     .arg(spirit.name, spirit.branches.join(QString()), positionsText(spirit.positions));
    return lines;
}

}  // namespace

int runReading(const QStringList& args, std::ostream& out, std::ostream& err) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Prints the reading aids of the chart of a case number: the 用神 of the question with its\n"
                       "原神/忌神/仇神 and the candidate dates (应期) by rule, the chart's structure and 神煞."));
    addChartOptions(parser, false);
    const QString question = QStringLiteral("question"), gender = QStringLiteral("gender"),
                  within = QStringLiteral("within");
    parser.addOptions(
        {{question, QStringLiteral("The question type (占类): ") + reading::questionTypes().join(u' '),
          QStringLiteral("占类")},
         {gender, QStringLiteral("The asker's gender, 男 or 女 (needed for 婚姻)."), QStringLiteral("男|女")},
         {within, QStringLiteral("Candidate dates within N days after the cast day, 1..400 (default 60)."),
          QStringLiteral("N")},
         {QStringLiteral("json"), QStringLiteral("The results as JSON.")}});
    if (const auto status = parseCommand(parser, QStringLiteral("reading"), args, 1, out, err)) return *status;
    ChartInvocation call;
    if (const auto problem = readChartInvocation(parser, call)) {
        err << "qinglan-cli reading: " << problem->toStdString() << "\n";
        return 2;
    }
    reading::ReadingRequest request;
    request.question = parser.value(question);
    request.gender = parser.value(gender);
    if (!request.question.isEmpty() && !reading::questionTypes().contains(request.question)) {
        err << "qinglan-cli reading: unknown question type '" << request.question.toStdString()
            << "'; the question types are " << reading::questionTypes().join(u' ').toStdString() << "\n";
        return 2;
    }
    if (!request.gender.isEmpty() && request.gender != u"男" && request.gender != u"女") {
        err << "qinglan-cli reading: unknown gender '" << request.gender.toStdString() << "'; it is 男 or 女\n";
        return 2;
    }
    if (parser.isSet(within)) {
        const std::optional<int> days = numberOption(parser, within, 400);
        if (!days) {
            err << "qinglan-cli reading: --within needs a number of days 1..400\n";
            return 2;
        }
        request.withinDays = *days;
    }
    request.schools = call.schools;  // --school, read with the chart options
    BuiltChart built;
    if (const auto status = buildChart(call, "reading", built, err)) return *status;
    const chart::ChartState& state = built.state;

    const reading::UseGodReading result = reading::readUseGod(state, request);
    const reading::Structure structure = reading::chartStructure(state, request.schools);
    const QList<reading::Spirit> spirits = reading::spiritsOf(state, request.schools);
    if (call.json)
        out << QJsonDocument(readingToJson(request, result, structure, spirits))
                   .toJson(QJsonDocument::Indented)
                   .toStdString();
    else
        out << language::localized(textLines(request, result, structure, spirits), call.language)
                   .join(u'\n')
                   .toStdString()
            << "\n";
    return 0;
}

}  // namespace cli
