// English for generated texts: the glossary file and the sentence templates as they ship, and
// sentences of hand-worked charts written in English by hand.
#include "language/english_text.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSet>

#include "chart/catalogue.h"
#include "language/generated_text.h"
#include "language/glossary.h"
#include "language/sentence_templates.h"
#include "test_support/qt_printers.h"

namespace {

using language::Glossary;
using language::toEnglish;

QString resource(const char* path) {
    QFile file(QString::fromLatin1(path));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QStringList english(std::initializer_list<const char16_t*> lines) {
    QStringList out;
    for (const char16_t* line : lines) out << toEnglish(QString::fromUtf16(line));
    return out;
}

QStringList texts(std::initializer_list<const char16_t*> lines) {
    QStringList out;
    for (const char16_t* line : lines) out << QString::fromUtf16(line);
    return out;
}

TEST(Glossary, FileIsWellFormedAndNamesEveryHexagramOnce) {
    QStringList problems;
    const Glossary g = Glossary::parse(resource(":/language/glossary_en.tsv"), &problems);
    EXPECT_EQ(problems, QStringList());
    ASSERT_EQ(g.termsOf(QStringLiteral("hexagram")).size(), 64);
    QSet<int> numbers;
    QSet<QString> names;
    for (const language::Term& t : g.termsOf(QStringLiteral("hexagram"))) {
        numbers.insert(t.english.section(u' ', 0, 0).toInt());
        names.insert(t.english);
        EXPECT_TRUE(t.english.contains(QStringLiteral(" — "))) << t.english.toStdString();
    }
    EXPECT_EQ(numbers.size(), 64);
    EXPECT_FALSE(numbers.contains(0));
    EXPECT_EQ(names.size(), 64);
    // Every name the chart writes, by its lines.
    const QStringList digits = {u"111"_qs, u"112"_qs, u"121"_qs, u"122"_qs, u"211"_qs, u"212"_qs, u"221"_qs, u"222"_qs};
    for (const QString& upper : digits)
        for (const QString& lower : digits) {
            const QString name = chart::hexagramName(upper + lower);
            EXPECT_FALSE(g.english(QStringLiteral("hexagram"), name).isEmpty()) << name.toStdString();
        }
    // King Wen numbers of a few well-known names.
    EXPECT_EQ(g.english(QStringLiteral("hexagram"), QStringLiteral("乾为天")), QStringLiteral("1 Qián — The Creative"));
    EXPECT_EQ(g.english(QStringLiteral("hexagram"), QStringLiteral("天风姤")).left(7), QStringLiteral("44 Gòu "));
    EXPECT_EQ(g.english(QStringLiteral("hexagram"), QStringLiteral("火水未济")).left(3), QStringLiteral("64 "));
    EXPECT_EQ(g.english(QStringLiteral("hexagram"), QStringLiteral("水雷屯")).left(2), QStringLiteral("3 "));
    EXPECT_EQ(g.termsOf(QStringLiteral("stem")).size(), 10);
    EXPECT_EQ(g.termsOf(QStringLiteral("branch")).size(), 12);
    EXPECT_EQ(g.termsOf(QStringLiteral("stage")).size(), 12);
    EXPECT_EQ(g.termsOf(QStringLiteral("solar_term")).size(), 24);
}

TEST(Glossary, RefusesRepeatsAndEmptyEnglish) {
    QStringList problems;
    const Glossary g = Glossary::parse(u"# c\nbranch\t子\tZǐ\nbranch\t子\tZi\nbranch\t丑\t \nstem\n"_qs, &problems);
    EXPECT_EQ(problems.size(), 3);
    EXPECT_EQ(g.english(u"branch"_qs, u"子"_qs), u"Zǐ"_qs);
    EXPECT_EQ(g.termsOf(u"branch"_qs).size(), 1);
}

TEST(SentenceTemplates, ShippedFileKnowsEverySlotAndWord) {
    QStringList problems;
    language::SentenceTemplates::parse(resource(":/language/sentences_en.tsv"), Glossary::shipped(), &problems);
    EXPECT_EQ(problems, QStringList());
    language::SentenceTemplates::parse(u"line\t{nosuchkind}冲\tx\nline\t冲\t[没有]\n"_qs, Glossary::shipped(),
                                       &problems);
    EXPECT_EQ(problems.size(), 2);
}

// 乾为天 with lines 5, 3 and 1 moving, cast 2024-02-04 17:00 (丙寅月 戊戌日): the whole-chart
// report of tests/analysis/report_test.cpp, as a reader of English expects it.
TEST(EnglishText, WholeChartReportOfThreeMovingLines) {
    EXPECT_EQ(english({
                  u"驿马-申 桃花-卯",
                  u"贵人-丑未",
                  u"主卦六冲",
                  u"   申子辰合水局(1,3半合)2024-02-14戊申成局 2024年9月壬申成局",
                  u"申子辰合水局(3个动或暗动爻合局)午冲子2024-02-12丙午 午冲子2024年7月庚午",
                  u"   ",
                  u"第1爻：子孙子水 月建 12宫 (病)",
                  u"第1爻：子孙子水 日建 12宫 (冠带)",
                  u"动变 12宫 (病)",
                  u"第1爻变爻：妻财寅木 月建 12宫 (临官)",
                  u"应第3爻：父母辰土 日建 12宫 (冠带)",
                  u"世第6爻：父母戌土 月建 12宫 (病)",
                  u"第2爻伏神：妻财寅木 月建 12宫 (临官)",
                  u"伏飞 12宫 (长生)",
                  u"妻财寅木 得气",
              }),
              texts({
                  u"Travelling Horse: Shēn  Peach Blossom: Mǎo",
                  u"Nobleman: Chǒu, Wèi",
                  u"Main hexagram: Six Clash",
                  u"   Shēn, Zǐ, Chén combine into a Water frame (lines 1 and 3, half combination): completes the "
                  u"frame on 2024-02-14 (Wù-Shēn day); completes the frame in month 9 of 2024 (Rén-Shēn month)",
                  u"Shēn, Zǐ, Chén combine into a Water frame (three moving or hidden-moving lines complete it): Wǔ "
                  u"clashes Zǐ on 2024-02-12 (Bǐng-Wǔ day); Wǔ clashes Zǐ in month 7 of 2024 (Gēng-Wǔ month)",
                  u"   ",
                  u"Line 1: Offspring Zǐ Water — stage at the month: Sickness",
                  u"Line 1: Offspring Zǐ Water — stage at the day: Cap and Belt",
                  u"Moving to changed — stage: Sickness",
                  u"Line 1, Changed Line: Wealth Yín Wood — stage at the month: Official Post",
                  u"Other, line 3: Parents Chén Earth — stage at the day: Cap and Belt",
                  u"Self, line 6: Parents Xū Earth — stage at the month: Sickness",
                  u"Line 2, Hidden Spirit: Wealth Yín Wood — stage at the month: Official Post",
                  u"Hidden under flying — stage: Birth",
                  u"Wealth Yín Wood gains the season's qi",
              }));
}

// Item mode on the hidden 妻财寅木 of 天风姤 (report_test.cpp), and the relations of the other
// items.
TEST(EnglishText, ItemModeRelations) {
    EXPECT_EQ(english({u"寅申冲", u"木绝于申", u"木死于午", u"寅亥合", u"木长生于亥", u"金绝于月寅",
                       u"*******************************", u"只分析主卦"}),
              texts({u"Yín clashes Shēn", u"Wood is cut off at Shēn", u"Wood dies at Wǔ", u"Yín combines with Hài",
                     u"Wood is born at Hài", u"Metal is cut off at the month's Yín", u"*******************************",
                     u"Only the main hexagram is analysed."}));
}

// The reading aids of tests/reading/reading_text_test.cpp: 用神 on two lines with its family
// and two candidate dates, the structure and two spirits.
TEST(EnglishText, ReadingAids) {
    EXPECT_EQ(
        english({u"用神：妻财（发动）", u"  二爻", u"  五爻 ← 取用", u"原神：子孙 四爻", u"忌神：兄弟 不上卦",
                 u"仇神：父母 初爻、上爻", u"应期（按规则推出的候选日期，仅供参考）", u"  2026-09-30 甲寅日 值",
                 u"  2026-10-03 丁巳日 合", u"  二爻 伏神寅，飞神 子孙亥水，飞生伏", u"用神：官鬼 不上卦，取月建 申",
                 u"卦身：卯 四爻", u"互：地雷复  错：泽火革  综：水雷屯", u"动静：独发", u"子卯刑：子卯 @ 初爻、四爻",
                 u"害：无", u"日破：三爻", u"贵人：丑、未 @ 不上卦"}),
        texts({u"Use God: Wealth (moving)", u"  line 2", u"  line 5 ← taken", u"Source God: Offspring, line 4",
               u"Taboo God: Siblings, not in the chart", u"Enemy God: Parents, lines 1, 6",
               u"Timing (candidate dates by rule, for reference only)", u"  2026-09-30 Jiǎ-Yín day: on its branch",
               u"  2026-10-03 Dīng-Sì day: combined",
               u"  line 2: Hidden Spirit Yín, Flying Spirit Offspring Hài Water, flying generates hidden",
               u"Use God: Officer, not in the chart; taken from the month branch, Shēn", u"Hexagram Body: Mǎo, line 4",
               u"Mutual: 24 Fù — Return   Opposite: 49 Gé — Revolution   Reversed: 3 Zhūn — Difficulty at the "
               u"Beginning",
               u"Motion: one line moves", u"Zǐ-Mǎo Punishment: Zǐ, Mǎo @ lines 1, 4", u"Harms: none",
               u"Day Break: line 3", u"Nobleman: Chǒu, Wèi @ not in the chart"}));
}

// The text copy of 天风姤 changing to 乾为天 under 藏山卜 (the header lines and two rows).
TEST(EnglishText, TextCopyLinesKeepTheirTabsAndBlanks) {
    EXPECT_EQ(
        english({u"卦例ID=20240204111114藏山卜T:09:05:00 藏山卜", u"主卦：天风姤 变卦：乾为天(六冲)",
                 u"乾宫属金 一世卦 序数:1 方位:西北       乾宫属金 本宫卦 序数:1 方位:西北",
                 u"乾宫属金 一世卦 序数:1 方位:西北       ", u"六兽\t伏神\t  六亲纳支  世应 爻像    变爻",
                 u"白虎\t \t  父母戌土  应\t一\t", u"青龙\t妻财寅木  子孙亥水   \tx\t兄弟申金",
                 u"甲午旬内(辰巳空) 2024-02-13 出空", u"甲戌旬（申酉空）",
                 u"甲辰年 丙寅月 戊戌日(辰巳空) 2024-02-04 16:24:00 真太阳时 2024-02-03 23:58（时辰:壬申 刻:甲子）"}),
        texts({u"Case ID=20240204111114ZangshanT:09:05:00 Zangshan method",
               u"Main hexagram: 44 Gòu — Coming to Meet   Changed hexagram: 1 Qián — The Creative (Six Clash)",
               u"Qián palace (Metal), first generation; ordinal 1, northwest       Qián palace (Metal), pure "
               u"palace; ordinal 1, northwest",
               u"Qián palace (Metal), first generation; ordinal 1, northwest       ",
               u"Beast\tHidden\t  Relative  S/O  Line    Changed", u"White Tiger\t \t  Parents Xū Earth  Other\t—\t",
               u"Azure Dragon\tWealth Yín Wood  Offspring Hài Water   \tx\tSiblings Shēn Metal",
               u"Jiǎ-Wǔ ten-day week (void: Chén, Sì), leaves the Void on 2024-02-13",
               u"Jiǎ-Xū ten-day week (void: Shēn, Yǒu)",
               u"Jiǎ-Chén year, Bǐng-Yín month, Wù-Xū day (void: Chén, Sì) 2024-02-04 16:24:00 true solar time "
               u"2024-02-03 23:58 (hour: Rén-Shēn, quarter: Jiǎ-Zǐ)"}));
}

// The command line's reading text of the same kind of results, the calendar's rows, the window's
// pillar and term labels, the chart's case line (the user's own words stay as written).
TEST(EnglishText, CommandLineCalendarAndLabels) {
    EXPECT_EQ(
        english({u"占类: 求财  性别: 无", u"用神: 妻财 来源 line 爻位 2 5 取 5 (发动)",
                 u"用神: 妻财 来源 伏神 伏于 2 爻 飞神 子孙亥水 飞生伏", u"用神: 无 (未选占类)", u"忌神: 兄弟 爻位 无",
                 u"回头冲: 无  化空: 3  日破: 1 6", u"贵人: 丑未 爻位 无",
                 u"4号 丙寅月 戊戌日 星期日 十二月廿五 立春16:25", u"5号 丙寅月 己亥日 星期一 (闰)四月十五",
                 u"2月 乙丑月-丙寅月", u"1984年 甲子", u"甲辰(年)", u"丙寅月", u"阳水", u"立春16:5天",
                 u"性别:女 出生:1990 占事:问工作", u"2024-02-04 本卦：天风姤 变卦：乾为天"}),
        texts({u"Question: seeking wealth  Gender: none", u"Use God: Wealth from a line, lines 2 5, taken 5 (moving)",
               u"Use God: Wealth from the Hidden Spirit, hidden under line 2, Flying Spirit Offspring Hài Water, "
               u"flying generates hidden",
               u"Use God: none (no question type chosen)", u"Taboo God: Siblings, lines none",
               u"Return Clash: none   Changes into Void: 3   Day Break: 1 6", u"Nobleman: Chǒu, Wèi, lines none",
               u"Day 4: Bǐng-Yín month, Wù-Xū day, Sunday, 12th month, day 25, Start of Spring 16:25",
               u"Day 5: Bǐng-Yín month, Jǐ-Hài day, Monday, leap 4th month, day 15",
               u"Month 2: Yǐ-Chǒu month – Bǐng-Yín month", u"1984 Jiǎ-Zǐ", u"Jiǎ-Chén (year)", u"Bǐng-Yín month",
               u"Yang Water", u"Start of Spring 16:5 (ephemeris)", u"Gender: female  Born: 1990  Matter: 问工作",
               u"2024-02-04 Main: 44 Gòu, changed: 1 Qián"}));
}

// Pieces of the chart drawing: the glossary's words, full or compact, one after another.
TEST(EnglishText, DrawingWords) {
    using language::WordForm;
    EXPECT_EQ(language::toEnglishWords(u"螣蛇"_qs), u"Flying Serpent"_qs);
    EXPECT_EQ(language::toEnglishWords(u"子水"_qs), u"Zǐ Water"_qs);
    EXPECT_EQ(language::toEnglishWords(u"天风姤(归魂)"_qs, WordForm::Compact), u"44 Gòu (Return)"_qs);
    EXPECT_EQ(language::toEnglishWords(u"旺月破日冲"_qs, WordForm::Compact), u"Prosp. M-break D-clash"_qs);
    EXPECT_EQ(language::toEnglishWords(u"死日合"_qs), u"Dead Day Combination"_qs);
    EXPECT_EQ(language::toEnglishWords(u"冲实"_qs), u"Clashed Full"_qs);
}

TEST(EnglishText, UnknownLinesStayAndLineBreaksAreKept) {
    EXPECT_EQ(toEnglish(u"这一行没有模板\r\n贵人-丑未\n"_qs), u"这一行没有模板\r\nNobleman: Chǒu, Wèi\n"_qs);
    EXPECT_EQ(toEnglish(QString()), QString());
    EXPECT_EQ(language::localized(u"贵人-丑未"_qs, language::Language::English), u"Nobleman: Chǒu, Wèi"_qs);
    EXPECT_EQ(language::localized(u"贵人-丑未"_qs, language::Language::SimplifiedChinese), u"贵人-丑未"_qs);
}

}  // namespace
