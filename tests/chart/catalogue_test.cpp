#include "chart/catalogue.h"

#include <gtest/gtest.h>

#include "test_support/qt_printers.h"

namespace {

using chart::ArrangementMethod;

TEST(Catalogue, NamesOfKeys) {
    struct Case {
        const char16_t* key;
        const char16_t* name;
    };
    for (const Case& c :
         {Case{u"111111", u"乾为天"}, Case{u"111112", u"天风姤"}, Case{u"122112", u"山风蛊"},
          Case{u"222222", u"坤为地"}, Case{u"211111", u"泽天夬"}, Case{u"212121", u"水火既济"},
          Case{u"121212", u"火水未济"}, Case{u"221111", u"雷天大壮"}, Case{u"111113", u""}, Case{u"11111", u""}}) {
        EXPECT_EQ(chart::hexagramName(QString::fromUtf16(c.key)), QString::fromUtf16(c.name));
        if (*c.name) {
            EXPECT_EQ(chart::keyOfHexagram(QString::fromUtf16(c.name)), QString::fromUtf16(c.key));
        }
    }
}

TEST(Catalogue, CodesGiveTheirPolarity) {
    EXPECT_EQ(chart::hexagramNameOfCodes({1, 1, 1, 1, 1, 1}), u"乾为天");
    EXPECT_EQ(chart::hexagramNameOfCodes({3, 1, 1, 1, 1, 1}), u"乾为天");
    EXPECT_EQ(chart::hexagramNameOfCodes({4, 4, 4, 4, 4, 4}), u"坤为地");
    EXPECT_EQ(chart::hexagramNameOfCodes({1, 1, 1, 1, 1, 2}), u"天风姤");
    EXPECT_EQ(chart::hexagramNameOfCodes({0, 1, 1, 1, 1, 1}), u"");
    EXPECT_EQ(chart::hexagramNameOfCodes({1, 1, 5, 1, 1, 1}), u"");
}

TEST(Catalogue, NameFormUsesTrigramNatures) {
    // Every name of two different trigrams starts with the upper and lower natures; a doubled
    // one is trigram name + 为 + nature.
    for (const char* upper : {"111", "112", "121", "122", "211", "212", "221", "222"}) {
        for (const char* lower : {"111", "112", "121", "122", "211", "212", "221", "222"}) {
            const QString u = QString::fromLatin1(upper), l = QString::fromLatin1(lower);
            const QString name = chart::hexagramName(u + l);
            if (u == l) {
                EXPECT_EQ(name, QString(chart::trigramName(u)) + u'为' + chart::trigramNature(u));
            } else {
                EXPECT_EQ(name.at(0), chart::trigramNature(u)) << name.toStdString();
                EXPECT_EQ(name.at(1), chart::trigramNature(l)) << name.toStdString();
            }
        }
    }
    EXPECT_EQ(chart::trigramOfNature(u'泽'), u'兑');
    EXPECT_EQ(chart::natureOfTrigram(u'艮'), u'山');
}

TEST(Catalogue, Tags) {
    struct Case {
        const char16_t* name;
        ArrangementMethod method;
        const char16_t* tag;
    };
    const auto J = ArrangementMethod::Jingfang, Z = ArrangementMethod::Zangshan;
    for (const Case& c :
         {Case{u"乾为天", J, u"(六冲)"}, Case{u"火天大有", J, u"(归魂)"}, Case{u"地水师", Z, u"(六合)(归魂)"},
          Case{u"火地晋", Z, u"(六冲)(游魂)"}, Case{u"火地晋", J, u"(游魂)"}, Case{u"天地否", J, u"(六合)"},
          Case{u"天地否", Z, u""}, Case{u"雷天大壮", J, u"(六冲)"}, Case{u"雷天大壮", Z, u""},
          Case{u"坤为地", Z, u"(六冲)"}, Case{u"地水师", J, u"(归魂)"}, Case{u"天风姤", J, u""}}) {
        EXPECT_EQ(chart::hexagramTag(QString::fromUtf16(c.name), c.method), QString::fromUtf16(c.tag))
            << QString::fromUtf16(c.name).toStdString();
    }
}

TEST(Catalogue, LayoutItemsAndMarkers) {
    chart::Hexagram lines;
    chart::applyLayout(QStringLiteral("世,父母戌土,兄弟申金,官鬼午火,应,父母辰土,妻财寅木 子孙子水,世,官鬼亥水,x"),
                       lines);
    EXPECT_EQ(lines[0].relative, u"父母");
    EXPECT_EQ(lines[0].branchElement, u"戌土");
    EXPECT_EQ(lines[0].mark, u' ');   // a marker before the first line item is ignored
    EXPECT_EQ(lines[2].mark, u'应');  // marker directly after the third line item
    EXPECT_EQ(lines[4].branchElement, u"寅木");
    EXPECT_EQ(lines[5].relative, u"子孙");
    EXPECT_EQ(lines[5].mark, u'世');
    // Only six line items are used.
    chart::Hexagram quoted;
    chart::applyLayout(QStringLiteral("\"兄弟 子水\",世"), quoted);
    EXPECT_EQ(quoted[0].relative, u"兄弟");
    EXPECT_EQ(quoted[0].branchElement, u" 子");
    EXPECT_EQ(quoted[0].mark, u'世');
}

TEST(Catalogue, CompactTitle) {
    EXPECT_EQ(chart::cleanHexagramName(QStringLiteral("主卦：天风姤 变卦：乾为天(六冲)")), u"天风姤 之 乾为天(六冲)");
    EXPECT_EQ(chart::cleanHexagramName(QStringLiteral("本卦：乾为天")), u"乾为天");
    EXPECT_EQ(chart::cleanHexagramName(QStringLiteral("坤为地")), u"坤为地");
}

TEST(Catalogue, InversionKeepsMotion) {
    struct Case {
        int code, inverted;
    };
    for (const Case& c : {Case{1, 2}, Case{2, 1}, Case{3, 4}, Case{4, 3}, Case{0, 0}}) {
        EXPECT_EQ(chart::invertedCode(c.code), c.inverted);
        EXPECT_EQ(chart::invertedCode(chart::invertedCode(c.code)), c.code);
    }
}

}  // namespace
