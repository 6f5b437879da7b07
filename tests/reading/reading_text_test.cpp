// The reading assistant's results as the panel lists them, from results built by hand.
#include "reading/reading_text.h"

#include <gtest/gtest.h>

#include "test_support/qt_printers.h"

namespace {

using reading::TextLine;

QStringList texts(const QList<TextLine>& lines) {
    QStringList out;
    for (const TextLine& l : lines) out << l.text;
    return out;
}

const QString kNote = QString::fromUtf16(reading::kTimingNote);

}  // namespace

TEST(ReadingText, PositionsByName) {
    EXPECT_EQ(reading::positionsText({1, 3, 6}), QStringLiteral("初爻、三爻、上爻"));
    EXPECT_EQ(reading::positionsText({}), QStringLiteral("不上卦"));
    EXPECT_EQ(reading::positionName(0), QString());
    EXPECT_EQ(reading::positionName(7), QString());
}

// 用神两现: both lines listed, each can be chosen, the one taken marked; the family and the dates
// under their note.
TEST(ReadingText, UseGodOnTwoLinesWithFamilyAndDates) {
    reading::UseGodReading r;
    r.useGod = reading::UseGod{QStringLiteral("妻财"), QStringLiteral("line"), {2, 5}, 5, false, QStringLiteral("发动"),
                               {}, {}, QStringLiteral("寅")};
    r.sourceGod = reading::GodLines{QStringLiteral("子孙"), {4}};
    r.tabooGod = reading::GodLines{QStringLiteral("兄弟"), {}};
    r.enemyGod = reading::GodLines{QStringLiteral("父母"), {1, 6}};
    r.timing = {{QDate(2026, 9, 30), QStringLiteral("甲寅"), QStringLiteral("值")},
                {QDate(2026, 10, 3), QStringLiteral("丁巳"), QStringLiteral("合")}};
    const QList<TextLine> lines = reading::useGodLines(r);
    EXPECT_EQ(texts(lines), (QStringList{QStringLiteral("用神：妻财（发动）"), QStringLiteral("  二爻"),
                                         QStringLiteral("  五爻 ← 取用"), QStringLiteral("原神：子孙 四爻"),
                                         QStringLiteral("忌神：兄弟 不上卦"), QStringLiteral("仇神：父母 初爻、上爻"), kNote,
                                         QStringLiteral("  2026-09-30 甲寅日 值"),
                                         QStringLiteral("  2026-10-03 丁巳日 合")}));
    ASSERT_EQ(lines.size(), 9);
    EXPECT_EQ(lines[1].position, 2);
    EXPECT_EQ(lines[2].position, 5);
    for (int i : {0, 3, 4, 5, 6, 7}) EXPECT_FALSE(lines[std::size_t(i)].position) << i;
}

TEST(ReadingText, HiddenMonthAndMissingUseGods) {
    reading::UseGodReading hidden;
    hidden.useGod = reading::UseGod{QStringLiteral("妻财"), QStringLiteral("伏神"), {}, 2, true, {},
                                    QStringLiteral("子孙亥水"), QStringLiteral("飞生伏"), QStringLiteral("寅")};
    const QList<TextLine> h = reading::useGodLines(hidden);
    ASSERT_GE(h.size(), 2);
    EXPECT_EQ(h[1].text, QStringLiteral("  二爻 伏神寅，飞神 子孙亥水，飞生伏"));
    EXPECT_EQ(h[1].position, 2);
    EXPECT_TRUE(h[1].hidden);
    EXPECT_TRUE(texts(h).contains(QStringLiteral("原神：—")));  // no family given
    EXPECT_TRUE(texts(h).contains(QStringLiteral("  —")));      // no dates

    reading::UseGodReading month;
    month.useGod = reading::UseGod{QStringLiteral("官鬼"), QStringLiteral("月建"), {}, std::nullopt, false, {}, {}, {},
                                   QStringLiteral("申")};
    month.secondGod = reading::SecondGod{QStringLiteral("官鬼"), {3}, QStringLiteral("病象")};
    const QList<TextLine> m = reading::useGodLines(month);
    EXPECT_EQ(m[0].text, QStringLiteral("用神：官鬼 不上卦，取月建 申"));
    EXPECT_EQ(m[1].text, QStringLiteral("病象：官鬼 三爻"));

    reading::UseGodReading none;
    none.missing = QStringLiteral("婚姻须知性别");
    EXPECT_EQ(texts(reading::useGodLines(none)), QStringList{QStringLiteral("用神：婚姻须知性别")});
}

TEST(ReadingText, StructureAndSpirits) {
    reading::Structure s;
    s.bodyBranch = QStringLiteral("卯");
    s.bodyPositions = {4};
    s.mutual = QStringLiteral("地雷复");
    s.opposite = QStringLiteral("泽火革");
    s.reversed = QStringLiteral("水雷屯");
    s.motion = QStringLiteral("独发");
    s.punishments = {{QStringLiteral("子卯刑"), {QStringLiteral("子"), QStringLiteral("卯")}, {1, 4}}};
    s.dayBroken = {3};
    EXPECT_EQ(reading::structureLines(s),
              (QStringList{QStringLiteral("卦身：卯 四爻"), QStringLiteral("互：地雷复  错：泽火革  综：水雷屯"),
                           QStringLiteral("动静：独发"), QStringLiteral("子卯刑：子卯 @ 初爻、四爻"),
                           QStringLiteral("害：无"), QStringLiteral("回头冲：无"), QStringLiteral("化空：无"),
                           QStringLiteral("日破：三爻")}));
    EXPECT_EQ(reading::spiritLines({{QStringLiteral("禄神"), {QStringLiteral("寅")}, {2}},
                                    {QStringLiteral("贵人"), {QStringLiteral("丑"), QStringLiteral("未")}, {}}}),
              (QStringList{QStringLiteral("禄神：寅 @ 二爻"), QStringLiteral("贵人：丑、未 @ 不上卦")}));
}

TEST(ReadingText, GenderOfTheCaseLine) {
    EXPECT_EQ(reading::genderOfCaseHeader(QStringLiteral("性别:男 出生:1980 占事:求职")), QStringLiteral("男"));
    EXPECT_EQ(reading::genderOfCaseHeader(QStringLiteral("性别:女 出生: 占事")), QStringLiteral("女"));
    EXPECT_EQ(reading::genderOfCaseHeader(QStringLiteral("性别:未知 出生: 占事:x")), QString());
    EXPECT_EQ(reading::genderOfCaseHeader(QString()), QString());
}
