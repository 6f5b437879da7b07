#pragma once
// The languages the program speaks, how each is named on the command line and in the settings,
// and which one a system locale asks for.
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

namespace language {

// 繁體 comes in the Taiwan and the Hong Kong form: the interface is the same, the generated
// texts follow each region's usual characters and words.
enum class Language { SimplifiedChinese, TraditionalTaiwan, TraditionalHongKong, English };

// "zh_CN", "zh_TW", "zh_HK", "en".
QString codeOf(Language language);
// A code as given to --lang or stored in the settings ("zh_CN", "zh-TW", "en_GB" …); none when
// it names no language of the program.
std::optional<Language> languageFromCode(QStringView code);
// The codes --lang accepts, for its help and its refusal.
QStringList acceptedCodes();

bool isTraditional(Language language);
bool isChinese(Language language);

// zh_TW, zh_HK, zh_MO (and zh-Hant) → 繁體; other zh → 简体; anything else → English.
Language languageOfLocale(QStringView localeName);
// The first of the system's interface languages (LANGUAGE, then LC_ALL, LC_MESSAGES, LANG).
Language systemLanguage();

// The language the generated texts of this process are shown in; 简体中文 until set.
Language currentLanguage();
void setCurrentLanguage(Language language);

}  // namespace language
