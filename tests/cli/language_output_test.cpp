// The command line's texts in the language asked for: --lang zh_TW leaves no 简体 character in
// chart, analyse and reading over random case numbers; zh_CN prints what the program printed
// before; JSON and the user's own texts never change with the language; a wrong code exits 2.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <random>
#include <sstream>

#include "cli/analyse_command.h"
#include "cli/calendar_command.h"
#include "cli/cases_command.h"
#include "cli/chart_command.h"
#include "cli/reading_command.h"
#include "language/language.h"
#include "language/traditional_text.h"
#include "reading/reading.h"

namespace {

using language::Language;
using Command = int (*)(const QStringList&, std::ostream&, std::ostream&);

struct CliResult {
    int status;
    std::string out;
    std::string err;
};

CliResult run(Command command, QStringList args) {
    static QTemporaryDir dir;
    args << QStringLiteral("--data-dir") << dir.path() << QStringLiteral("--today") << QStringLiteral("2026-12-08");
    std::ostringstream out, err;
    const int status = command(args, out, err);
    return {status, out.str(), err.str()};
}

QStringList withLang(QStringList args, const char* code) { return args << QStringLiteral("--lang") << code; }

// Seeded case numbers: a date of 1950..2049, six line codes, either method, a time of day.
QStringList randomCaseNumbers(int count) {
    std::mt19937 random(20261210);
    const auto uniform = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    QStringList numbers;
    for (int i = 0; i < count; ++i) {
        QString text = QStringLiteral("%1%2%3")
                           .arg(uniform(1950, 2049))
                           .arg(uniform(1, 12), 2, 10, QLatin1Char('0'))
                           .arg(uniform(1, 28), 2, 10, QLatin1Char('0'));
        for (int line = 0; line < 6; ++line) text += QString::number(uniform(1, 4));
        if (uniform(0, 3) == 0) text += QStringLiteral("藏山卜");
        text += QStringLiteral("T:%1:%2:00")
                    .arg(uniform(0, 23), 2, 10, QLatin1Char('0'))
                    .arg(uniform(0, 59), 2, 10, QLatin1Char('0'));
        numbers << text;
    }
    return numbers;
}

bool keepsNoSimplified(const std::string& text, Language region) {
    const QString shown = QString::fromStdString(text);
    return language::toTraditional(shown, region) == shown;
}

class LanguageSweep : public ::testing::Test {
protected:
    // The commands without --lang print in the program's language: the system's, 简体 under the
    // tests' LANGUAGE=zh_CN.
    void SetUp() override {
        language::setCurrentLanguage(language::systemLanguage());
        ASSERT_EQ(language::currentLanguage(), Language::SimplifiedChinese)
            << "run under LANGUAGE=zh_CN (ctest sets it)";
    }
};

TEST_F(LanguageSweep, TraditionalLeavesNoSimplifiedAndSimplifiedStaysAsBefore) {
    const QStringList questions = reading::questionTypes();
    const QStringList numbers = randomCaseNumbers(300);
    for (int i = 0; i < numbers.size(); ++i) {
        const QString& number = numbers[i];
        const std::pair<const char*, QStringList> calls[] = {
            {"chart", {number}},
            {"analyse", {number}},
            {"reading",
             {number, QStringLiteral("--question"), questions[i % questions.size()], QStringLiteral("--gender"),
              i % 2 ? QStringLiteral("男") : QStringLiteral("女")}},
        };
        for (const auto& [name, args] : calls) {
            const Command command = name == std::string("chart")     ? cli::runChart
                                    : name == std::string("analyse") ? cli::runAnalyse
                                                                     : cli::runReading;
            const CliResult plain = run(command, args);
            const CliResult simplified = run(command, withLang(args, "zh_CN"));
            const CliResult taiwan = run(command, withLang(args, "zh_TW"));
            ASSERT_EQ(plain.status, 0) << name << ' ' << number.toStdString() << ' ' << plain.err;
            EXPECT_EQ(simplified.out, plain.out) << name << ' ' << number.toStdString();
            EXPECT_EQ(taiwan.status, plain.status);
            EXPECT_TRUE(keepsNoSimplified(taiwan.out, Language::TraditionalTaiwan))
                << name << ' ' << number.toStdString() << '\n'
                << taiwan.out;
            if (name != std::string("analyse")) {
                EXPECT_NE(taiwan.out, plain.out) << name;
            }
            if (i % 10 == 0) {
                const CliResult hongKong = run(command, withLang(args, "zh_HK"));
                EXPECT_TRUE(keepsNoSimplified(hongKong.out, Language::TraditionalHongKong))
                    << name << ' ' << number.toStdString() << '\n'
                    << hongKong.out;
            }
            // The case number heads the text copy as it was typed, whatever the language.
            if (name == std::string("chart")) {
                EXPECT_EQ(taiwan.out.substr(0, taiwan.out.find(' ')), plain.out.substr(0, plain.out.find(' ')));
            }
        }
        if (i % 10 == 0) {
            for (const Command command : {cli::runChart, cli::runReading}) {
                const QStringList json = {number, QStringLiteral("--json")};
                const std::string asStored = run(command, json).out;
                for (const char* code : {"zh_CN", "zh_TW", "en"})
                    EXPECT_EQ(run(command, withLang(json, code)).out, asStored) << code << ' ' << number.toStdString();
            }
        }
    }
}

// 2024-02-04 16:24, 乾为天 moving at the top to 泽天夬 (as in the chart command's own test).
TEST(LanguageOutput, ChartTextCopyInTaiwanCharacters) {
    const CliResult r = run(cli::runChart, withLang({QStringLiteral("20240204311111T:16:24:00")}, "zh_TW"));
    ASSERT_EQ(r.status, 0) << r.err;
    const QStringList lines = QString::fromStdString(r.out).split(u'\n');
    ASSERT_EQ(lines.size(), 14);
    EXPECT_EQ(lines[0], u"卦例ID=20240204311111 京房式");
    EXPECT_EQ(lines[4], u"主卦：乾為天(六沖) 變卦：澤天夬");
    EXPECT_EQ(lines[6], u"六獸\t伏神\t  六親納支  世應 爻像    變爻");
    EXPECT_EQ(lines[7], u"朱雀\t \t  父母戌土  世\to\t父母未土");
}

// The names of the solar terms of a year in 繁體, 小寒 first; a 丑 year stays 丑.
TEST(LanguageOutput, CalendarRowsInTraditionalCharacters) {
    std::ostringstream out, err;
    ASSERT_EQ(cli::runCalendar({"terms", "2024", "2024", "--lang", "zh_TW"}, out, err), 0) << err.str();
    QStringList names;
    for (const QString& row : QString::fromStdString(out.str()).split(u'\n', Qt::SkipEmptyParts).mid(1))
        names << row.section(u'\t', 1, 1);
    EXPECT_EQ(names.join(u' '),
              u"小寒 大寒 立春 雨水 驚蟄 春分 清明 穀雨 立夏 小滿 芒種 夏至 小暑 大暑 立秋 處暑 "
              u"白露 秋分 寒露 霜降 立冬 小雪 大雪 冬至");

    std::ostringstream days, simplifiedDays;
    ASSERT_EQ(cli::runCalendar({"days", "2021", "2021", "--lang", "zh_HK"}, days, err), 0) << err.str();
    ASSERT_EQ(cli::runCalendar({"days", "2021", "2021"}, simplifiedDays, err), 0) << err.str();
    EXPECT_NE(days.str().find("2021-06-01\t辛丑\t"), std::string::npos);  // 2021 is 辛丑
    EXPECT_EQ(days.str(), simplifiedDays.str());                          // stems and branches are written alike
}

// The user's category names stay as typed; the program's words (占类 and 用神 values, titles) are
// converted.
TEST(LanguageOutput, StatsKeepTheUsersCategoryNames) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("cases.jsonl"));
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(
            "{\"gua_bianhao\":\"20240204311111\",\"lei_mingcheng\":\"冲克专题\",\"zhanlei\":\"求财\","
            "\"shiyou\":\"问丑年财运\",\"outcome\":\"hit\"}\n"
            "{\"gua_bianhao\":\"20240204311112\",\"lei_mingcheng\":\"冲克专题\",\"zhanlei\":\"求财\","
            "\"shiyou\":\"问丑年冲克\",\"nian\":2024,\"yue\":2,\"ri\":4,\"outcome\":\"pending\"}\n");
    }
    const QString data = dir.filePath(QStringLiteral("data"));
    const auto cases = [&](QStringList args) {
        args << QStringLiteral("--data-dir") << data << QStringLiteral("--create");
        std::ostringstream out, err;
        const int status = cli::runCases(args, out, err);
        return CliResult{status, out.str(), err.str()};
    };
    ASSERT_EQ(cases({QStringLiteral("import"), file}).status, 0);
    CliResult r =
        cases(withLang({QStringLiteral("stats"), QStringLiteral("--by"), QStringLiteral("category")}, "zh_TW"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\n分類\t"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\n冲克专题\t2\t"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\t20240204311112\t问丑年冲克\n"), std::string::npos) << r.out;  // the subject as typed
    r = cases(withLang({QStringLiteral("stats"), QStringLiteral("--by"), QStringLiteral("question")}, "zh_TW"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\n占類\t"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\n求財\t2\t"), std::string::npos) << r.out;
    // The JSON is the same in every language.
    const QStringList json = {QStringLiteral("stats"), QStringLiteral("--json")};
    EXPECT_EQ(cases(withLang(json, "zh_TW")).out, cases(json).out);
}

TEST(LanguageOutput, AnUnknownCodeExitsWithTwo) {
    const CliResult chart = run(cli::runChart, withLang({QStringLiteral("20240204311111")}, "fr"));
    EXPECT_EQ(chart.status, 2);
    EXPECT_NE(chart.err.find("--lang needs zh_CN, zh_TW or en, not fr"), std::string::npos) << chart.err;
    EXPECT_EQ(chart.out, "");
    std::ostringstream out, err;
    EXPECT_EQ(cli::runCalendar({"days", "2024", "2024", "--lang", "klingon"}, out, err), 2);
    EXPECT_NE(err.str().find("not klingon"), std::string::npos) << err.str();
}

}  // namespace
