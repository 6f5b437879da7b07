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
    {u"父母丑土 甲寅旬（子丑空） 巳酉丑合金局 己丑年 丑时", u"父母丑土 甲寅旬（子丑空） 巳酉丑合金局 己丑年 丑時",
     nullptr},
    {u"六冲 日冲 月冲 暗冲 回头冲 冲开 冲实", u"六沖 日沖 月沖 暗沖 回頭沖 沖開 沖實", nullptr},
    {u"生克 相克 回头克 伏克飞 飞生伏", u"生剋 相剋 回頭剋 伏剋飛 飛生伏", nullptr},
    {u"泽山咸 咸池 占类 占事 年干 天干地支", u"澤山咸 咸池 占類 占事 年干 天干地支", nullptr},
    {u"主卦：乾为天(六冲) 变卦：泽天夬", u"主卦：乾為天(六沖) 變卦：澤天夬", nullptr},
    {u"地雷复 雷火丰 山水蒙 火地晋 地风升 水火既济", u"地雷復 雷火豐 山水蒙 火地晉 地風升 水火既濟", nullptr},
    {u"乾宫属金 归魂卦", u"乾宮屬金 歸魂卦", nullptr},
    {u"兑为泽", u"兌為澤", u"兑為澤"},  // Hong Kong's standard form of 兌 is 兑
    {u"父母 兄弟 官鬼 妻财 子孙", u"父母 兄弟 官鬼 妻財 子孫", nullptr},
    {u"青龙 朱雀 勾陈 螣蛇 白虎 玄武", u"青龍 朱雀 勾陳 螣蛇 白虎 玄武", nullptr},
    {u"长生 沐浴 冠带 临官 帝旺 衰 病 死 墓 绝 胎 养", u"長生 沐浴 冠帶 臨官 帝旺 衰 病 死 墓 絕 胎 養", nullptr},
    {u"长生于申 入墓于辰", u"長生於申 入墓於辰", nullptr},
    {u"旬空 月破 暗动 进神 退神 伏吟 反吟", u"旬空 月破 暗動 進神 退神 伏吟 反吟", nullptr},
    {u"世应 用神 原神 忌神 仇神 飞神 伏神 应期", u"世應 用神 原神 忌神 仇神 飛神 伏神 應期", nullptr},
    {u"驿马 桃花 华盖 灾煞 天医 禄神 贵人", u"驛馬 桃花 華蓋 災煞 天醫 祿神 貴人", nullptr},
    {u"惊蛰 谷雨 小满 芒种 处暑", u"驚蟄 穀雨 小滿 芒種 處暑", nullptr},
    {u"闰四月 腊月 正月初一 十二月廿五 农历 公历", u"閏四月 臘月 正月初一 十二月廿五 農曆 公曆", nullptr},
    {u"后天 先天 京房式 藏山卜", u"後天 先天 京房式 藏山卜", nullptr},
    {u"朱雀\t \t  父母戌土  世\to\t父母未土", u"朱雀\t \t  父母戌土  世\to\t父母未土", nullptr},  // tabs stay
};

TEST(TraditionalText, FieldTermsAsEachRegionWritesThem) {
    for (const Term& t : kTerms) {
        const QString simplified = QString::fromUtf16(t.simplified), taiwan = QString::fromUtf16(t.taiwan);
        const QString hongKong = QString::fromUtf16(t.hongKong ? t.hongKong : t.taiwan);
        EXPECT_EQ(language::toTraditional(simplified, Language::TraditionalTaiwan), taiwan);
        EXPECT_EQ(language::toTraditional(simplified, Language::TraditionalHongKong), hongKong);
        EXPECT_EQ(language::toTraditional(taiwan, Language::TraditionalTaiwan), taiwan);  // nothing left to convert
        EXPECT_TRUE(language::holdsNoSimplified(taiwan)) << taiwan.toStdString();
        EXPECT_EQ(language::localized(simplified, Language::SimplifiedChinese), simplified);
        EXPECT_EQ(language::toTraditional(simplified, Language::English), simplified);
    }
}

// The check of a 繁體 window: a simplified character is found, Taiwan's own wording (算法 for 演算法,
// 圖像 for 影像) is not taken for one.
TEST(TraditionalText, NoSimplifiedLeftLooksAtCharactersNotWording) {
    for (const char16_t* text : {u"乾為天", u"複製卦圖像", u"節氣算法", u"丑土 六沖 生剋"})
        EXPECT_TRUE(language::holdsNoSimplified(QString::fromUtf16(text))) << QString::fromUtf16(text).toStdString();
    for (const char16_t* text : {u"乾为天", u"复制卦图像", u"節氣算法 变"})
        EXPECT_FALSE(language::holdsNoSimplified(QString::fromUtf16(text))) << QString::fromUtf16(text).toStdString();
}

// The user's own texts inside a generated line stay as typed; of two starting at one place the
// longer is kept whole.
TEST(TraditionalText, KeptPiecesStayAsTyped) {
    const QString typed = QStringLiteral("问财运冲克");
    EXPECT_EQ(language::localizedKeeping(QStringLiteral("事由：") + typed + QStringLiteral(" 六冲，") + typed, {typed},
                                         Language::TraditionalTaiwan),
              QStringLiteral("事由：") + typed + QStringLiteral(" 六沖，") + typed);
    EXPECT_EQ(
        language::localizedKeeping(QStringLiteral("ID=丑冲年 冲"), {QStringLiteral("丑"), QStringLiteral("丑冲年")},
                                   Language::TraditionalHongKong),
        QStringLiteral("ID=丑冲年 沖"));
}

}  // namespace
