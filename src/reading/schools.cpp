#include "reading/schools.h"

#include <QCoreApplication>

namespace reading {

namespace {

// One choice: its key, and its values in the order of the enum (the first is the default). A value
// may carry a second spelling (the branch itself for the tomb).
struct Choice {
    const char* key;
    QStringList values;
    QStringList aliases;  // same order as values, empty where none
    void (*set)(Schools&, int);
    int (*get)(const Schools&);
};

template <typename E, E Schools::*Field>
void setField(Schools& schools, int index) {
    schools.*Field = static_cast<E>(index);
}

template <typename E, E Schools::*Field>
int getField(const Schools& schools) {
    return static_cast<int>(schools.*Field);
}

#define QINGLAN_FIELD(E, F) &setField<Schools::E, &Schools::F>, &getField<Schools::E, &Schools::F>

const QList<Choice>& choices() {
    static const QList<Choice> all{
        {"multi", {"standard", "ancient"}, {}, QINGLAN_FIELD(MultipleUseGods, multipleUseGods)},
        {"earth-tomb", {"chen", "xu"}, {QStringLiteral("辰"), QStringLiteral("戌")},
         QINGLAN_FIELD(EarthTomb, earthTomb)},
        {"noble", {"program", "jia-wu-geng"}, {}, QINGLAN_FIELD(NobleVerse, nobleVerse)},
        {"seasons", {"program", "classical"}, {}, QINGLAN_FIELD(SeasonNames, seasonNames)},
        {"advance", {"eight", "seven"}, {}, QINGLAN_FIELD(AdvancePairs, advancePairs)},
        {"blade", {"after", "backward", "none"}, {}, QINGLAN_FIELD(YinBlade, yinBlade)},
        {"horse", {"day", "year"}, {}, QINGLAN_FIELD(HorseFrom, horseFrom)},
        {"zi-hour", {"late", "early"}, {}, QINGLAN_FIELD(ZiHour, ziHour)},
        {"plum-year", {"lunar", "lichun"}, {}, QINGLAN_FIELD(PlumYear, plumYear)},
        {"plum-leap", {"month", "split"}, {}, QINGLAN_FIELD(PlumLeap, plumLeap)},
        {"plum-third", {"own", "sum"}, {}, QINGLAN_FIELD(PlumThird, plumThird)},
    };
    return all;
}

}  // namespace

std::optional<QString> applySchool(const QString& keyValue, Schools& schools) {
    const qsizetype equals = keyValue.indexOf(QLatin1Char('='));
    if (equals < 0) {
        return QCoreApplication::translate("reading", "school choice \"%1\" is not KEY=VALUE; choices: %2")
            .arg(keyValue, schoolChoices().join(QStringLiteral(", ")));
    }
    const QString key = keyValue.left(equals).trimmed();
    const QString value = keyValue.mid(equals + 1).trimmed();
    for (const Choice& choice : choices()) {
        if (key != QLatin1String(choice.key)) {
            continue;
        }
        qsizetype index = choice.values.indexOf(value);
        if (index < 0) {
            index = choice.aliases.indexOf(value);
        }
        if (index < 0) {
            return QCoreApplication::translate("reading", "unknown value \"%1\" for school choice %2; allowed: %3")
                .arg(value, key, choice.values.join(QLatin1Char('|')));
        }
        choice.set(schools, static_cast<int>(index));
        return std::nullopt;
    }
    return QCoreApplication::translate("reading", "unknown school choice \"%1\"; choices: %2")
        .arg(key, schoolChoices().join(QStringLiteral(", ")));
}

QStringList schoolChoices() {
    QStringList out;
    for (const Choice& choice : choices()) {
        out << QLatin1String(choice.key) + QLatin1Char('=') + choice.values.join(QLatin1Char('|'));
    }
    return out;
}

QString schoolsText(const Schools& schools) {
    QStringList pairs;
    for (const Choice& choice : choices())
        pairs << QLatin1String(choice.key) + QLatin1Char('=') + choice.values.at(choice.get(schools));
    return pairs.join(QLatin1Char(' '));
}

Schools schoolsFromText(const QString& text) {
    Schools schools;
    for (const QString& pair : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) (void)applySchool(pair, schools);
    return schools;
}

chart::ChartSchools chartSchools(const Schools& schools) {
    chart::ChartSchools out;
    out.earlyZiHour = schools.ziHour == Schools::ZiHour::Early;
    out.sevenAdvances = schools.advancePairs == Schools::AdvancePairs::Seven;
    out.jiaWuGengNoble = schools.nobleVerse == Schools::NobleVerse::JiaWuGengNiuYang;
    out.classicalSeasonNames = schools.seasonNames == Schools::SeasonNames::Classical;
    out.horseFromYear = schools.horseFrom == Schools::HorseFrom::Year;
    return out;
}

}  // namespace reading
