// The shipped divination rows against facts worked out by hand and against the hexagram tags.
#include "divination_rows.h"
#include "store/database.h"
#include "store/sqlite_divination_data.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QSet>

#include "chart/catalogue.h"

namespace {

using chart::ArrangementMethod;

// The hexagram catalogue: rows are upper trigrams, columns lower trigrams, in the order below.
// The 64 names, from the catalogue the chart engine keeps (and tests against its table).
QStringList allHexagramNames() {
    QStringList names;
    const char* const digits[] = {"111", "112", "121", "122", "211", "212", "221", "222"};
    for (const char* upper : digits)
        for (const char* lower : digits)
            names << chart::hexagramName(QString::fromLatin1(upper) + QString::fromLatin1(lower));
    return names;
}

struct Item {
    QString relative, branch, element;
    QString mark;
};

// Six line items, top line first, with the marker that follows each.
std::vector<Item> parseLayout(const QString& layout) {
    std::vector<Item> items;
    for (const QString& part : layout.split(u',')) {
        if (part.size() >= 3)
            items.push_back({part.left(2), part.mid(2, 1), part.mid(3, 1), {}});
        else if (!items.empty())
            items.back().mark += part;
    }
    return items;
}

class DivinationRows : public ::testing::Test {
protected:
    std::unique_ptr<store::Database> db = store::Database::openInMemory();
    store::SqliteDivinationData data{*db};
};

TEST(DivinationRowsFile, ShippedFileIsWhatTheGeneratorWrites) {
    QFile file(QStringLiteral(QINGLAN_SHIPPED_ROWS));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toStdString(), tools::divinationRowsSql())
        << "run: cmake --build build --target update_divination_rows";
}

TEST_F(DivinationRows, HandWorkedLayouts) {
    struct Case {
        const char* name;
        ArrangementMethod method;
        const char* layout;
    };
    const Case cases[] = {
        {"乾为天", ArrangementMethod::Jingfang, "父母戌土,世,兄弟申金,官鬼午火,父母辰土,应,妻财寅木,子孙子水"},
        {"天风姤", ArrangementMethod::Jingfang, "父母戌土,兄弟申金,官鬼午火,应,兄弟酉金,子孙亥水,父母丑土,世"},
        // 游魂 of 乾: world on the fourth line
        {"火地晋", ArrangementMethod::Jingfang, "官鬼巳火,父母未土,兄弟酉金,世,妻财卯木,官鬼巳火,父母未土,应"},
        // 归魂 of 乾: world on the third line
        {"火天大有", ArrangementMethod::Jingfang, "官鬼巳火,应,父母未土,兄弟酉金,父母辰土,世,妻财寅木,子孙子水"},
        {"坤为地", ArrangementMethod::Jingfang, "子孙酉金,世,妻财亥水,兄弟丑土,官鬼卯木,应,父母巳火,兄弟未土"},
        {"乾为天", ArrangementMethod::Zangshan, "子孙子水,世,妻财寅木,父母辰土,官鬼午火,应,兄弟申金,父母戌土"},
        // 归魂 of 坎 under 藏山卜: 坤 above (丑卯巳), 坎 below (子戌申), palace 水
        {"地水师", ArrangementMethod::Zangshan, "妻财巳火,应,子孙卯木,官鬼丑土,父母申金,世,官鬼戌土,兄弟子水"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(data.hexagramLayout(QString::fromUtf8(c.name), c.method).value_or(QString()),
                  QString::fromUtf8(c.layout))
            << c.name;
    }
    EXPECT_FALSE(data.hexagramLayout(QStringLiteral("天风"), ArrangementMethod::Jingfang).has_value());
}

TEST_F(DivinationRows, EveryHexagramHasItsDigitsPalaceAndWorldLine) {
    const char* const palaces[] = {"乾", "兑", "离", "震", "巽", "坎", "艮", "坤"};
    const char* const doubled[] = {"111111", "211211", "121121", "221221", "112112", "212212", "122122", "222222"};
    const char* const elements[] = {"金", "金", "火", "木", "木", "水", "土", "土"};
    const char* const orders[] = {"本宫", "一世", "二世", "三世", "四世", "五世", "游魂", "归魂"};
    const int world[] = {6, 1, 2, 3, 4, 5, 4, 3};
    const int response[] = {3, 4, 5, 6, 1, 2, 1, 6};
    QSet<QString> seen;
    for (int p = 0; p < 8; ++p) {
        // Walk the palace: flip lines 1..5 from the bottom, then line 4 back (游魂), then the
        // lower trigram back to the palace's (归魂). Digits are top line first.
        QString key = QString::fromLatin1(doubled[p]);
        auto flip = [&key](int line) {
            QChar& c = key[6 - line];
            c = c == u'1' ? u'2' : u'1';
        };
        const QStringList palaceTexts = data.palaceHexagrams(QString::fromUtf8(palaces[p]));
        ASSERT_EQ(palaceTexts.size(), 8) << palaces[p];
        for (int order = 0; order < 8; ++order) {
            if (order >= 1 && order <= 5) flip(order);
            if (order == 6) flip(4);
            if (order == 7) key = key.left(3) + QString::fromLatin1(doubled[p]).mid(3);
            const QString name = chart::hexagramName(key);
            ASSERT_FALSE(name.isEmpty());
            seen.insert(name);
            EXPECT_EQ(data.hexagramDigits(name).value_or(QString()), key) << name.toStdString();
            EXPECT_EQ(data.hexagramDescription(name).value_or(QString()), QString::fromUtf8(palaces[p]) + "宫属" +
                                                                              QString::fromUtf8(elements[p]) + " " +
                                                                              QString::fromUtf8(orders[order]) + "卦")
                << name.toStdString();
            EXPECT_EQ(palaceTexts[order].split(QStringLiteral("，")).value(1), name);
            for (ArrangementMethod method : {ArrangementMethod::Jingfang, ArrangementMethod::Zangshan}) {
                const std::vector<Item> items = parseLayout(data.hexagramLayout(name, method).value_or(QString()));
                ASSERT_EQ(items.size(), 6u) << name.toStdString();
                for (int i = 0; i < 6; ++i) {
                    const int line = 6 - i;
                    const QString mark = line == world[order] ? "世" : line == response[order] ? "应" : "";
                    EXPECT_EQ(items[static_cast<size_t>(i)].mark, mark) << name.toStdString() << " line " << line;
                }
            }
        }
    }
    EXPECT_EQ(seen.size(), 64);
}

// Relative of element e against palace element p, by the generation and control cycles.
QString relativeOf(const QString& e, const QString& p) {
    const QString cycle = QStringLiteral("木火土金水");  // each generates the next
    const qsizetype ie = cycle.indexOf(e), ip = cycle.indexOf(p);
    switch ((ie - ip + 5) % 5) {
    case 0: return QStringLiteral("兄弟");
    case 1: return QStringLiteral("子孙");   // p generates e
    case 2: return QStringLiteral("妻财");   // p controls e
    case 3: return QStringLiteral("官鬼");   // e controls p
    default: return QStringLiteral("父母");  // e generates p
    }
}

TEST_F(DivinationRows, RelativesAndBranchElementsFollowThePalaceElement) {
    const QString elementOf = QStringLiteral("水土木木土火火土金金土水");  // 子..亥
    const QString branches = QStringLiteral("子丑寅卯辰巳午未申酉戌亥");
    for (const QString& name : allHexagramNames()) {
        const QString palaceElement = data.hexagramDescription(name).value_or(QString()).mid(3, 1);
        for (ArrangementMethod method : {ArrangementMethod::Jingfang, ArrangementMethod::Zangshan}) {
            for (const Item& item : parseLayout(data.hexagramLayout(name, method).value_or(QString()))) {
                EXPECT_EQ(item.element, elementOf.at(branches.indexOf(item.branch))) << name.toStdString();
                EXPECT_EQ(item.relative, relativeOf(item.element, palaceElement)) << name.toStdString();
            }
        }
    }
}

// With the branches of a method, the hexagrams whose three line pairs (1-4, 2-5, 3-6) all clash,
// or all combine, are exactly the tag lists of 六冲 and 六合 for that method.
TEST_F(DivinationRows, SixClashAndSixHarmonyMatchTheTagLists) {
    const QString branches = QStringLiteral("子丑寅卯辰巳午未申酉戌亥");
    auto clash = [&](QString a, QString b) { return (branches.indexOf(a) - branches.indexOf(b) + 12) % 12 == 6; };
    auto combine = [&](QString a, QString b) { return (branches.indexOf(a) + branches.indexOf(b)) % 12 == 1; };
    const QString doubledNames = QStringLiteral("乾为天 兑为泽 离为火 震为雷 巽为风 坎为水 艮为山 坤为地");
    struct Case {
        ArrangementMethod method;
        QString harmony;
        QString clash;
    };
    const Case cases[] = {
        {ArrangementMethod::Jingfang, QStringLiteral("天地否 水泽节 山火贲 雷地豫 火山旅 地雷复 地天泰 泽水困"),
         doubledNames + QStringLiteral(" 雷天大壮 天雷无妄")},
        {ArrangementMethod::Zangshan, QStringLiteral("水火既济 火水未济 地水师 水地比 天泽履 泽天夬 风山渐 山风蛊"),
         doubledNames + QStringLiteral(" 地火明夷 火地晋")},
    };
    for (const Case& c : cases) {
        QSet<QString> harmony, clashing;
        for (const QString& name : allHexagramNames()) {
            const std::vector<Item> items = parseLayout(data.hexagramLayout(name, c.method).value_or(QString()));
            ASSERT_EQ(items.size(), 6u);
            bool allClash = true, allCombine = true;
            for (size_t i = 0; i < 3; ++i) {
                allClash = allClash && clash(items[i].branch, items[i + 3].branch);
                allCombine = allCombine && combine(items[i].branch, items[i + 3].branch);
            }
            if (allClash) clashing.insert(name);
            if (allCombine) harmony.insert(name);
        }
        const QStringList h = c.harmony.split(u' '), k = c.clash.split(u' ');
        EXPECT_EQ(harmony, QSet<QString>(h.begin(), h.end()));
        EXPECT_EQ(clashing, QSet<QString>(k.begin(), k.end()));
    }
}

TEST_F(DivinationRows, BeastsOfEachStemGroupTopLineFirst) {
    struct Case {
        const char* group;
        const char* beasts;
    };
    const Case cases[] = {
        {"甲乙", "玄武，白虎，螣蛇，勾陈，朱雀，青龙"}, {"丙丁", "青龙，玄武，白虎，螣蛇，勾陈，朱雀"},
        {"戊日", "朱雀，青龙，玄武，白虎，螣蛇，勾陈"}, {"己日", "勾陈，朱雀，青龙，玄武，白虎，螣蛇"},
        {"庚辛", "螣蛇，勾陈，朱雀，青龙，玄武，白虎"}, {"壬癸", "白虎，螣蛇，勾陈，朱雀，青龙，玄武"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(data.beastsOfGroup(QString::fromUtf8(c.group)).value_or(QString()), QString::fromUtf8(c.beasts));
    EXPECT_FALSE(data.beastsOfGroup(QStringLiteral("甲")).has_value());
}

TEST_F(DivinationRows, TwelveStagesOfBranchAndElement) {
    struct Case {
        const char* text;
        const char* stage;
    };
    const Case cases[] = {
        {"亥木", "长生"}, {"寅火", "长生"}, {"巳金", "长生"}, {"申水", "长生"}, {"申土", "长生"}, {"未木", "墓"},
        {"戌火", "墓"},   {"丑金", "墓"},   {"辰水", "墓"},   {"辰土", "墓"},   {"卯木", "帝旺"}, {"午火", "帝旺"},
        {"酉金", "帝旺"}, {"子水", "帝旺"}, {"子土", "帝旺"}, {"申木", "绝"},   {"亥火", "绝"},   {"寅金", "绝"},
        {"巳土", "绝"},   {"戌木", "养"},   {"子木", "沐浴"}, {"丑水", "衰"},   {"酉火", "死"},   {"卯金", "胎"},
        {"寅木", "临官"}, {"甲木", ""},     {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(data.stageOf(QString::fromUtf8(c.text)), QString::fromUtf8(c.stage)) << c.text;
}

TEST_F(DivinationRows, PalaceOfAnUnknownTrigramIsEmpty) {
    EXPECT_TRUE(data.palaceHexagrams(QStringLiteral("中")).isEmpty());
}

}  // namespace
