// 繁體 of the field's terms as the classical texts and each region write them: OpenCC's common
// conversions and the field's own characters (丑, 沖, 剋, 咸, 占, 干) where OpenCC's differ.
#include <gtest/gtest.h>

#include "language/generated_text.h"
#include "language/traditional_text.h"
#include "test_support/qt_printers.h"

namespace {

using language::Language;

struct Term {
    const char16_t* simplified;
    const char16_t* taiwan;
    const char16_t* hongKong;  // nullptr: as in Taiwan
};

const Term kTerms[] = {
    // 地支 丑 is never 醜.
    {u"父母丑土", u"父母丑土", nullptr},
    {u"甲寅旬（子丑空）", u"甲寅旬（子丑空）", nullptr},
    {u"巳酉丑合金局", u"巳酉丑合金局", nullptr},
    {u"辰戌丑未自合土局", u"辰戌丑未自合土局", nullptr},
    {u"己丑年 丑时", u"己丑年 丑時", nullptr},
    // Every clash is 沖.
    {u"六冲", u"六沖", nullptr},
    {u"日冲 月冲 暗冲", u"日沖 月沖 暗沖", nullptr},
    {u"回头冲", u"回頭沖", nullptr},
    {u"冲开 冲空 冲实", u"沖開 沖空 沖實", nullptr},
    {u"主卦：乾为天(六冲) 变卦：泽天夬", u"主卦：乾為天(六沖) 變卦：澤天夬", nullptr},
    // Overcoming is 剋.
    {u"生克", u"生剋", nullptr},
    {u"回头克 回头生", u"回頭剋 回頭生", nullptr},
    {u"伏克飞 飞克伏 伏生飞", u"伏剋飛 飛剋伏 伏生飛", nullptr},
    {u"相克", u"相剋", nullptr},
    // 咸 the hexagram and the spirit, 占 to divine, 干 the stems.
    {u"泽山咸", u"澤山咸", nullptr},
    {u"咸池", u"咸池", nullptr},
    {u"占类 占事", u"占類 占事", nullptr},
    {u"年干 日干 天干地支", u"年干 日干 天干地支", nullptr},
    // Hexagrams, palaces, relatives, beasts.
    {u"乾为天 地雷复 雷火丰 山水蒙 火地晋 地风升 水火既济", u"乾為天 地雷復 雷火豐 山水蒙 火地晉 地風升 水火既濟",
     nullptr},
    {u"乾宫属金 归魂卦", u"乾宮屬金 歸魂卦", nullptr},
    {u"兑为泽", u"兌為澤", u"兑為澤"},  // Hong Kong's standard form of 兌 is 兑
    {u"父母 兄弟 官鬼 妻财 子孙", u"父母 兄弟 官鬼 妻財 子孫", nullptr},
    {u"青龙 朱雀 勾陈 螣蛇 白虎 玄武", u"青龍 朱雀 勾陳 螣蛇 白虎 玄武", nullptr},
    // The twelve stages and the analysis's words.
    {u"长生 沐浴 冠带 临官 帝旺 衰 病 死 墓 绝 胎 养", u"長生 沐浴 冠帶 臨官 帝旺 衰 病 死 墓 絕 胎 養", nullptr},
    {u"长生于申 入墓于辰", u"長生於申 入墓於辰", nullptr},
    {u"旬空 月破 日破 暗动 进神 退神 伏吟 反吟", u"旬空 月破 日破 暗動 進神 退神 伏吟 反吟", nullptr},
    {u"世应 用神 原神 忌神 仇神 飞神 伏神 应期", u"世應 用神 原神 忌神 仇神 飛神 伏神 應期", nullptr},
    {u"驿马 桃花 华盖 劫煞 灾煞 天医 禄神 贵人", u"驛馬 桃花 華蓋 劫煞 災煞 天醫 祿神 貴人", nullptr},
    // Solar terms, lunar months, the calendars.
    {u"惊蛰 谷雨 小满 芒种 处暑", u"驚蟄 穀雨 小滿 芒種 處暑", nullptr},
    {u"闰四月 腊月 正月初一 十二月廿五", u"閏四月 臘月 正月初一 十二月廿五", nullptr},
    {u"农历 公历", u"農曆 公曆", nullptr},
    {u"后天 先天 京房式 藏山卜", u"後天 先天 京房式 藏山卜", nullptr},
    // A row of the text copy: tabs and blanks stay where they are.
    {u"朱雀\t \t  父母戌土  世\to\t父母未土", u"朱雀\t \t  父母戌土  世\to\t父母未土", nullptr},
};

TEST(TraditionalText, FieldTermsAsEachRegionWritesThem) {
    for (const Term& t : kTerms) {
        const QString simplified = QString::fromUtf16(t.simplified);
        const QString taiwan = QString::fromUtf16(t.taiwan);
        const QString hongKong = QString::fromUtf16(t.hongKong ? t.hongKong : t.taiwan);
        EXPECT_EQ(language::toTraditional(simplified, Language::TraditionalTaiwan), taiwan);
        EXPECT_EQ(language::toTraditional(simplified, Language::TraditionalHongKong), hongKong);
        // Converted once is converted for good: no 简体 character is left for a second pass.
        EXPECT_EQ(language::toTraditional(taiwan, Language::TraditionalTaiwan), taiwan);
        EXPECT_EQ(language::toTraditional(hongKong, Language::TraditionalHongKong), hongKong);
    }
}

TEST(TraditionalText, OtherLanguagesAndEmptyTextsPassUnchanged) {
    const QString text = QStringLiteral("父母丑土");
    EXPECT_EQ(language::toTraditional(text, Language::SimplifiedChinese), text);
    EXPECT_EQ(language::toTraditional(text, Language::English), text);
    EXPECT_EQ(language::toTraditional(QString(), Language::TraditionalTaiwan), QString());
    EXPECT_EQ(language::localized(text, Language::SimplifiedChinese), text);
    EXPECT_EQ(language::localized(text, Language::TraditionalTaiwan), QStringLiteral("父母丑土"));
}

// The user's own texts inside a generated line stay as typed; the rest is converted.
TEST(TraditionalText, KeptPiecesStayAsTyped) {
    const QString typed = QStringLiteral("问财运冲克");
    const QString line = QStringLiteral("事由：") + typed + QStringLiteral(" 主卦六冲，") + typed;
    EXPECT_EQ(language::localizedKeeping(line, {typed}, Language::TraditionalTaiwan),
              QStringLiteral("事由：") + typed + QStringLiteral(" 主卦六沖，") + typed);
    EXPECT_EQ(language::localizedKeeping(line, {typed}, Language::SimplifiedChinese), line);
    // Of two kept texts starting at one place the longer is kept whole.
    EXPECT_EQ(
        language::localizedKeeping(QStringLiteral("卦例ID=丑冲年 冲"), {QStringLiteral("丑"), QStringLiteral("丑冲年")},
                                   Language::TraditionalHongKong),
        QStringLiteral("卦例ID=丑冲年 沖"));
    EXPECT_EQ(language::localizedKeeping(QStringLiteral("六冲"), {QString()}, Language::TraditionalTaiwan),
              QStringLiteral("六沖"));
}

}  // namespace
