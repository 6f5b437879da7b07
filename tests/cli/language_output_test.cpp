// The command line's texts in the language asked for: --lang zh_TW leaves no 简体 character in
// chart, analyse and reading over random case numbers; zh_CN prints what the program printed
// before; JSON and the user's own texts never change with the language; a wrong code exits 2.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <random>
#include <sstream>

#include "cli/analyse_command.h"
#include "cli/calendar_command.h"
#include "cli/cases_command.h"
#include "cli/chart_command.h"
#include "cli/reading_command.h"
#include "language/traditional_text.h"
#include "reading/reading.h"

namespace {

using Command = int (*)(const QStringList&, std::ostream&, std::ostream&);

std::pair<int, std::string> run(Command command, QStringList args, const char* lang = nullptr) {
    static QTemporaryDir dir;
    args << QStringLiteral("--data-dir") << dir.path() << QStringLiteral("--today") << QStringLiteral("2026-12-08");
    if (lang) args << QStringLiteral("--lang") << QString::fromLatin1(lang);
    std::ostringstream out, err;
    const int status = command(args, out, err);
    return {status, out.str() + err.str()};
}

bool keepsNoSimplified(const std::string& text, language::Language region) {
    const QString shown = QString::fromStdString(text);
    return language::toTraditional(shown, region) == shown;
}

// Seeded: 300 case numbers of 1950..2049, either method; the plain run (the program's language is
// 简体 here, as under LANGUAGE=zh_CN) is what --lang zh_CN prints; JSON is the same in every language.
TEST(LanguageSweep, TraditionalLeavesNoSimplifiedAndSimplifiedStaysAsBefore) {
    std::mt19937 random(20261210);
    const auto pick = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    const QStringList questions = reading::questionTypes();
    for (int i = 0; i < 300; ++i) {
        QString number = QStringLiteral("%1%2%3")
                             .arg(pick(1950, 2049))
                             .arg(pick(1, 12), 2, 10, QChar(u'0'))
                             .arg(pick(1, 28), 2, 10, QChar(u'0'));
        for (int line = 0; line < 6; ++line) number += QString::number(pick(1, 4));
        number +=
            (pick(0, 3) ? QString() : QStringLiteral("藏山卜")) +
            QStringLiteral("T:%1:%2:00").arg(pick(0, 23), 2, 10, QChar(u'0')).arg(pick(0, 59), 2, 10, QChar(u'0'));
        const QStringList reading = {number, QStringLiteral("--question"), questions[i % questions.size()],
                                     QStringLiteral("--gender"), QStringLiteral("男")};
        for (const auto& [command, args] : {std::pair<Command, QStringList>{cli::runChart, QStringList{number}},
                                            std::pair<Command, QStringList>{cli::runAnalyse, QStringList{number}},
                                            std::pair<Command, QStringList>{cli::runReading, reading}}) {
            const auto plain = run(command, args), taiwan = run(command, args, "zh_TW");
            ASSERT_EQ(plain.first, 0) << number.toStdString() << plain.second;
            EXPECT_EQ(run(command, args, "zh_CN"), plain) << number.toStdString();
            EXPECT_EQ(taiwan.first, 0);
            EXPECT_TRUE(keepsNoSimplified(taiwan.second, language::Language::TraditionalTaiwan)) << taiwan.second;
            if (i % 10) continue;
            const auto hongKong = run(command, args, "zh_HK");
            EXPECT_TRUE(keepsNoSimplified(hongKong.second, language::Language::TraditionalHongKong)) << hongKong.second;
            if (command == cli::runAnalyse) continue;
            const auto json = run(command, args + QStringList{QStringLiteral("--json")});
            for (const char* code : {"zh_TW", "en"})
                EXPECT_EQ(run(command, args + QStringList{QStringLiteral("--json")}, code), json) << code;
        }
    }
}

// The solar terms of 2024 in 繁體, 小寒 first; a wrong code names the right ones and exits 2.
TEST(LanguageOutput, CalendarTermsAndAWrongCode) {
    std::ostringstream out, err;
    ASSERT_EQ(cli::runCalendar({"terms", "2024", "2024", "--lang", "zh_TW"}, out, err), 0) << err.str();
    QStringList names;
    for (const QString& row : QString::fromStdString(out.str()).split(u'\n', Qt::SkipEmptyParts).mid(1))
        names << row.section(u'\t', 1, 1);
    EXPECT_EQ(names.join(u' '),
              u"小寒 大寒 立春 雨水 驚蟄 春分 清明 穀雨 立夏 小滿 芒種 夏至 小暑 大暑 立秋 處暑 "
              u"白露 秋分 寒露 霜降 立冬 小雪 大雪 冬至");
    const auto wrong = run(cli::runChart, {QStringLiteral("20240204311111")}, "fr");
    EXPECT_EQ(wrong, (std::pair<int, std::string>{2, "qinglan-cli chart: --lang needs zh_CN, zh_TW or en, not fr\n"}));
}

// The user's category names and subjects stay as typed; the program's words are converted.
TEST(LanguageOutput, StatsKeepTheUsersTexts) {
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("cases.jsonl")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "{\"gua_bianhao\":\"20240204311112\",\"lei_mingcheng\":\"冲克专题\",\"zhanlei\":\"求财\","
        "\"shiyou\":\"问丑年冲克\",\"nian\":2024,\"yue\":2,\"ri\":4,\"outcome\":\"pending\"}\n");
    file.close();
    const auto cases = [&](QStringList args, const char* lang) {
        std::ostringstream out, err;
        args << QStringLiteral("--data-dir") << dir.filePath(QStringLiteral("data")) << QStringLiteral("--create")
             << QStringLiteral("--lang") << QString::fromLatin1(lang);
        return cli::runCases(args, out, err) == 0 ? out.str() : err.str();
    };
    cases({QStringLiteral("import"), file.fileName()}, "zh_CN");
    const std::string byCategory =
        cases({QStringLiteral("stats"), QStringLiteral("--by"), QStringLiteral("category")}, "zh_TW");
    for (const char* expected : {"\n分類\t", "\n冲克专题\t1\t", "\t20240204311112\t问丑年冲克\n"})
        EXPECT_NE(byCategory.find(expected), std::string::npos) << expected << '\n' << byCategory;
    EXPECT_NE(cases({QStringLiteral("stats")}, "zh_TW").find("\n占類\t"), std::string::npos);
    EXPECT_NE(cases({QStringLiteral("stats")}, "zh_TW").find("\n求財\t1\t"), std::string::npos);
    EXPECT_EQ(cases({QStringLiteral("stats"), QStringLiteral("--json")}, "zh_TW"),
              cases({QStringLiteral("stats"), QStringLiteral("--json")}, "zh_CN"));
}

}  // namespace
