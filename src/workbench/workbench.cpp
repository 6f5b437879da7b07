// The chart side of the current case: building, options, views, reports and the text forms.
#include "workbench/workbench.h"

#include <QDir>
#include <QTimer>

#include "analysis/analysis_report.h"
#include "analysis/line_strength.h"
#include "calendar/calendar_source.h"
#include "casting/cast_session.h"
#include "chart/cast_pillars.h"
#include "chart/text_forms.h"
#include "chart/void_branches.h"
#include "language/generated_text.h"
#include "workbench/clock.h"
#include "workbench/prompter.h"

namespace workbench {

Workbench::Workbench(store::Database& db, const Clock& clock, Prompter& prompter, QString dataRoot, QObject* parent)
    : QObject(parent),
      db_(db),
      settings_(db),
      data_(db),
      clock_(clock),
      prompter_(prompter),
      dataRoot_(std::move(dataRoot)),
      caseStore_(db, history_),
      lists_(db) {
    loadStoredOptions();
    const QDateTime now = clock_.now();
    state_.castDate = now.date();
    state_.castTime = QTime(now.time().hour(), now.time().minute(), now.time().second());
    state_.place = defaultPlace_;
    computePillars();
    state_.clearHighlights();
}

Workbench::~Workbench() = default;

void Workbench::loadStoredOptions() {
    options_.highlightClashes = settings_.get(store::setting::highlightClashes);
    options_.showAllChanged = settings_.get(store::setting::showAllChanged);
    options_.showStems = settings_.get(store::setting::showStems);
    options_.showAnnotations = settings_.get(store::setting::showAnnotations);
    readingPanelShown_ = settings_.get(store::setting::readingPanel);
    options_.calendarSource = cal::parseCalendarSource(settings_.get(store::setting::calendarSource).toStdString())
                                  .value_or(cal::CalendarSource::Formula);
    schools_ = reading::schoolsFromText(settings_.get(store::setting::schoolChoices));
    options_.schools = reading::chartSchools(schools_);
    defaultPlace_ =
        chart::placeOfStored(settings_.get(store::setting::castPlace), settings_.get(store::setting::timeRule));
}

chart::BuildContext Workbench::context() const { return {data_, options_, clock_.today()}; }

bool Workbench::guarded(const std::function<void()>& operation) { return workbench::guarded(prompter_, operation); }

void Workbench::computePillars() {
    state_.schools = options_.schools;
    const QString fallback = chart::fillPillars(state_, options_.calendarSource);
    if (!fallback.isEmpty()) prompter_.message(fallback);
}

void Workbench::showMessages(const QStringList& messages) {
    for (const QString& m : messages) prompter_.message(m);
}

chart::PaintInputs Workbench::paintInputs() const {
    const auto notes = [this](const QString& item) { return analysis::DescribeLineStrength(state_, item); };
    return chart::PaintInputs{state_,      options_, view_.showingChanged,
                              caseHeader_, notes,    &analysis::DescribeReturnInfluence};
}

void Workbench::chartBuilt(const QStringList& messages) {
    castMethod_.reset();
    if (!state_.caseNumber.isEmpty()) caseNumberText_ = state_.caseNumber;
    redraw(false);
    showMessages(messages);
}

void Workbench::redraw(bool clearHighlights) {
    if (clearHighlights && !state_.isEmpty()) state_.clearHighlights();
    if (!state_.isEmpty()) chart::refreshVoid(state_, context());
    emit chartChanged();
}

void Workbench::refresh() { redraw(true); }

void Workbench::redrawKeepingHighlights() { redraw(false); }

bool Workbench::enterCaseNumber(const QString& text) {
    // A typed number carries no place: it is read at the place of 设置.
    state_.place = defaultPlace_;
    if (!showCaseNumber(text)) return false;
    // A typed number shows a chart, not the stored case it may have come from.
    chartIsStoredCase_ = false;
    return true;
}

bool Workbench::showCaseNumber(const QString& text, chart::CaseNumberOrigin origin) {
    caseNumberText_ = text;
    const chart::CaseEntry entry = chart::enterCaseNumber(state_, text, context(), origin);
    if (!entry.ok) {
        emit chartChanged();
        prompter_.message(entry.error);
        return false;
    }
    view_ = {};
    chartBuilt(entry.messages);
    return true;
}

void Workbench::rebuildFromCast() {
    view_ = {};
    computePillars();
    chartBuilt(chart::zhuanggua(state_, context()));
}

void Workbench::useCastDate(const QDate& date) {
    chartIsStoredCase_ = false;
    state_.castDate = date;
    computePillars();
    state_.termText.clear();
    view_.showingChanged = false;
    chartBuilt(chart::zhuanggua(state_, context()));
}

bool Workbench::takeCast(casting::CastSession& session, const casting::FinishedCast& cast) {
    store::CreateResult result;
    if (!guarded([&] { result = session.handOver(caseStore_, cast); })) return false;
    for (std::size_t i = 0; i < 6; ++i) state_.main[i].code = cast.codes[i];
    state_.castDate = cast.date;
    state_.castTime = cast.time;
    state_.place = cast.place;
    state_.method = cast.method;
    caseHeader_ = store::caseLineOfCast(caseStore_.record());
    chartIsStoredCase_ = true;
    emit chartChanged();
    uploadNewCase(result.stored, {});
    return true;
}

QString Workbench::interfaceLanguageCode() const {
    QString code;
    // Unreadable, the setting follows the system, as a new database does.
    workbench::guarded(prompter_, [&] { code = settings_.get(store::setting::interfaceLanguage); });
    return code;
}

void Workbench::setInterfaceLanguageCode(const QString& code) {
    if (interfaceLanguageCode() == code) return;
    guarded([&] { settings_.set(store::setting::interfaceLanguage, code); });
}

void Workbench::setCalendarSource(cal::CalendarSource source) {
    if (options_.calendarSource == source) return;
    options_.calendarSource = source;
    const std::string_view name = cal::calendarSourceName(source);
    guarded([&] {
        settings_.set(store::setting::calendarSource, QString::fromLatin1(name.data(), qsizetype(name.size())));
    });
    computePillars();
    emit calendarSourceChanged();
    if (state_.isEmpty()) {
        emit chartChanged();
        return;
    }
    chartBuilt(chart::zhuanggua(state_, context()));
}

void Workbench::setDefaultPlace(const chart::CastPlace& place) {
    if (defaultPlace_ == place) return;
    defaultPlace_ = place;
    const chart::StoredPlace stored = chart::storedPlace(place);
    guarded([&] {
        settings_.set(store::setting::castPlace, stored.place);
        settings_.set(store::setting::timeRule, stored.rule);
    });
}

void Workbench::setSchools(const reading::Schools& schools) {
    if (schools_ == schools) return;
    schools_ = schools;
    guarded([&] { settings_.set(store::setting::schoolChoices, reading::schoolsText(schools)); });
    emit schoolsChanged();
    const chart::ChartSchools chartSchools = reading::chartSchools(schools);
    if (options_.schools == chartSchools) return;
    options_.schools = chartSchools;
    computePillars();
    if (state_.isEmpty()) {
        emit chartChanged();
        return;
    }
    chartBuilt(chart::zhuanggua(state_, context()));
}

void Workbench::setShowStems(bool on) {
    if (options_.showStems == on) return;
    options_.showStems = on;
    redraw(false);
    guarded([&] { settings_.set(store::setting::showStems, on); });
}

void Workbench::setShowAllChanged(bool on) {
    if (options_.showAllChanged == on) return;
    options_.showAllChanged = on;
    chart::fillChangedLines(state_, options_);
    redraw(false);
    guarded([&] { settings_.set(store::setting::showAllChanged, on); });
}

void Workbench::setShowAnnotations(bool on) {
    if (options_.showAnnotations == on) return;
    options_.showAnnotations = on;
    redraw(false);
    guarded([&] { settings_.set(store::setting::showAnnotations, on); });
}

void Workbench::setHighlightClashes(bool on) {
    if (options_.highlightClashes == on) return;
    options_.highlightClashes = on;
    redraw(false);
    guarded([&] { settings_.set(store::setting::highlightClashes, on); });
}

void Workbench::setShowHiddenChanges(bool on) {
    if (options_.showHiddenChanges == on) return;
    options_.showHiddenChanges = on;
    const QStringList messages = chart::zhuanggua(state_, context());
    view_.showingChanged = false;
    chartBuilt(messages);
}

void Workbench::setMethod(chart::ArrangementMethod method) {
    state_.method = method;
    view_.showingChanged = false;
    chartBuilt(chart::zhuanggua(state_, context()));
}

void Workbench::setBeastPillar(chart::BeastPillar pillar) {
    options_.beastPillar = pillar;
    if (state_.isEmpty()) return;
    chartBuilt(chart::reattachBeasts(state_, view_, context()));
}

void Workbench::setTrigramBases(chart::TrigramBasis direction, chart::TrigramBasis ordinal) {
    options_.directionBasis = direction;
    options_.ordinalBasis = ordinal;
    // Only the descriptions depend on these options. Entering the short number again, as the
    // entry button does, would drop the method word and the time and turn a 藏山卜 chart into 京房式.
    if (state_.isEmpty()) return;
    chartBuilt(chart::zhuanggua(state_, context()));
}

void Workbench::chooseStrengthBasis(chart::StrengthBasis basis) {
    chart::applyStrengthBasis(state_, basis, context());
    chartBuilt({});
}

void Workbench::toggleChangedView() {
    chart::toggleChangedView(state_, view_);
    redraw(false);
}

void Workbench::showMainHexagram() {
    view_.showingChanged = false;
    redraw(false);
}

void Workbench::toggleInvertedView() { chartBuilt(chart::toggleInvertedView(state_, view_, context())); }

bool Workbench::setVoidDate(const QString& typed) {
    const QDate date = QDate::fromString(typed.trimmed(), QStringLiteral("yyyy-MM-dd"));
    if (!date.isValid()) {
        prompter_.message(tr("日期格式不对，请按 yyyy-mm-dd 输入：") + typed);
        return false;
    }
    state_.voidText = chart::voidLabelText(date, state_.voidPair);
    emit chartChanged();
    return true;
}

void Workbench::runReport(int row, int column) {
    if (row == 0)
        refresh();
    else if (state_.isEmpty())
        return;
    const analysis::ReportSettings settings{view_.showingChanged, options_.showHiddenChanges};
    const analysis::AnalysisResult result = analysis::AnalysisReport(state_, data_, settings, row, column);
    if (row > 0) state_.highlight = result.highlight;
    if (!result.message.isEmpty()) prompter_.message(language::shown(result.message));
    editJudgment(language::shown(result.lines).join(u'\n'));
    emit caseTextsChanged();
    emit chartChanged();
}

void Workbench::clickChart(int x, int y) {
    if (!options_.highlightClashes || state_.isEmpty()) return;
    state_.clearHighlights();
    const chart::ChartHit hit = chart::hitTest(x, y);
    if (hit.row > 0) runReport(hit.row, hit.column);
    redraw(false);
}

void Workbench::highlightLine(int position, bool hidden) {
    if (state_.isEmpty() || position < 1 || position > 6) return;
    state_.clearHighlights();
    // Columns of six, top line first: hidden spirits, then the main hexagram.
    state_.highlight[std::size_t((hidden ? 0 : 6) + 6 - position)] = 1;
    redraw(false);
}

void Workbench::setReadingPanelShown(bool on) {
    if (readingPanelShown_ == on) return;
    readingPanelShown_ = on;
    guarded([&] { settings_.set(store::setting::readingPanel, on); });
}

QStringList Workbench::chartTextLines() const {
    QStringList lines = chart::chartTextLines(state_, caseNumberText_);
    for (QString& line : lines) line = language::localizedKeeping(line, {caseNumberText_}, language::currentLanguage());
    return lines;
}

QList<QStringList> Workbench::chartTextTable() const {
    QList<QStringList> rows = chart::chartTextTable(state_, caseNumberText_);
    for (QStringList& row : rows)
        for (QString& cell : row)
            cell = language::localizedKeeping(cell, {caseNumberText_}, language::currentLanguage());
    return rows;
}

bool Workbench::saveNote(const QString& remark) {
    QString error;
    const QString line = chart::noteLine(state_, caseNumberText_, remark);
    if (!chart::appendNote(QDir(dataRoot_).filePath(QStringLiteral("save")), clock_.today(), line, &error)) {
        prompter_.message(error);
        return false;
    }
    prompter_.message(chart::kNoteSaved);
    return true;
}

void Workbench::requestCast() {
    if (!confirmUnsaved([this] { requestCast(); })) return;
    emit castRequested();
}

void Workbench::requestDeferredCast() {
    QTimer::singleShot(0, this, [this] { emit castRequested(); });
}

void Workbench::requestCaseBrowser() {
    if (!confirmUnsaved([this] { requestCaseBrowser(); })) return;
    emit caseBrowserRequested();
}

}  // namespace workbench
