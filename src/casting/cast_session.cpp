#include "casting/cast_session.h"

#include <QCoreApplication>

#include "calendar/supported_range.h"
#include "casting/plum_cast.h"

#include "casting/cast_text.h"
#include "chart/cast_pillars.h"

namespace casting {
namespace {

// The lines as the progress text names them, from the bottom.
const std::array<const char*, 6> kLineNames = {
    QT_TRANSLATE_NOOP("casting::CastSession", "正在取初爻，请耐心等待……"),
    QT_TRANSLATE_NOOP("casting::CastSession", "正在取二爻，请耐心等待……"),
    QT_TRANSLATE_NOOP("casting::CastSession", "正在取三爻，请耐心等待……"),
    QT_TRANSLATE_NOOP("casting::CastSession", "正在取四爻，请耐心等待……"),
    QT_TRANSLATE_NOOP("casting::CastSession", "正在取五爻，请耐心等待……"),
    QT_TRANSLATE_NOOP("casting::CastSession", "正在取上爻，请耐心等待……")};

QString translated(const char* text) { return QCoreApplication::translate("casting::CastSession", text); }

CastOutcome message(CastOutcome outcome, const QString& text) {
    outcome.kind = CastOutcome::Kind::Message;
    outcome.message = text;
    return outcome;
}

// Marks the subject of a cast with its way ("(手摇)", "(电脑卦)") unless it already names it.
void markSubject(QString& subject, const QString& way) {
    if (!subject.isEmpty() && !subject.contains(way)) subject = u'(' + way + u')' + subject;
}

}  // namespace

CastSession::CastSession(const chart::DivinationData& data, store::Settings& settings, RandomSource random, Clock clock)
    : data_(data), settings_(settings), random_(std::move(random)), clock_(std::move(clock)) {
    sourceText_ = random_.sourceText();
    methodOption_ = chartStyleOfNumber(settings_.get(store::setting::castingMethod));
}

void CastSession::setSourceText(const QString& text) {
    sourceText_ = text;
    if (onSourceText) onSourceText(text);
}

void CastSession::show() {
    if (!shown_) {
        const QDateTime now = clock_();
        firstTab.date = secondTab.date = now.date();
        firstTab.time = secondTab.time = now.time();
        shown_ = true;
    }
    dateLabels_.header = dateTexts(secondTab.date, secondTab.time, calendarSource, place).header;
    manual_.resetForShow();
    readPendingText();
}

void CastSession::readPendingText() {
    const QStringList text = pending_ ? pendingText_ : QStringList();
    pending_ = false;
    pendingText_.clear();
    if (text.isEmpty()) return;
    const CastTextResult result = readCastText(text, data_, today(), calendarSource);
    if (result.date) {
        secondTab.date = *result.date;
        dateChanged();
    }
    manual_.setNameLabel(result.nameLabel);
    if (result.values) manual_.setValues(*result.values);
}

void CastSession::afterShow(const QStringList& categoryNames) {
    categories = categoryNames;
    firstTab.category = secondTab.category = defaultCategory(categories);
}

void CastSession::setMethodOption(store::ChartStyle option) {
    methodOption_ = option;
    settings_.set(store::setting::castingMethod, qint64(option));
}

void CastSession::dateChanged() { dateLabels_ = dateTexts(secondTab.date, secondTab.time, calendarSource, place); }

void CastSession::clickThrow(int k) {
    nameOrNumber.clear();
    manual_.clickThrow(k);
}

void CastSession::clickLine(int line) {
    nameOrNumber.clear();
    manual_.cycleLine(line);
}

CastOutcome CastSession::nextLine() {
    CastOutcome outcome;
    if (manual_.topLineChecked()) {
        outcome = finishManualCast();
        if (outcome.kind == CastOutcome::Kind::Finished || outcome.kind == CastOutcome::Kind::CaseNumber)
            return outcome;
    }
    manual_.moveCheckUp();
    return outcome;
}

CastOutcome CastSession::startCast() {
    CastOutcome outcome;
    outcome.resetMain = true;
    outcome.method = chooseMethod(methodOption_, random_);
    return outcome;
}

void CastSession::takeRandomDate() {
    setSourceText(translated(QT_TRANSLATE_NOOP("casting::CastSession", "生成随机日期，请耐心等待……")));
    if (const std::optional<QDate> date = random_.randomCastDate(today())) secondTab.date = *date;
}

FinishedCast CastSession::finished(const std::array<int, 6>& codes, chart::ArrangementMethod method) const {
    return {codes,
            secondTab.date,
            secondTab.time,
            method,
            makeCaseString(secondTab.date, codes, method, secondTab.time),
            manual_.nameLabel(),
            place};
}

std::optional<CastOutcome> CastSession::momentRefusal() const {
    const QDate& d = secondTab.date;
    if (!cal::isSupportedDate(d.year(), d.month(), d.day()))
        return message({}, QString::fromStdString(cal::unsupportedDateMessage()));
    if (const QString skipped = chart::pillarMoment(secondTab.date, secondTab.time, place).problem; !skipped.isEmpty())
        return message({}, skipped);
    return std::nullopt;
}

CastOutcome CastSession::finishedWith(const std::array<int, 6>& codes) {
    CastOutcome outcome = startCast();
    LineValues values{};
    for (std::size_t i = 0; i < 6; ++i) values[5 - i] = codes[i];
    manual_.setValues(values);
    manual_.refreshNames();
    outcome.chartLinesCleared = true;
    outcome.kind = CastOutcome::Kind::Finished;
    outcome.cast = finished(codes, outcome.method);
    return outcome;
}

CastOutcome CastSession::plumCastByTime() {
    if (auto refusal = momentRefusal()) return *refusal;
    const chart::PillarMoment moment = chart::pillarMoment(secondTab.date, secondTab.time, place);
    const std::optional<PlumTimeCast> cast = castByTime(moment.date, moment.time, calendarSource, schools);
    if (!cast) return message({}, QString::fromStdString(cal::unsupportedDateMessage()));
    return finishedWith(cast->hexagram.codesTopFirst());
}

CastOutcome CastSession::plumCastByNumbers(const QStringList& numbers, bool addHour) {
    if (auto refusal = momentRefusal()) return *refusal;
    if (addHour && numbers.size() != 2)
        return message({}, translated(QT_TRANSLATE_NOOP("casting::CastSession",
                                                         "加时辰数只用于两个数；三个数时由第三个数定动爻。")));
    const chart::PillarMoment moment = chart::pillarMoment(secondTab.date, secondTab.time, place);
    const auto cast = castByNumbers(numbers, addHour ? hourBranchNumber(moment.time) : 0, schools);
    if (const QString* problem = std::get_if<QString>(&cast)) return message({}, *problem);
    return finishedWith(std::get<PlumHexagram>(cast).codesTopFirst());
}

CastOutcome CastSession::yarrowCast() {
    if (auto refusal = momentRefusal()) return *refusal;
    random_.reseed();
    if (!random_.available()) return message({}, random_.sourceText());
    std::array<int, 6> codes{};
    for (int line = 5; line >= 0; --line) codes[std::size_t(line)] = random_.drawYarrowValue();  // 初爻 first
    return finishedWith(codes);
}

CastOutcome CastSession::manualCastFirstTab() {
    const QString unclicked = manual_.unclickedThrowMessage();
    if (!unclicked.isEmpty()) return message({}, unclicked);
    copyCommonInputs(firstTab, secondTab);
    return finishManualCast();
}

CastOutcome CastSession::finishManualCast() {
    CastOutcome outcome = startCast();
    if (!nameOrNumber.isEmpty()) {
        // A case number is the main window's to enter; the lines here are not a cast then.
        if (isCaseNumberInput(nameOrNumber)) {
            outcome.kind = CastOutcome::Kind::CaseNumber;
            outcome.caseNumber = nameOrNumber;
            return outcome;
        }
        pendingText_ = {nameOrNumber};
        pending_ = true;
        show();
    }
    outcome.chartLinesCleared = true;
    for (int value : manual_.values())
        if (value == 0) return message(outcome, translated(QT_TRANSLATE_NOOP("casting::CastSession", "请全部爻选择完毕。")));
    const std::array<int, 6> codes = codesTopFirst(manual_.values());
    if (randomDate) takeRandomDate();
    markSubject(secondTab.subject, QStringLiteral("手摇"));
    outcome.kind = CastOutcome::Kind::Finished;
    outcome.cast = finished(codes, outcome.method);
    return outcome;
}

CastOutcome CastSession::computerCast() {
    random_.reseed();
    if (!random_.available())
        return message(
            {}, translated(QT_TRANSLATE_NOOP("casting::CastSession",
                                             "您的电脑不支持硬件真随机数，也无法通过网络获取随机数，cpu真随机数需要2012年产的22纳米的"
                                             "ivy架构的intel cpu才支持。如果网络通畅，可重启程序试试。")));
    CastOutcome outcome = startCast();
    if (randomDate) takeRandomDate();
    outcome.chartLinesCleared = true;
    const bool pseudo = random_.kind() == SourceKind::Pseudo;
    LineValues values{};
    for (std::size_t line = 0; line < 6; ++line) {
        if (pseudo)
            setSourceText(translated(kLineNames[line]));
        values[line] = random_.drawLineValue();
    }
    if (pseudo) setSourceText(translated(QT_TRANSLATE_NOOP("casting::CastSession", "电脑伪随机数可用。")));
    manual_.setValues(values);
    manual_.refreshNames();
    markSubject(secondTab.subject, QStringLiteral("电脑卦"));
    outcome.kind = CastOutcome::Kind::Finished;
    outcome.cast = finished(codesTopFirst(values), outcome.method);
    return outcome;
}

CastOutcome CastSession::computerCastFirstTab() {
    copyCommonInputs(firstTab, secondTab);
    return computerCast();
}

CastOutcome CastSession::castByNameOrNumber() {
    if (nameOrNumber.isEmpty())
        return message({}, translated(QT_TRANSLATE_NOOP("casting::CastSession",
                                                         "请输入卦例id或者卦名，卦例ID是一个14位长的数字串。")));
    CastOutcome outcome;
    if (isCaseNumberInput(nameOrNumber)) {
        outcome.kind = CastOutcome::Kind::CaseNumber;
        outcome.caseNumber = nameOrNumber;
        return outcome;
    }
    pendingText_ = {nameOrNumber};
    pending_ = true;
    show();
    return outcome;
}

bool CastSession::matchPillars(const QString& input) {
    if (input.isEmpty()) return false;
    const PillarTexts pillars = readMatchPillars(input);
    if (!pillars.complete()) return false;
    secondTab.date = chart::dateOfPillars(pillars.month, pillars.day, today(), calendarSource).date;
    dateChanged();
    return true;
}

void CastSession::takeViewerDate(const QDate& date) {
    secondTab.date = date;
    dateChanged();
}

store::CreateResult CastSession::handOver(store::CaseStore& cases, const FinishedCast& cast) {
    const store::CastCase c = finishCast(cast, secondTab, categories, chartOnly);
    chartOnly = false;
    return cases.createCase(c);
}

}  // namespace casting
