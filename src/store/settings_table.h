#pragma once
// Every persisted setting in one table: the row of table zhi that holds it, the column, how the
// value is written there and the value a missing row gives. Nothing outside this header names a
// settings row; readers and writers go through store::Settings with these constants.
#include <QStringView>
#include <QtGlobal>
#include <algorithm>
#include <array>
#include <string_view>

namespace store {

enum class SettingEncoding {
    OneMeansOn,    // text "1" on, anything else off
    ZeroMeansOff,  // text "0" off, anything else (empty, null) on
    ZeroMeansOn,   // integer 0 on, anything else off
    Number,        // an integer as stored
    Text,          // text as stored
};

struct SettingColumn {
    int row;                  // zhi.id
    std::string_view column;  // one of zhi's value columns
};

template <typename T>
struct Setting {
    SettingColumn at;
    SettingEncoding encoding;
    T whenMissing;
};

// Method preselected in the casting dialog: 0 "随机", 1 "京房式", 2 "藏山卜".
enum class ChartStyle { Random = 0, Jingfang = 1, Zangshan = 2 };

namespace setting {
// Chart display options.
inline constexpr Setting<bool> highlightClashes{{85, "value1"}, SettingEncoding::OneMeansOn, false};  // 卦内冲合变色
inline constexpr Setting<bool> showAllChanged{{85, "value3"}, SettingEncoding::OneMeansOn, false};  // 显示全部变爻
inline constexpr Setting<bool> showStems{{85, "value4"}, SettingEncoding::ZeroMeansOff, true};      // 显示天干
inline constexpr Setting<bool> showAnnotations{{85, "value15"}, SettingEncoding::ZeroMeansOn, true};  // 显示标注
// 节气算法: the name of the calendar source ("formula", "astronomical"). Databases written before
// the choice existed leave the column null, which reads as the formulas; so does any unknown text.
inline constexpr Setting<QStringView> calendarSource{{85, "value5"}, SettingEncoding::Text, u"formula"};
// The casting dialog's method option, any integer (unknown numbers mean "随机").
inline constexpr Setting<qint64> castingMethod{{86, "value15"}, SettingEncoding::Number, 0};
// The main window's 断卦辅助 panel shown.
inline constexpr Setting<bool> readingPanel{{86, "value1"}, SettingEncoding::OneMeansOn, false};
// The place of a cast and the clock of its pillars (设置), as chart::storedPlace writes them:
// "LONGITUDE,ZONE" and "beijing" or "solar"; empty for the Beijing clock as it stands.
inline constexpr Setting<QStringView> castPlace{{86, "value13"}, SettingEncoding::Text, u""};
inline constexpr Setting<QStringView> timeRule{{86, "value14"}, SettingEncoding::Text, u""};
// The remembered login.
inline constexpr Setting<QStringView> loginName{{88, "value1"}, SettingEncoding::Text, u""};
inline constexpr Setting<QStringView> loginPassword{{88, "value2"}, SettingEncoding::Text, u""};
inline constexpr Setting<bool> rememberLogin{{88, "value4"}, SettingEncoding::OneMeansOn, false};
// The school choices (设置): "KEY=VALUE" pairs separated by spaces, as reading::schoolsText writes
// them; null (a database from before the choices) or a pair not understood keeps the default.
inline constexpr Setting<QStringView> schoolChoices{{88, "value10"}, SettingEncoding::Text, u""};
// 界面语言 (设置): the code of the interface's language ("zh_CN", "zh_TW", "en"); empty (or null)
// follows the system's language. Read at start, so a change shows at the next start.
inline constexpr Setting<QStringView> interfaceLanguage{{86, "value12"}, SettingEncoding::Text, u""};

inline constexpr std::array kAll{highlightClashes.at, showAllChanged.at,   showStems.at,     showAnnotations.at,
                                 calendarSource.at,   castingMethod.at,    loginName.at,     loginPassword.at,
                                 rememberLogin.at,    readingPanel.at,     schoolChoices.at, castPlace.at,
                                 timeRule.at,         interfaceLanguage.at};
}  // namespace setting

// The rows of zhi that hold settings rather than divination knowledge.
constexpr bool isSettingsRow(int row) {
    return std::any_of(setting::kAll.begin(), setting::kAll.end(),
                       [row](const SettingColumn& c) { return c.row == row; });
}

}  // namespace store
