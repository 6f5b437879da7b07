#pragma once
// What the reading assistant finds in a chart. Positions count 1 = 初爻 … 6 = 上爻 and refer to the
// main hexagram; lists of positions are ascending.
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "chart/chart_state.h"
#include "reading/schools.h"

namespace reading {

// The question types (占类) in the order the casting dialog lists them.
QStringList questionTypes();
// The question's 用神 as it names it: a relative, 世 or 应 (gender 男 or 女 decides 婚姻); empty
// for 婚姻 without a gender, an empty or unknown type. Needs no chart.
QString useGodOf(const QString& question, const QString& gender);

struct ReadingRequest {
    QString question;  // a question type, or empty
    QString gender;    // 男, 女 or empty
    int withinDays = 60;
    Schools schools;
};

struct GodLines {
    QString relative;      // 父母 兄弟 子孙 妻财 官鬼
    QList<int> positions;  // the main lines carrying it
};

struct UseGod {
    QString relative;           // a relative, or 世 / 应
    QString source;             // line, 月建, 日辰 or 伏神
    QList<int> positions;       // the main lines carrying it (source line only)
    std::optional<int> chosen;  // the position chosen; none for 月建 / 日辰
    bool hidden = false;        // a 伏神
    QString reason;             // 独现 持世 临月日 月破 旬空 发动 旺相 近世 (source line)
    QString flyingGod;          // 伏神: the main line at its position, e.g. 子孙亥水
    QString flyingRelation;     // 伏神: 飞生伏 飞克伏 伏生飞 伏克飞 比和
    QString branch;             // the branch the dates are counted from
};

struct SecondGod {
    QString relative;
    QList<int> positions;
    QString role;  // 官职 (考试), 病象 (疾病)
};

struct TimingCandidate {
    QDate date;
    QString dayPillar;  // e.g. 甲子
    QString kind;       // 值 合 冲 冲空 填实 冲墓 长生
};

struct UseGodReading {
    std::optional<UseGod> useGod;  // none without a question type, or 婚姻 without a gender
    QString missing;               // why there is no 用神 (e.g. the gender is needed); empty otherwise
    std::optional<SecondGod> secondGod;
    std::optional<GodLines> sourceGod, tabooGod, enemyGod;  // 原神 忌神 仇神
    QList<TimingCandidate> timing;
};

struct BranchGroup {
    QString kind;          // e.g. 子卯刑, 辰自刑, 子未害
    QStringList branches;  // the branches of the group
    QList<int> positions;  // the main lines carrying them
};

struct Structure {
    QString bodyBranch;  // 卦身
    QList<int> bodyPositions;
    QString mutual, opposite, reversed;  // 互 错 综, full names
    QString motion;                      // 静 独发 多爻动 独静 全动
    QList<BranchGroup> punishments, harms;
    QList<int> turnClash, toVoid, dayBroken;
};

struct Spirit {
    QString name;          // 禄神 羊刃 文昌 贵人 驿马 桃花 华盖 劫煞 灾煞 天喜 天医
    QStringList branches;  // the branches it falls on
    QList<int> positions;  // the main lines carrying them
};

// The 用神 of the question, its family and the candidate dates (within request.withinDays days
// after the cast day, under the chart's calendar source).
UseGodReading readUseGod(const chart::ChartState& chart, const ReadingRequest& request);
// The candidate dates for the chosen 用神 alone.
QList<TimingCandidate> timingCandidates(const chart::ChartState& chart, const UseGod& useGod,
                                        const ReadingRequest& request);
// The chart's structure.
Structure chartStructure(const chart::ChartState& chart, const Schools& schools);
// The 神煞, in the order 禄神 羊刃 文昌 贵人 驿马 桃花 华盖 劫煞 灾煞 天喜 天医.
QList<Spirit> spiritsOf(const chart::ChartState& chart, const Schools& schools);

}  // namespace reading
