#include "chart/chart_build.h"

#include "calendar/supported_range.h"
#include "chart/beasts.h"
#include "chart/cast_pillars.h"
#include "chart/catalogue.h"
#include "chart/elements.h"
#include "chart/hidden_spirits.h"
#include "chart/stems.h"
#include "chart/trigram_numbers.h"
#include "chart/void_branches.h"

namespace chart {
namespace {

QChar charAt(const QString& text, qsizetype i) { return i < text.size() ? text.at(i) : QChar(); }

// The palace description followed by the ordinal and direction of its palace trigram.
QString describe(QString text, const ChartOptions& options) {
    if (!text.isEmpty()) {
        const QChar trigram = text.at(0);
        text += QStringLiteral(" 序数:") + QString::number(trigramOrdinal(trigram, options.ordinalBasis)) +
                QStringLiteral(" 方位:") + trigramDirection(trigram, options.directionBasis);
    }
    return text;
}

std::array<int, 6> codesOf(const Hexagram& lines) {
    std::array<int, 6> codes{};
    for (std::size_t i = 0; i < 6; ++i) codes[i] = lines[i].code;
    return codes;
}

}  // namespace

bool isHiddenMoving(const ChartState& state, int i) {
    const ChartLine& line = state.main[std::size_t(i)];
    if (line.code != 1 && line.code != 2) return false;
    const QChar branch = charAt(line.branchElement, 0);
    const QChar element = charAt(line.branchElement, 1);
    const QChar monthBranch = charAt(state.firstSlot, 1);
    const QChar monthElement = charAt(state.monthBranchText, 1);
    const bool supported = (element == monthElement && !element.isNull()) ||
                           (generatedElement(monthElement) == element && isElement(element)) ||
                           branch == state.voidPair[0] || branch == state.voidPair[1] ||
                           gainsSeasonQi(branch, monthBranch);
    const QChar dayBranch = charAt(state.secondSlot, 1);
    return supported && !branch.isNull() && clashPartner(dayBranch) == branch;
}

ChangedCode changedCode(int code, bool showHiddenChanges, bool hiddenMoving) {
    const bool hidden = showHiddenChanges && hiddenMoving;
    if (code == 3) return {2, true};
    if (hidden && code == 1) return {2, true};
    if (code == 4) return {1, true};
    if (hidden && code == 2) return {1, true};
    return {code, false};
}

void refreshVoid(ChartState& state, const BuildContext& context) {
    if (state.basis != StrengthBasis::MonthDay) return;
    const QDate date = context.options.randomDate ? context.today : pillarMomentOf(state).date;
    state.voidText = voidLabelText(date, state.voidPair);
}

void fillChangedLines(ChartState& state, const ChartOptions& options) {
    if (!state.hasChanged) return;
    for (std::size_t i = 0; i < 6; ++i) {
        ChartLine& line = state.main[i];
        const bool isStatic = line.code == 1 || line.code == 2;
        const bool hidden = options.showHiddenChanges && isHiddenMoving(state, int(i));
        if (isStatic && !options.showAllChanged && !hidden)
            line.changedLine.clear();
        else
            line.changedLine = state.changed[i].relative + state.changed[i].branchElement;
    }
}

void clearDerivedLines(ChartState& state) {
    for (ChartLine& line : state.main) {
        ChartLine cleared;
        cleared.code = line.code;
        cleared.beast = line.beast;  // a beast row found incomplete keeps the beasts shown
        line = cleared;
    }
    state.changed = Hexagram{};
    state.hasChanged = false;
}

QStringList zhuanggua(ChartState& state, const BuildContext& context) {
    const DivinationData& data = context.data;
    const ChartOptions& options = context.options;
    QStringList messages;

    state.schools = options.schools;
    state.voidText.clear();
    clearDerivedLines(state);
    state.stemPairs.fill(u' ');
    if (state.main[0].code == 0) return messages;

    const QString name = hexagramNameOfCodes(codesOf(state.main));
    state.main[0].hexagramName = name;
    state.title = QStringLiteral("主卦：") + name + hexagramTag(name, state.method);
    const QString palaceDescription = data.hexagramDescription(name).value_or(QString());
    state.mainDescription = describe(palaceDescription, options);
    state.changedDescription.clear();
    storeStemPair(state, name, 2);
    if (!attachBeasts(data, beastStem(state, options.beastPillar), state)) messages << kBeastsIncomplete;
    layOutHexagram(data, name, state.method, state.main);

    refreshVoid(state, context);
    std::array<int, 6> changedCodes{};
    bool anyChange = false;
    for (std::size_t i = 0; i < 6; ++i) {
        const ChangedCode c = changedCode(state.main[i].code, options.showHiddenChanges, isHiddenMoving(state, int(i)));
        changedCodes[i] = c.code;
        anyChange = anyChange || c.changes;
    }

    state.hasChanged = anyChange;
    if (anyChange) {
        for (std::size_t i = 0; i < 6; ++i) state.changed[i].code = changedCodes[i];
        const QString changedName = hexagramNameOfCodes(changedCodes);
        state.changed[0].hexagramName = changedName;
        state.title += QStringLiteral(" 变卦：") + changedName + hexagramTag(changedName, state.method);
        layOutHexagram(data, changedName, state.method, state.changed);
        storeStemPair(state, changedName, 3);
        const QChar palace = palaceElement(state, palaceDescription);
        for (ChartLine& line : state.changed) line.relative = relativeOf(charAt(line.branchElement, 1), palace);
        fillChangedLines(state, options);
        state.changedDescription = describe(data.hexagramDescription(changedName).value_or(QString()), options);
    }

    attachHiddenSpirits(data, palaceElement(state, palaceDescription), state);
    refreshVoid(state, context);  // the drawing sets the void again

    state.caseNumber = state.castDate.toString(QStringLiteral("yyyyMMdd"));
    for (const ChartLine& line : state.main) state.caseNumber += QString::number(line.code);
    return messages;
}

void applyStrengthBasis(ChartState& state, StrengthBasis basis, const BuildContext& context) {
    fillSlots(state, basis);
    switch (basis) {
    case StrengthBasis::MonthDay: refreshVoid(state, context); break;
    case StrengthBasis::YearMonth: break;
    case StrengthBasis::DayHour:
    case StrengthBasis::HourQuarter:
        state.voidText = shortPillarVoid(state.firstSlot, state.secondSlot, state.voidPair);
        break;
    }
}

CaseEntry enterCaseNumber(ChartState& state, const QString& text, const BuildContext& context,
                          CaseNumberOrigin origin) {
    if (text.size() < 14) return {false, kCaseNumberLength, {}};
    const QString dateDigits = text.left(8);
    const QDate date = QDate::fromString(dateDigits, QStringLiteral("yyyyMMdd"));
    bool digitsOnly = true;
    for (QChar c : dateDigits) digitsOnly = digitsOnly && c.isDigit() && c.unicode() < 128;
    if (!digitsOnly || !date.isValid())
        return {false,
                QStringLiteral("六爻ID的日期不对：") + dateDigits.left(4) + u'-' + dateDigits.mid(4, 2) + u'-' +
                    dateDigits.mid(6, 2),
                {}};
    if (origin == CaseNumberOrigin::Entered && !cal::isSupportedDate(date.year(), date.month(), date.day()))
        return {
            false, dateText(date) + QStringLiteral("：") + QString::fromStdString(cal::unsupportedDateMessage()), {}};
    std::array<int, 6> codes{};
    for (int i = 0; i < 6; ++i) {
        const QChar c = text.at(8 + i);
        if (c < u'0' || c > u'9') return {false, QStringLiteral("六爻ID的第9至14位必须是数字：") + text.mid(8, 6), {}};
        codes[std::size_t(i)] = c.unicode() - u'0';
    }
    QTime time = state.castTime;
    const qsizetype t = text.indexOf(QStringLiteral("T:"));
    if (t >= 0) {
        const QString timeDigits = text.mid(t + 2, 8);
        time = QTime::fromString(timeDigits, QStringLiteral("hh:mm:ss"));
        if (!time.isValid()) return {false, QStringLiteral("六爻ID中的时间不对：") + timeDigits, {}};
    }
    if (const QString skipped = pillarMoment(date, time, state.place).problem; !skipped.isEmpty())
        return {false, skipped, {}};

    state.castDate = date;
    state.castTime = time;
    state.method = text.contains(QStringLiteral("藏山卜")) ? ArrangementMethod::Zangshan : ArrangementMethod::Jingfang;
    for (std::size_t i = 0; i < 6; ++i) state.main[i].code = codes[i];
    state.schools = context.options.schools;
    const QString fallback = fillPillars(state, context.options.calendarSource);
    QStringList messages = zhuanggua(state, context);
    if (!fallback.isEmpty()) messages.prepend(fallback);
    return {true, {}, messages};
}

QString methodWord(ArrangementMethod method) {
    return method == ArrangementMethod::Zangshan ? QStringLiteral("藏山卜") : QStringLiteral("京房式");
}

}  // namespace chart
