// Judgment and feedback texts as practitioners write them, for the keyword benchmarks of the
// program and of the case service: phrases of four characters from a vocabulary of common
// divination words, joined by "，" or "。".
#pragma once

#include <array>
#include <random>
#include <string>
#include <string_view>

namespace divination_texts {

inline constexpr std::array<std::string_view, 45> kPhrases = {
    "官鬼持世", "妻财发动", "子孙临日", "父母化进", "兄弟克财", "应爻旬空", "世爻月破", "用神入墓", "忌神暗动",
    "原神旺相", "月建生扶", "日辰合住", "回头相生", "化退无力", "六冲散局", "三合成局", "青龙临财", "白虎带煞",
    "朱雀口舌", "玄武暗昧", "勾陈田土", "螣蛇惊恐", "伏神得出", "飞神克伏", "世应相生", "动而化空", "休囚无气",
    "逢冲则起", "逢合则绊", "出空之日", "填实之时", "应期在午", "应期在子", "求财可得", "婚姻可成", "疾病渐愈",
    "官司有理", "出行平安", "失物可寻", "考试得中", "升职有望", "买房宜缓", "合作需慎", "后来应验", "果然如此"};

// A text of exactly `characters` characters (UTF-8; every character of the vocabulary takes
// three bytes).
inline std::string textOf(std::mt19937& random, int characters) {
    constexpr std::size_t kBytesPerCharacter = 3;
    std::string text;
    while (text.size() < static_cast<std::size_t>(characters) * kBytesPerCharacter) {
        text += kPhrases[random() % kPhrases.size()];
        text += random() % 3 ? "，" : "。";
    }
    text.resize(static_cast<std::size_t>(characters) * kBytesPerCharacter);
    return text;
}

// Between 50 and 500 characters, as a judgment or a feedback is long.
inline std::string judgmentOrFeedback(std::mt19937& random) {
    return textOf(random, 50 + static_cast<int>(random() % 451));
}

}  // namespace divination_texts
