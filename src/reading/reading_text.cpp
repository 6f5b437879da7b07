#include "reading/reading_text.h"

#include <QRegularExpression>

namespace reading {
namespace {

TextLine plain(const QString& text) { return {text, std::nullopt, false}; }

QString godLine(const QString& role, const std::optional<GodLines>& god) {
    if (!god) return role + QStringLiteral("：—");
    return role + QStringLiteral("：") + god->relative + QStringLiteral(" ") + positionsText(god->positions);
}

// The lines of the 用神 itself; each line of the chart it names can be chosen.
void addUseGod(const UseGod& god, QList<TextLine>& out) {
    if (god.source == QStringLiteral("月建") || god.source == QStringLiteral("日辰")) {
        out.append(plain(QStringLiteral("用神：%1 不上卦，取%2 %3").arg(god.relative, god.source, god.branch)));
        return;
    }
    if (god.hidden) {
        out.append(plain(QStringLiteral("用神：%1 不上卦，取伏神").arg(god.relative)));
        if (god.chosen)
            out.append({QStringLiteral("  %1 伏神%2，飞神 %3，%4")
                            .arg(positionName(*god.chosen), god.branch, god.flyingGod, god.flyingRelation),
                        god.chosen, true});
        return;
    }
    out.append(plain(QStringLiteral("用神：%1（%2）").arg(god.relative, god.reason)));
    for (int p : god.positions)
        out.append({QStringLiteral("  %1%2").arg(positionName(p), god.chosen == p ? QStringLiteral(" ← 取用") : QString()),
                    p, false});
}

}  // namespace

QString positionName(int position) {
    static const QStringList names = {QStringLiteral("初爻"), QStringLiteral("二爻"), QStringLiteral("三爻"),
                                      QStringLiteral("四爻"), QStringLiteral("五爻"), QStringLiteral("上爻")};
    return position >= 1 && position <= 6 ? names[position - 1] : QString();
}

QString positionsText(const QList<int>& positions) {
    if (positions.isEmpty()) return QStringLiteral("不上卦");
    QStringList names;
    for (int p : positions) names << positionName(p);
    return names.join(u'、');
}

QList<TextLine> useGodLines(const UseGodReading& reading) {
    QList<TextLine> out;
    if (!reading.useGod) {
        out.append(plain(QStringLiteral("用神：") + (reading.missing.isEmpty() ? QStringLiteral("未选占类") : reading.missing)));
        return out;
    }
    addUseGod(*reading.useGod, out);
    if (reading.secondGod)
        out.append(plain(QStringLiteral("%1：%2 %3").arg(reading.secondGod->role, reading.secondGod->relative,
                                                   positionsText(reading.secondGod->positions))));
    out.append(plain(godLine(QStringLiteral("原神"), reading.sourceGod)));
    out.append(plain(godLine(QStringLiteral("忌神"), reading.tabooGod)));
    out.append(plain(godLine(QStringLiteral("仇神"), reading.enemyGod)));
    out.append(plain(QString::fromUtf16(kTimingNote)));
    if (reading.timing.isEmpty()) out.append(plain(QStringLiteral("  —")));
    for (const TimingCandidate& t : reading.timing)
        out.append({QStringLiteral("  %1 %2日 %3").arg(t.date.toString(Qt::ISODate), t.dayPillar, t.kind), std::nullopt,
                    false, t.date});
    return out;
}

QStringList structureLines(const Structure& s) {
    QStringList out;
    out << QStringLiteral("卦身：%1 %2").arg(s.bodyBranch, positionsText(s.bodyPositions))
        << QStringLiteral("互：%1  错：%2  综：%3").arg(s.mutual, s.opposite, s.reversed)
        << QStringLiteral("动静：") + s.motion;
    const auto groups = [&out](const QString& title, const QList<BranchGroup>& list) {
        if (list.isEmpty()) {
            out << title + QStringLiteral("：无");
            return;
        }
        for (const BranchGroup& g : list)
            out << QStringLiteral("%1：%2 @ %3").arg(g.kind, g.branches.join(QString()), positionsText(g.positions));
    };
    groups(QStringLiteral("刑"), s.punishments);
    groups(QStringLiteral("害"), s.harms);
    const auto lines = [&out](const QString& title, const QList<int>& positions) {
        out << title + QStringLiteral("：") + (positions.isEmpty() ? QStringLiteral("无") : positionsText(positions));
    };
    lines(QStringLiteral("回头冲"), s.turnClash);
    lines(QStringLiteral("化空"), s.toVoid);
    lines(QStringLiteral("日破"), s.dayBroken);
    return out;
}

QStringList spiritLines(const QList<Spirit>& spirits) {
    QStringList out;
    for (const Spirit& s : spirits)
        out << QStringLiteral("%1：%2 @ %3").arg(s.name, s.branches.join(u'、'), positionsText(s.positions));
    return out;
}

QString genderOfCaseHeader(const QString& header) {
    static const QRegularExpression sex(QStringLiteral("性别:([男女])(?:\\s|$)"));
    const QRegularExpressionMatch m = sex.match(header);
    return m.hasMatch() ? m.captured(1) : QString();
}

}  // namespace reading
