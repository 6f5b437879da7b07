#pragma once
// The current case, shared by every window: the chart with its options and view, the case
// record with its judgment and feedback texts and the browsing history, the recent cases and
// the case service while logged in. Windows call its operations and reflect its state when it
// signals; no window reaches another window. No widgets here.
#include <QDate>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "chart/chart_build.h"
#include "chart/chart_view.h"
#include "chart_drawing/chart_painter.h"
#include "reading/schools.h"
#include "store/case_history.h"
#include "store/case_lists.h"
#include "store/case_store.h"
#include "store/database.h"
#include "store/settings.h"
#include "store/sqlite_divination_data.h"
#include "store/texts_to_save.h"

namespace casting {
class CastSession;
struct FinishedCast;
}  // namespace casting
namespace cloud {
class CloudCaseService;
}

namespace workbench {

class Clock;
class Prompter;

class Workbench : public QObject {
    Q_OBJECT
public:
    Workbench(store::Database& db, const Clock& clock, Prompter& prompter, QString dataRoot, QObject* parent = nullptr);
    ~Workbench() override;

    // --- The chart ---------------------------------------------------------------------
    const chart::ChartState& chart() const { return state_; }
    const chart::ChartOptions& options() const { return options_; }
    const chart::ChartView& view() const { return view_; }
    const chart::DivinationData& divinationData() const { return data_; }
    // 性别:… 出生:… 占事… of the case on view, drawn above the chart.
    const QString& caseHeader() const { return caseHeader_; }
    void setCaseHeader(const QString& header) {
        caseHeader_ = header;
        emit chartChanged();
    }
    // The text of the case-number entry: what was typed, or the number of the chart built.
    const QString& caseNumberText() const { return caseNumberText_; }
    void setCaseNumberText(const QString& text) { caseNumberText_ = text; }
    // What the chart painter needs, strength notes included.
    chart::PaintInputs paintInputs() const;

    // Runs the case-number entry with a text, as typing it and pressing "确定" does.
    bool enterCaseNumber(const QString& text);
    // Recomputes the pillar label for the cast moment and rebuilds the chart.
    void rebuildFromCast();
    // A date picked in the calendar viewer becomes the cast date: the pillar label for it, the
    // term label emptied, the chart laid out again.
    void useCastDate(const QDate& date);
    // The cast time the casting dialog's "关闭" leaves behind.
    void setCastTime(const QTime& time) { state_.castTime = time; }
    // A finished cast: handed over to the store (and the case service), then written into the
    // chart record and the case header. False when the store failed (the chart is unchanged).
    bool takeCast(casting::CastSession& session, const casting::FinishedCast& cast);

    // Options of the main window. Those kept across runs are stored at once.
    void setShowStems(bool on);
    void setShowAllChanged(bool on);
    void setShowAnnotations(bool on);
    void setHighlightClashes(bool on);
    void setShowHiddenChanges(bool on);
    void setMethod(chart::ArrangementMethod method);
    void setBeastPillar(chart::BeastPillar pillar);
    void setTrigramBases(chart::TrigramBasis direction, chart::TrigramBasis ordinal);
    void chooseStrengthBasis(chart::StrengthBasis basis);
    // 节气算法: where the pillars take their term moments and new moons. Stored at once; the
    // pillar label and the chart are computed again under the new source.
    cal::CalendarSource calendarSource() const { return options_.calendarSource; }
    void setCalendarSource(cal::CalendarSource source);
    // The casting dialog's "使用随机日期": the void is then counted from today.
    void setRandomDateOption(bool on) { options_.randomDate = on; }
    // The school choices of 设置. Stored at once; the chart is laid out again under them (a
    // stored case is not changed).
    const reading::Schools& schools() const { return schools_; }
    void setSchools(const reading::Schools& schools);
    // The place and clock of 设置: new casts and typed case numbers start from it (a stored case
    // keeps its own). Stored at once; the chart on view is not changed.
    const chart::CastPlace& defaultPlace() const { return defaultPlace_; }
    void setDefaultPlace(const chart::CastPlace& place);

    // The view: main or changed hexagram, inverted or not; a redraw with the highlights cleared.
    void toggleChangedView();
    void showMainHexagram();
    void toggleInvertedView();
    // The refresh button "刷新": a redraw with the highlights cleared; the popup's "刷新显示"
    // redraws keeping them.
    void refresh();
    void redrawKeepingHighlights();
    // A date typed for the void text ("旬空出空"); false (after a message) when it is not a date.
    bool setVoidDate(const QString& typed);

    // The whole-chart report (row 0) or the report of one line item; the report replaces the
    // judgment text, which then counts as edited. The whole-chart report first clears the
    // highlights and redraws, and runs on an empty chart too (it then ends with its message).
    void runReport(int row, int column);
    // A left click on the chart at a point of the drawing area, in highlight mode.
    void clickChart(int x, int y);
    // Points at one line of the main hexagram (1 = 初爻 … 6 = 上爻), or at the hidden spirit
    // beside it, in the click colour; the other highlights are cleared.
    void highlightLine(int position, bool hidden = false);

    // The 断卦辅助 panel shown; stored at once.
    bool readingPanelShown() const { return readingPanelShown_; }
    void setReadingPanelShown(bool on);
    // 界面语言 (设置): the code of the chosen interface language, empty to follow the system's;
    // stored at once, shown from the next start.
    QString interfaceLanguageCode() const;
    void setInterfaceLanguageCode(const QString& code);

    // The chart as text lines (empty for an empty chart) and the note line appended to the
    // month's note file; false (after its message) when the file could not be written.
    // The text lines and the table's cells are in the language shown, the case number as typed.
    QStringList chartTextLines() const;
    QList<QStringList> chartTextTable() const;
    bool saveNote(const QString& remark);

    // --- The case ----------------------------------------------------------------------
    store::CaseStore& caseStore() { return caseStore_; }
    store::CaseHistory& history() { return history_; }
    store::CaseLists& caseLists() { return lists_; }
    store::Settings& settings() { return settings_; }
    Prompter& prompter() { return prompter_; }
    const Clock& clock() const { return clock_; }

    const QString& judgment() const { return judgment_; }
    const QString& feedback() const { return feedback_; }
    bool judgmentUnsaved() const { return judgmentUnsaved_; }
    // The outcome of the case on view (应验 …, its date, the predicted date). It is saved with the
    // feedback, so a change of it counts as an unsaved feedback, with the feedback's no-loss rules.
    const store::CaseOutcome& outcome() const { return outcome_; }
    void editOutcome(const store::CaseOutcome& outcome);
    // The 应期 candidate last chosen in the reading panel (invalid when none), which the outcome's
    // predicted date can take.
    QDate chosenTiming() const { return chosenTiming_; }
    void chooseTiming(const QDate& date);
    // Sets the outcome of a stored local case (the case browser); false after the database's
    // message. The case on view takes it too unless its own outcome is being edited.
    bool setCaseOutcome(qint64 id, const store::CaseOutcome& outcome);
    std::optional<store::CaseOutcome> caseOutcome(qint64 id);
    bool feedbackUnsaved() const { return feedbackUnsaved_; }
    // The editors' texts as typed; each edit counts as unsaved.
    void editJudgment(const QString& text);
    void editFeedback(const QString& text);
    // "保存断语", "保存反馈", "全部保存" into the case whose chart is on view; a chart that is
    // not a stored case is first offered to be stored as a new case. True when saved. Logged
    // in, the texts are stored here at once and count as saved once the case service has taken
    // them too: false is returned then and the outcome shown when its answer comes.
    bool saveTexts(store::TextsToSave which);
    // The question type (占类) of the chart on view. A stored case saves it into its row at once;
    // another chart only holds it. False after the database's message when it could not be saved.
    bool setQuestionType(const QString& type);
    QString questionType() const { return chartIsStoredCase_ ? caseStore_.record().questionType : looseQuestionType_; }
    // A cast stored (or, chart only, held for its first save) as the case the texts go into;
    // false after the database's message when it could not be stored. Logged in, it goes to the
    // case service next; next (when given) gets false when it could not be stored here or the
    // user cancelled the request, true once the service answered.
    bool storeCast(const store::CastCase& cast, std::function<void(bool)> next = {});
    // Whether the chart on view is the case the texts are saved into (a cast, a loaded case),
    // rather than a chart of a typed number or a picked date.
    bool chartIsStoredCase() const { return chartIsStoredCase_; }
    // Asks to save unsaved texts before an action; false when the action is abandoned, also
    // when a save asked for failed. A save that waits for the case service returns false as
    // well and runs retry (the action again) once the service has taken the texts.
    bool confirmUnsaved(std::function<void()> retry = {});
    // Both texts cleared, nothing unsaved.
    void clearCaseTexts() { setTexts({}, {}, false); }
    // A cast begins: both texts cleared and the method of the cast shown until the chart is built.
    void resetForCast(chart::ArrangementMethod method);
    // The method the method buttons show: the cast's under way, else the chart's.
    chart::ArrangementMethod methodShown() const { return castMethod_.value_or(state_.method); }

    // Opens a stored local case: texts, header, chart. False when there is no row or it failed.
    bool openLocalCase(qint64 id);
    // Opens a case of the case service like a local one once it has answered; a failure shows
    // its message and changes nothing.
    void openCloudCase(qint64 id);
    // "查看上一卦" / "查看下一卦", after the save prompt.
    void stepBack();
    void stepForward();
    // The recent cases (from the case service while logged in) go to show; nothing but a
    // message when they could not be read.
    void recentCases(const std::function<void(const QList<store::CaseListRow>&)>& show);
    // A case picked from the recent list by its item text: appended to the history and opened.
    // False (after its message) when the item names no case.
    bool openRecentCase(const QString& itemText);

    // Owning the local cases. Each asks first where the user must confirm, shows its message and
    // signals casesChanged when something changed; none touches the case service.
    // Deletes a local case (named by its list text in the question); it leaves the history too.
    bool deleteCase(qint64 id, const QString& itemText);
    // Moves a local case to another category.
    bool moveCase(qint64 id, qint64 categoryId);
    // Adds a category; deletes one (its cases move to "杂类" after a question).
    bool addCategory(const QString& name);
    bool deleteCategory(qint64 categoryId, const QString& name);
    // A consistent copy of the whole database to a file the user chose.
    bool backUpTo(const QString& path);
    // Puts a backup the user chose in place of the whole local library, after checking it and
    // a question; the replaced library is kept beside it. The chart stays on view but is no
    // longer a stored case, and the history is emptied. Ask the save prompt first.
    bool restoreFrom(const QString& path);

    // The case service while logged in (null otherwise): new cases and texts go to it once they
    // are stored here, the recent list comes from it, and "(网络)" history entries load from it.
    // While a request runs the user waits for its answer; a cancelled one shows nothing and
    // leaves the texts as they were (stored here, still unsaved).
    void setCloudCases(cloud::CloudCaseService* cloud);
    cloud::CloudCaseService* cloudCases() const { return cloud_; }

    // --- Requests for other windows ----------------------------------------------------------
    // "重新起卦": the save prompt, then castRequested.
    void requestCast();
    // The first casting dialog, once the windows are up.
    void requestDeferredCast();
    // "历史记录" and the casting dialog's "读取卦例": the save prompt, then caseBrowserRequested.
    void requestCaseBrowser();
    // "验证统计": recordRequested.
    void requestRecord() { emit recordRequested(); }

signals:
    // The chart, its texts, options or view changed: reflect them and repaint.
    void chartChanged();
    // The judgment or feedback text was replaced (a case loaded, a cast begun, a report).
    void caseTextsChanged();
    // Which texts are unsaved changed.
    void unsavedChanged();
    // A 应期 candidate was chosen in the reading panel.
    void timingChosen(const QDate& date);
    // A window should open: the casting dialog, the case browser.
    void castRequested();
    void caseBrowserRequested();
    void recordRequested();
    // Logged in or out: windows that offer the case service look again.
    void cloudChanged();
    // Cases or categories were deleted, moved or added: lists show them again.
    void casesChanged();
    // The calendar source changed: calendar texts are shown again.
    void calendarSourceChanged();
    // The school choices changed (the chart, when they touch it, was laid out again already).
    void schoolsChanged();

private:
    chart::BuildContext context() const;
    // Runs an operation; a database failure shows the database's text and ends it.
    bool guarded(const std::function<void()>& operation);
    // The pillar label of the cast moment under the chosen source; its fall-back message shown.
    void computePillars();
    void showMessages(const QStringList& messages);
    // After a build: the entry shows the chart's case number; windows reflect the chart.
    void chartBuilt(const QStringList& messages);
    void redraw(bool clearHighlights);
    void showLoadedCase(const store::CaseTexts& texts);
    bool showCaseNumber(const QString& text, chart::CaseNumberOrigin origin = chart::CaseNumberOrigin::Entered);
    store::CastCase castCaseOfChart() const;
    void saveTextsThen(store::TextsToSave which, std::function<void(bool)> done);
    void saveStoredTexts(store::TextsToSave which, std::function<void(bool)> done);
    void textsSaved(store::TextsToSave which, const store::SaveResult& result, const std::function<void(bool)>& done);
    // Saves the unsaved texts, the judgment first, until all are saved or one fails.
    void saveUnsaved(std::function<void(bool)> done);
    // A case just stored here goes to the case service while logged in.
    void uploadNewCase(bool stored, std::function<void(bool)> next);
    void openHistoryEntry(const QString& entry);
    void setTexts(const QString& judgment, const QString& feedback, bool unsaved,
                  const store::CaseOutcome& outcome = {});
    void loadStoredOptions();

    store::Database& db_;
    store::Settings settings_;
    store::SqliteDivinationData data_;
    const Clock& clock_;
    Prompter& prompter_;
    QString dataRoot_;

    chart::ChartState state_;
    chart::ChartOptions options_;
    reading::Schools schools_;
    chart::CastPlace defaultPlace_;
    chart::ChartView view_;
    QString caseHeader_;
    QString caseNumberText_;

    store::CaseHistory history_;
    store::CaseStore caseStore_;
    QString looseQuestionType_;  // of a chart that is no stored case
    store::CaseLists lists_;
    cloud::CloudCaseService* cloud_ = nullptr;

    std::optional<chart::ArrangementMethod> castMethod_;
    bool chartIsStoredCase_ = false;
    bool readingPanelShown_ = false;
    QString judgment_;
    QString feedback_;
    store::CaseOutcome outcome_;
    QDate chosenTiming_;
    bool judgmentUnsaved_ = false;
    bool feedbackUnsaved_ = false;
};

}  // namespace workbench
