#pragma once
// The program's home window: the chart, its labels and options, the judgment and feedback
// boxes and the buttons that reach every other window. It owns the chart and forwards every
// action to the chart engine.
#include <QMainWindow>
#include <functional>
#include <memory>

#include "chart/chart_build.h"
#include "chart/chart_painter.h"
#include "chart/chart_view.h"
#include "store/case_history.h"
#include "store/case_lists.h"
#include "store/case_store.h"
#include "store/database.h"
#include "store/settings_rows.h"
#include "store/sqlite_divination_data.h"

class QAction;
class QActionGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace cloud {
class CloudCaseService;
}

namespace app {

class ChartArea;
class Clock;
class Prompter;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(store::Database& db, const Clock& clock, Prompter& prompter, QString dataRoot,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    chart::ChartState& chartState() { return state_; }
    const chart::ChartOptions& chartOptions() const { return options_; }
    const chart::ChartView& chartView() const { return view_; }
    const chart::DivinationData& divinationData() const { return data_; }
    QString caseHeader() const { return caseHeader_; }
    void setCaseHeader(const QString& header);

    // The casting dialog, shown modally; returns true when it ends with OK. Until one is
    // installed, recasting does nothing.
    void setCastDialogRunner(std::function<bool()> runner) { castDialog_ = std::move(runner); }
    // The stems-branches viewer.
    void setCalendarViewerOpener(std::function<void()> opener) { calendarViewer_ = std::move(opener); }
    // The analysis report: whole chart (row 0) or one item; writes the judgment box and the flags.
    struct Report {
        QStringList lines;
        bool replacesText = true;
        QString message;
    };
    void setReportWriter(std::function<Report(chart::ChartState&, int row, int column)> writer) {
        reportWriter_ = std::move(writer);
    }
    void setStrengthNotes(std::function<chart::StrengthNote(const chart::ChartState&, const QString&)> notes,
                          std::function<QString(QChar, QChar)> returnInfluence);

    // Runs the case-number entry with a text, as typing it and pressing "确定" does.
    bool enterCaseNumber(const QString& text);
    // A date picked in the calendar viewer becomes the cast date: the pillar label for it, the
    // term label emptied, the chart laid out again.
    void useCastDate(const QDate& date);
    // Recomputes the pillar label for the cast date and rebuilds the chart.
    void rebuildFromCast();
    // Starts the deferred first casting dialog (posted when the window is up).
    void startDeferredCast();

    store::CaseStore& caseStore() { return caseStore_; }
    store::CaseHistory& history() { return history_; }
    store::CaseLists& caseLists() { return lists_; }
    // Opens a stored local case: editors, case line, chart and history. False when there is no row.
    bool openLocalCase(qint64 id);
    // Starting a new cast: both editors cleared, nothing unsaved.
    void clearCaseEditors();
    // Asks to save unsaved texts before an action; false when the action is abandoned.
    bool confirmUnsaved();
    // The case service while logged in (null otherwise): new cases and texts go to it first, the
    // recent list comes from it, and "(网络)" history entries load from it.
    void setCloudCases(cloud::CloudCaseService* cloud);
    // Opens a case of the case service like a local one; false (after its message) when it failed.
    bool openCloudCase(qint64 id);
    // Opens the case browser (installed by the window that owns it).
    void setCaseBrowserOpener(std::function<void()> opener) { caseBrowser_ = std::move(opener); }
    // "历史记录": the unsaved prompt, then the case browser.
    void openCaseBrowser();
    // A cast begins: both editors cleared and the method button of the cast checked.
    void resetForCast(chart::ArrangementMethod method);
    // The casting dialog's "使用随机日期": the void is then counted from today.
    void setRandomDateOption(bool on) { options_.randomDate = on; }

    // The rectangle copied as the chart picture, in client coordinates.
    static QRect pictureRect() { return {82, 8, 680, 425}; }
    QImage chartPicture();

private:
    void buildControls();
    void buildMenu();
    void loadDisplaySettings();
    void connectHandlers();

    void showChartTexts();
    void redraw(bool clearHighlights);
    void showMessages(const QStringList& messages);
    void resetInversionDisplay();

    // Handlers
    void recast();
    void toggleChanged();
    void hideChanged();
    void toggleInverted();
    void copyText();
    void copyPicture();
    void saveNote();
    void pressEnter();
    void chooseBasis(chart::StrengthBasis basis);
    void askVoidDate();
    void chartReleased(QPoint position, Qt::MouseButton button);
    void runReport(int row, int column);
    void methodChanged();
    void beastOptionChanged();
    void trigramOptionChanged();

    chart::BuildContext context() const;

    // Case editors, history and the recent list
    void connectCaseHandlers();
    void saveTexts(int which);
    void judgmentEdited();
    void feedbackEdited();
    void stepBack();
    void stepForward();
    void openHistoryEntry(const QString& entry);
    void showLoadedCase(const store::CaseTexts& texts);
    void showRecentCases();
    void pickRecentCase();
    void toggleJudgmentSize();
    void toggleFeedbackSize();
    // Runs an operation; a database failure shows the database's text and ends it.
    bool guarded(const std::function<void()>& operation);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    store::Database& db_;
    store::SettingsRows settings_;
    store::SqliteDivinationData data_;
    const Clock& clock_;
    Prompter& prompter_;
    QString dataRoot_;

    chart::ChartState state_;
    chart::ChartOptions options_;
    chart::ChartView view_;
    QString caseHeader_;

    store::CaseHistory history_;
    store::CaseStore caseStore_;
    store::CaseLists lists_;
    cloud::CloudCaseService* cloud_ = nullptr;
    std::function<void()> caseBrowser_;

    std::function<bool()> castDialog_;
    std::function<void()> calendarViewer_;
    std::function<Report(chart::ChartState&, int, int)> reportWriter_;
    std::function<chart::StrengthNote(const chart::ChartState&, const QString&)> strengthNotes_;
    std::function<QString(QChar, QChar)> returnInfluence_;

public:
    // Controls, named by role; objectName carries the name the window definition gives them.
    ChartArea* chartArea = nullptr;       // PaintBox1
    QLabel* pillarLabel = nullptr;        // Label1
    QLabel* titleLabel = nullptr;         // Label2 (hidden)
    QLabel* mainDescLabel = nullptr;      // Label3
    QLabel* changedDescLabel = nullptr;   // Label4
    QLabel* monthBranchLabel = nullptr;   // Label5
    QLabel* dayBranchLabel = nullptr;     // Label6
    QLabel* invertedLabel = nullptr;      // Label7 "综"
    QLabel* voidLabel = nullptr;          // Label9
    QLabel* messageLabel = nullptr;       // Label12 "消息"
    QLabel* termLabel = nullptr;          // Label13
    QLabel* judgmentLabel = nullptr;      // Label14 "断语："
    QLabel* groupLinkLabel = nullptr;
    QLabel* moreGroupsLabel = nullptr;
    QLineEdit* caseNumberEdit = nullptr;  // Edit1 (hidden)
    QPushButton* enterButton = nullptr;   // Button8 "确定" (hidden)
    QPushButton* recastButton = nullptr;  // Button1
    QPushButton* showChangedButton = nullptr;  // Button2 (hidden)
    QPushButton* invertButton = nullptr;       // Button4
    QPushButton* reportButton = nullptr;       // Button5 (hidden)
    QPushButton* knowledgeButton = nullptr;    // Button6 (hidden)
    QPushButton* hideChangedButton = nullptr;  // Button7 (hidden)
    QPushButton* saveNoteButton = nullptr;     // Button9 (hidden)
    QPushButton* historyButton = nullptr;      // Button10
    QPushButton* refreshButton = nullptr;      // Button11 (hidden)
    QPushButton* calendarButton = nullptr;     // Button12
    QPushButton* copyTextButton = nullptr;     // Button13
    QPushButton* copyPictureButton = nullptr;  // Button14
    QPushButton* settingsButton = nullptr;     // Button18
    QPushButton* previousCaseButton = nullptr; // Button19
    QPushButton* nextCaseButton = nullptr;     // Button20
    QPushButton* recentButton = nullptr;       // Button25
    QPushButton* saveJudgmentButton = nullptr; // Button28
    QPushButton* saveFeedbackButton = nullptr; // Button29
    QPushButton* saveAllButton = nullptr;      // Button30
    QPlainTextEdit* judgmentEdit = nullptr;    // Memo1
    QPlainTextEdit* feedbackEdit = nullptr;    // Memo3
    QListWidget* recentList = nullptr;         // ListBox1 (hidden)
    QCheckBox* highlightBox = nullptr;         // CheckBox1 (hidden)
    QCheckBox* annotationsBox = nullptr;       // CheckBox2 (hidden)
    QCheckBox* allChangedBox = nullptr;        // CheckBox3
    QCheckBox* stemsBox = nullptr;             // CheckBox4
    QCheckBox* hiddenChangesBox = nullptr;     // CheckBox5
    QRadioButton* beastYear = nullptr;
    QRadioButton* beastMonth = nullptr;
    QRadioButton* beastDay = nullptr;
    QRadioButton* directionXiantian = nullptr;
    QRadioButton* directionHoutian = nullptr;
    QRadioButton* ordinalXiantian = nullptr;
    QRadioButton* ordinalHoutian = nullptr;
    QRadioButton* jingfangRadio = nullptr;  // RadioButton13
    QRadioButton* zangshanRadio = nullptr;  // RadioButton14
    QMenu* popupMenu = nullptr;             // PopupMenu1
    QAction* showChangedAction = nullptr;   // "查看变卦"
    QAction* reportAction = nullptr;        // N7 "卦象分析"
    std::array<QAction*, 4> basisActions{};  // 月日(默认), 年月, 日时, 时分
};

}  // namespace app
