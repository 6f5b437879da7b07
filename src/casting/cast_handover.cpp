#include "casting/cast_handover.h"

#include "casting/random_source.h"
#include "chart/cast_pillars.h"

namespace casting {

QStringList sexItems() { return {QStringLiteral("男"), QStringLiteral("女"), QStringLiteral("未知")}; }

QString itemText(const QStringList& items, int index) {
    return index >= 0 && index < items.size() ? items.at(index) : QString();
}

void copyCommonInputs(const CaseInputs& firstTab, CaseInputs& secondTab) { secondTab = firstTab; }

int defaultCategory(const QStringList& categories) {
    const qsizetype other = categories.indexOf(QStringLiteral("杂类"));
    if (other >= 0) return int(other);
    return categories.isEmpty() ? -1 : 0;
}

chart::ArrangementMethod chooseMethod(store::ChartStyle option, RandomSource& random) {
    switch (option) {
    case store::ChartStyle::Jingfang: return chart::ArrangementMethod::Jingfang;
    case store::ChartStyle::Zangshan: return chart::ArrangementMethod::Zangshan;
    case store::ChartStyle::Random: break;
    }
    return random.drawLineValue() == 4 ? chart::ArrangementMethod::Zangshan : chart::ArrangementMethod::Jingfang;
}

store::ChartStyle chartStyleOfNumber(qint64 number) {
    if (number == 1) return store::ChartStyle::Jingfang;
    if (number == 2) return store::ChartStyle::Zangshan;
    return store::ChartStyle::Random;
}

QString makeCaseString(const QDate& date, const std::array<int, 6>& codesTopFirst, chart::ArrangementMethod method,
                       const QTime& time) {
    QString text = chart::dateText(date).remove(u'-');
    for (int code : codesTopFirst) text += QString::number(code);
    return text + chart::methodWord(method) + QStringLiteral("T:") + chart::timeText(time);
}

store::CastCase finishCast(const FinishedCast& cast, const CaseInputs& inputs, const QStringList& categories,
                           bool chartOnly) {
    store::CastCase c;
    c.hexagramName = cast.nameLabel;
    c.caseNumber = cast.caseString;
    c.category = itemText(categories, inputs.category);
    c.gender = itemText(sexItems(), inputs.sex);
    c.birthYear = inputs.birthYear;
    c.subject = inputs.subject;
    c.questionType = inputs.question;
    c.castDate = cast.date;
    const chart::StoredPlace stored = chart::storedPlace(cast.place);
    c.place = stored.place;
    c.timeRule = stored.rule;
    c.chartOnly = chartOnly;
    return c;
}

DateTexts dateTexts(const QDate& date, const QTime& time, cal::CalendarSource source, const chart::CastPlace& place) {
    chart::ChartState state;
    state.castDate = date;
    state.castTime = time;
    state.place = place;
    chart::fillPillars(state, source);
    return {state.pillarLabel, state.termText};
}

}  // namespace casting
