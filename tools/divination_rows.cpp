#include "divination_rows.h"

#include <array>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace tools {
namespace {

using Text = std::string;

// A trigram: its name, its polarity digits (top line first) and its branches, bottom line first,
// when it is the lower or the upper trigram under each arrangement method.
struct Trigram {
    Text name;
    Text digits;
    std::array<Text, 3> jingfangLower, jingfangUpper, zangshanLower, zangshanUpper;
};

const std::vector<Trigram>& trigrams() {
    static const std::vector<Trigram> table = {
        {"乾", "111", {"子", "寅", "辰"}, {"午", "申", "戌"}, {"戌", "申", "午"}, {"辰", "寅", "子"}},
        {"兑", "211", {"巳", "卯", "丑"}, {"亥", "酉", "未"}, {"酉", "亥", "丑"}, {"卯", "巳", "未"}},
        {"离", "121", {"卯", "丑", "亥"}, {"酉", "未", "巳"}, {"未", "酉", "亥"}, {"丑", "卯", "巳"}},
        {"震", "221", {"子", "寅", "辰"}, {"午", "申", "戌"}, {"卯", "丑", "亥"}, {"酉", "未", "巳"}},
        {"巽", "112", {"丑", "亥", "酉"}, {"未", "巳", "卯"}, {"巳", "未", "酉"}, {"亥", "丑", "卯"}},
        {"坎", "212", {"寅", "辰", "午"}, {"申", "戌", "子"}, {"子", "戌", "申"}, {"午", "辰", "寅"}},
        {"艮", "122", {"辰", "午", "申"}, {"戌", "子", "寅"}, {"寅", "子", "戌"}, {"申", "午", "辰"}},
        {"坤", "222", {"未", "巳", "卯"}, {"丑", "亥", "酉"}, {"未", "酉", "亥"}, {"丑", "卯", "巳"}},
    };
    return table;
}

const Trigram& trigramOfDigits(const Text& digits) {
    for (const Trigram& t : trigrams())
        if (t.digits == digits) return t;
    throw std::logic_error("no trigram " + digits);
}

// The catalogue: rows are upper trigrams, columns lower trigrams, both in ascending digit order.
const std::array<Text, 8> kCatalogueDigits = {"111", "112", "121", "122", "211", "212", "221", "222"};
const std::array<std::array<Text, 8>, 8> kCatalogue = {{
    {"乾为天", "天风姤", "天火同人", "天山遁", "天泽履", "天水讼", "天雷无妄", "天地否"},
    {"风天小畜", "巽为风", "风火家人", "风山渐", "风泽中孚", "风水涣", "风雷益", "风地观"},
    {"火天大有", "火风鼎", "离为火", "火山旅", "火泽睽", "火水未济", "火雷噬嗑", "火地晋"},
    {"山天大畜", "山风蛊", "山火贲", "艮为山", "山泽损", "山水蒙", "山雷颐", "山地剥"},
    {"泽天夬", "泽风大过", "泽火革", "泽山咸", "兑为泽", "泽水困", "泽雷随", "泽地萃"},
    {"水天需", "水风井", "水火既济", "水山蹇", "水泽节", "坎为水", "水雷屯", "水地比"},
    {"雷天大壮", "雷风恒", "雷火丰", "雷山小过", "雷泽归妹", "雷水解", "震为雷", "雷地豫"},
    {"地天泰", "地风升", "地火明夷", "地山谦", "地泽临", "地水师", "地雷复", "坤为地"},
}};

Text keyOfName(const Text& name) {
    for (size_t u = 0; u < 8; ++u)
        for (size_t l = 0; l < 8; ++l)
            if (kCatalogue[u][l] == name) return kCatalogueDigits[u] + kCatalogueDigits[l];
    throw std::logic_error("no hexagram " + name);
}

struct Palace {
    Text trigram;
    Text element;
    std::array<Text, 8> hexagrams;  // 本宫, 一世 .. 五世, 游魂, 归魂
};

const std::vector<Palace>& palaces() {
    static const std::vector<Palace> table = {
        {"乾", "金", {"乾为天", "天风姤", "天山遁", "天地否", "风地观", "山地剥", "火地晋", "火天大有"}},
        {"兑", "金", {"兑为泽", "泽水困", "泽地萃", "泽山咸", "水山蹇", "地山谦", "雷山小过", "雷泽归妹"}},
        {"离", "火", {"离为火", "火山旅", "火风鼎", "火水未济", "山水蒙", "风水涣", "天水讼", "天火同人"}},
        {"震", "木", {"震为雷", "雷地豫", "雷水解", "雷风恒", "地风升", "水风井", "泽风大过", "泽雷随"}},
        {"巽", "木", {"巽为风", "风天小畜", "风火家人", "风雷益", "天雷无妄", "火雷噬嗑", "山雷颐", "山风蛊"}},
        {"坎", "水", {"坎为水", "水泽节", "水雷屯", "水火既济", "泽火革", "雷火丰", "地火明夷", "地水师"}},
        {"艮", "土", {"艮为山", "山火贲", "山天大畜", "山泽损", "火泽睽", "天泽履", "风泽中孚", "风山渐"}},
        {"坤", "土", {"坤为地", "地雷复", "地泽临", "地天泰", "雷天大壮", "泽天夬", "水天需", "水地比"}},
    };
    return table;
}

const std::array<Text, 8> kOrderWords = {"本宫", "一世", "二世", "三世", "四世", "五世", "游魂", "归魂"};
// World and response line (1 = bottom) by palace order.
const std::array<std::array<int, 2>, 8> kWorldResponse = {{
    {6, 3},
    {1, 4},
    {2, 5},
    {3, 6},
    {4, 1},
    {5, 2},
    {4, 1},
    {3, 6},
}};

const std::map<Text, Text>& branchElements() {
    static const std::map<Text, Text> table = {
        {"子", "水"}, {"亥", "水"}, {"寅", "木"}, {"卯", "木"}, {"巳", "火"}, {"午", "火"},
        {"申", "金"}, {"酉", "金"}, {"辰", "土"}, {"戌", "土"}, {"丑", "土"}, {"未", "土"},
    };
    return table;
}

Text generated(const Text& e) {
    static const std::map<Text, Text> table = {{"木", "火"}, {"火", "土"}, {"土", "金"}, {"金", "水"}, {"水", "木"}};
    return table.at(e);
}

Text controlled(const Text& e) {
    static const std::map<Text, Text> table = {{"木", "土"}, {"土", "水"}, {"水", "火"}, {"火", "金"}, {"金", "木"}};
    return table.at(e);
}

// The relative of a line of element e in a palace of element p.
Text relative(const Text& e, const Text& p) {
    if (e == p) return "兄弟";
    if (controlled(p) == e) return "妻财";
    if (generated(p) == e) return "子孙";
    if (controlled(e) == p) return "官鬼";
    if (generated(e) == p) return "父母";
    throw std::logic_error("no relative");
}

enum class Method { Jingfang, Zangshan };

// The layout text of a hexagram: its six line items top line first, "世"/"应" after their items.
Text layout(const Text& key, const Text& palaceElement, int world, int response, Method method) {
    const Trigram& upper = trigramOfDigits(key.substr(0, 3));
    const Trigram& lower = trigramOfDigits(key.substr(3, 3));
    std::array<Text, 6> branches;  // bottom line first
    for (size_t i = 0; i < 3; ++i) {
        branches[i] = method == Method::Jingfang ? lower.jingfangLower[i] : lower.zangshanLower[i];
        branches[i + 3] = method == Method::Jingfang ? upper.jingfangUpper[i] : upper.zangshanUpper[i];
    }
    Text out;
    for (int line = 6; line >= 1; --line) {
        const Text& branch = branches[static_cast<size_t>(line - 1)];
        const Text& element = branchElements().at(branch);
        if (!out.empty()) out += ",";
        out += relative(element, palaceElement) + branch + element;
        if (line == world) out += ",世";
        if (line == response) out += ",应";
    }
    return out;
}

Text quoted(const Text& text) {
    Text out = "'";
    for (char c : text) {
        out += c;
        if (c == '\'') out += '\'';
    }
    return out + "'";
}

Text joined(const std::vector<Text>& items, const Text& separator) {
    Text out;
    for (size_t i = 0; i < items.size(); ++i) out += (i ? separator : Text()) + items[i];
    return out;
}

Text insert(const Text& table, const std::vector<Text>& columns, const std::vector<Text>& values) {
    return "INSERT INTO " + table + "(" + joined(columns, ",") + ") VALUES(" + joined(values, ",") + ");\n";
}

Text baguaRows() {
    Text out;
    for (const Palace& palace : palaces()) {
        for (size_t order = 0; order < 8; ++order) {
            const Text& name = palace.hexagrams[order];
            const Text key = keyOfName(name);
            const auto [world, response] = kWorldResponse[order];
            out += insert(
                "bagua", {"gm", "value1", "value2", "value3", "value4"},
                {quoted(name), quoted(palace.trigram + "宫属" + palace.element + " " + kOrderWords[order] + "卦"),
                 quoted(key), quoted(layout(key, palace.element, world, response, Method::Jingfang)),
                 quoted(layout(key, palace.element, world, response, Method::Zangshan))});
        }
    }
    return out;
}

Text beastRows(int& id) {
    const std::array<Text, 6> cycle = {"青龙", "朱雀", "勾陈", "螣蛇", "白虎", "玄武"};
    // Group key and the beast of its bottom line, as an index into the cycle.
    const std::array<std::pair<Text, size_t>, 6> groups = {{
        {"甲乙", 0},
        {"丙丁", 1},
        {"戊日", 2},
        {"己日", 3},
        {"庚辛", 4},
        {"壬癸", 5},
    }};
    Text out;
    for (const auto& [group, first] : groups) {
        std::vector<Text> topFirst;
        for (size_t line = 6; line >= 1; --line) topFirst.push_back(cycle[(first + line - 1) % 6]);
        out += insert("zhi", {"id", "key", "value1"},
                      {std::to_string(id++), quoted(group), quoted(joined(topFirst, "，"))});
    }
    return out;
}

Text palaceRows(int& id) {
    Text out;
    for (const Palace& palace : palaces()) {
        std::vector<Text> columns = {"id", "key", "value1"};
        std::vector<Text> values = {std::to_string(id++), quoted(palace.trigram + "宫"), quoted(palace.trigram)};
        for (size_t order = 0; order < 8; ++order) {
            columns.push_back("value" + std::to_string(6 + order));
            values.push_back(
                quoted(std::to_string(order + 1) + "，" + palace.hexagrams[order] + "，" + kOrderWords[order]));
        }
        out += insert("zhi", columns, values);
    }
    return out;
}

Text stageRows(int& id) {
    const std::array<Text, 12> stages = {"长生", "沐浴", "冠带", "临官", "帝旺", "衰",
                                         "病",   "死",   "墓",   "绝",   "胎",   "养"};
    const std::array<Text, 12> branchNames = {"子", "丑", "寅", "卯", "辰", "巳", "午", "未", "申", "酉", "戌", "亥"};
    // Element of value1..value5 and the branch index of its 长生.
    const std::array<std::pair<Text, size_t>, 5> elements = {{
        {"木", 11},
        {"火", 2},
        {"金", 5},
        {"水", 8},
        {"土", 8},
    }};
    Text out;
    for (size_t stage = 0; stage < 12; ++stage) {
        std::vector<Text> columns = {"id", "key"};
        std::vector<Text> values = {std::to_string(id++), quoted(stages[stage])};
        for (size_t e = 0; e < 5; ++e) {
            columns.push_back("value" + std::to_string(e + 1));
            values.push_back(quoted(branchNames[(elements[e].second + stage) % 12] + elements[e].first));
        }
        out += insert("zhi", columns, values);
    }
    return out;
}

Text settingsRows() {
    return insert("zhi", {"id", "key", "value1", "value3", "value4", "value15"},
                  {"85", quoted("显示选项"), quoted("1"), quoted("0"), quoted("1"), "0"}) +
           insert("zhi", {"id", "key", "value15"}, {"86", quoted("排卦方式"), "0"}) +
           // Name and password stay null (they read as empty texts), so no stage lookup matches them.
           insert("zhi", {"id", "key", "value4"}, {"88", quoted("登录"), quoted("0")});
}

Text categoryRows() {
    const std::array<Text, 13> names = {"杂类",     "求财",     "事业", "感情婚姻", "健康疾病", "出行", "失物",
                                        "官非诉讼", "学业考试", "家宅", "天气",     "寻人",     "其他"};
    Text out;
    for (size_t i = 0; i < names.size(); ++i)
        out += insert("fenlei_table", {"lei_id", "lei_mingcheng"}, {std::to_string(i + 1), quoted(names[i])});
    return out;
}

}  // namespace

std::string divinationRowsSql() {
    Text out = "-- Generated by tools/gen_divination_rows; do not edit by hand.\n";
    out += baguaRows();
    int id = 1;
    out += beastRows(id);
    id = 11;
    out += palaceRows(id);
    id = 21;
    out += stageRows(id);
    out += settingsRows();
    out += categoryRows();
    return out;
}

}  // namespace tools
