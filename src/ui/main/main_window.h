#pragma once
// The program's home window: the chart, its labels and options, the judgment and feedback
// boxes and the buttons that reach every other window. It reflects the current case and
// forwards every action to it; other windows are opened through the current case's requests
// and this window's signals.
#include <QList>
#include <QMainWindow>
#include <array>

#include "store/case_lists.h"

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPrinter;
class QPushButton;
class QRadioButton;

namespace workbench {
class Workbench;
}

namespace ui {

class ChartArea;
class ReadingPanel;
class OutcomeBar;
class ScreenFit;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(workbench::Workbench& bench, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The chart picture as copied ("复制卦图像").
    QImage chartPicture();
    // "保存卦图": the picture as PNG; false after a message when it could not be written.
    bool saveChartPicture(const QString& path);
    // "打印": the picture across the page, the text copy beneath it; false after a message.
    bool printChart(QPrinter& printer);
    // "设置" is usable only while logged in.
    void setAccountActionsEnabled(bool on);
    // The caption of the message label from the case service, and the address it opens.
    void showServiceMessage(const QString& caption, const QString& url);
    // For a translated interface: each control whose caption is wider than its place in the
    // layout table (made for the 简体中文 captions) grows to hold it, away from its neighbours;
    // the ones it would then touch move aside. Never called for 简体中文, whose layout stays.
    void fitTranslatedCaptions();
    void fitChartLabels();

signals:
    void calendarRequested();        // "查看万年历"
    void passwordChangeRequested();  // "设置"

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildMenu();
    void buildKeys();
    void saveChartPictureAs();
    void printChartWithDialog();
    void showPopupAtChart();
    void connectHandlers();
    void connectCaseHandlers();

    // Reflecting the current case.
    void showChart();
    void showCaseTexts();
    void showUnsaved();

    void pressEnter();
    void askVoidDate();
    void copyText();
    void copyPicture();
    void saveNote();
    void chartReleased(QPoint position, Qt::MouseButton button);
    void trigramOptionChanged();
    void beastOptionChanged();
    void showRecentCases();
    void showRecentRows(const QList<store::CaseListRow>& rows);
    void pickRecentCase();
    void deleteRecentCase();
    void backUp();
    void restore();
    // The program options ("设置…" of the popup menu), modally.
    void openSettings();
    void toggleJudgmentSize();
    void toggleFeedbackSize();
    // The 断卦辅助 panel shown or hidden, the client widened by it while it shows.
    void showReadingPanel(bool on);

    workbench::Workbench& bench_;
    bool mirroring_ = false;  // editors are being set from the current case: no echo back

    // Controls by role; their objectNames are in object_names.h.
    ChartArea* chartArea_ = nullptr;
    QLabel* pillarLabel_ = nullptr;
    QLabel* titleLabel_ = nullptr;  // (hidden)
    QLabel* mainDescLabel_ = nullptr;
    QLabel* changedDescLabel_ = nullptr;
    QLabel* monthBranchLabel_ = nullptr;
    QLabel* dayBranchLabel_ = nullptr;
    QLabel* invertedLabel_ = nullptr;  // "综"
    QLabel* voidLabel_ = nullptr;
    QLabel* messageLabel_ = nullptr;  // "消息"
    QRect messageRect_;               // its usual place, left of "设置"
    QLabel* termLabel_ = nullptr;
    QLabel* judgmentLabel_ = nullptr;  // "断语："
    QLabel* groupLinkLabel_ = nullptr;
    QLabel* moreGroupsLabel_ = nullptr;
    QLineEdit* caseNumberEdit_ = nullptr;  // (hidden)
    QPushButton* enterButton_ = nullptr;   // "确定" (hidden)
    QPushButton* recastButton_ = nullptr;
    QPushButton* showChangedButton_ = nullptr;  // (hidden)
    QPushButton* invertButton_ = nullptr;
    QPushButton* reportButton_ = nullptr;       // (hidden)
    QPushButton* knowledgeButton_ = nullptr;    // (hidden)
    QPushButton* hideChangedButton_ = nullptr;  // (hidden)
    QPushButton* saveNoteButton_ = nullptr;     // (hidden)
    QPushButton* historyButton_ = nullptr;
    QPushButton* refreshButton_ = nullptr;  // (hidden)
    QPushButton* calendarButton_ = nullptr;
    QPushButton* copyTextButton_ = nullptr;
    QPushButton* copyPictureButton_ = nullptr;
    QPushButton* settingsButton_ = nullptr;
    QPushButton* previousCaseButton_ = nullptr;
    QPushButton* nextCaseButton_ = nullptr;
    QPushButton* recentButton_ = nullptr;
    QPushButton* saveJudgmentButton_ = nullptr;
    QPushButton* saveFeedbackButton_ = nullptr;
    QPushButton* saveAllButton_ = nullptr;
    QPlainTextEdit* judgmentEdit_ = nullptr;
    QPlainTextEdit* feedbackEdit_ = nullptr;
    QListWidget* recentList_ = nullptr;    // (hidden)
    QCheckBox* highlightBox_ = nullptr;    // (hidden)
    QCheckBox* annotationsBox_ = nullptr;  // (hidden)
    QCheckBox* allChangedBox_ = nullptr;
    QCheckBox* stemsBox_ = nullptr;
    QCheckBox* hiddenChangesBox_ = nullptr;
    QRadioButton* beastYear_ = nullptr;
    QRadioButton* beastMonth_ = nullptr;
    QRadioButton* beastDay_ = nullptr;
    QRadioButton* directionXiantian_ = nullptr;
    QRadioButton* directionHoutian_ = nullptr;
    QRadioButton* ordinalXiantian_ = nullptr;
    QRadioButton* ordinalHoutian_ = nullptr;
    QRadioButton* jingfangRadio_ = nullptr;
    QRadioButton* zangshanRadio_ = nullptr;
    QWidget* client_ = nullptr;  // the client area, in a scroll area
    ScreenFit* screenFit_ = nullptr;
    ReadingPanel* readingPanel_ = nullptr;  // 断卦辅助
    OutcomeBar* outcomeBar_ = nullptr;      // 验证 beside the feedback

    QMenu* popupMenu_ = nullptr;
    QAction* showChangedAction_ = nullptr;    // "查看变卦"
    QAction* reportAction_ = nullptr;         // "卦象分析"
    QAction* readingPanelAction_ = nullptr;   // "断卦辅助"
    std::array<QAction*, 4> basisActions_{};  // 月日(默认), 年月, 日时, 时分
};

}  // namespace ui
