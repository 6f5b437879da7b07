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
};

template <typename E, E Schools::*Field>
void setField(Schools& schools, int index) {
    schools.*Field = static_cast<E>(index);
}

const QList<Choice>& choices() {
    static const QList<Choice> all{
        {"multi", {"standard", "ancient"}, {}, &setField<Schools::MultipleUseGods, &Schools::multipleUseGods>},
        {"earth-tomb", {"chen", "xu"}, {QStringLiteral("辰"), QStringLiteral("戌")},
         &setField<Schools::EarthTomb, &Schools::earthTomb>},
        {"noble", {"program", "jia-wu-geng"}, {}, &setField<Schools::NobleVerse, &Schools::nobleVerse>},
        {"seasons", {"program", "classical"}, {}, &setField<Schools::SeasonNames, &Schools::seasonNames>},
        {"advance", {"eight", "seven"}, {}, &setField<Schools::AdvancePairs, &Schools::advancePairs>},
        {"blade", {"after", "backward", "none"}, {}, &setField<Schools::YinBlade, &Schools::yinBlade>},
        {"horse", {"day", "year"}, {}, &setField<Schools::HorseFrom, &Schools::horseFrom>},
        {"zi-hour", {"late", "early"}, {}, &setField<Schools::ZiHour, &Schools::ziHour>},
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

}  // namespace reading
