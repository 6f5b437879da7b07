#pragma once
// The program's home window: the chart, its labels and options, the judgment and feedback
// boxes and the buttons that reach every other window. It reflects the current case and
// forwards every action to it; other windows are opened through the current case's requests
// and this window's signals.
#include <QMainWindow>
#include <array>

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

    ChartArea* chartArea_ = nullptr;             // PaintBox1
    QLabel* pillarLabel_ = nullptr;              // Label1
    QLabel* titleLabel_ = nullptr;               // Label2 (hidden)
    QLabel* mainDescLabel_ = nullptr;            // Label3
    QLabel* changedDescLabel_ = nullptr;         // Label4
    QLabel* monthBranchLabel_ = nullptr;         // Label5
    QLabel* dayBranchLabel_ = nullptr;           // Label6
    QLabel* invertedLabel_ = nullptr;            // Label7 "综"
    QLabel* voidLabel_ = nullptr;                // Label9
    QLabel* messageLabel_ = nullptr;             // Label12 "消息"
    QLabel* termLabel_ = nullptr;                // Label13
    QLabel* judgmentLabel_ = nullptr;            // Label14 "断语："
    QLabel* groupLinkLabel_ = nullptr;           // Label10
    QLabel* moreGroupsLabel_ = nullptr;          // Label11
    QLineEdit* caseNumberEdit_ = nullptr;        // Edit1 (hidden)
    QPushButton* enterButton_ = nullptr;         // Button8 "确定" (hidden)
    QPushButton* recastButton_ = nullptr;        // Button1
    QPushButton* showChangedButton_ = nullptr;   // Button2 (hidden)
    QPushButton* invertButton_ = nullptr;        // Button4
    QPushButton* reportButton_ = nullptr;        // Button5 (hidden)
    QPushButton* knowledgeButton_ = nullptr;     // Button6 (hidden)
    QPushButton* hideChangedButton_ = nullptr;   // Button7 (hidden)
    QPushButton* saveNoteButton_ = nullptr;      // Button9 (hidden)
    QPushButton* historyButton_ = nullptr;       // Button10
    QPushButton* refreshButton_ = nullptr;       // Button11 (hidden)
    QPushButton* calendarButton_ = nullptr;      // Button12
    QPushButton* copyTextButton_ = nullptr;      // Button13
    QPushButton* copyPictureButton_ = nullptr;   // Button14
    QPushButton* settingsButton_ = nullptr;      // Button18
    QPushButton* previousCaseButton_ = nullptr;  // Button19
    QPushButton* nextCaseButton_ = nullptr;      // Button20
    QPushButton* recentButton_ = nullptr;        // Button25
    QPushButton* saveJudgmentButton_ = nullptr;  // Button28
    QPushButton* saveFeedbackButton_ = nullptr;  // Button29
    QPushButton* saveAllButton_ = nullptr;       // Button30
    QPlainTextEdit* judgmentEdit_ = nullptr;     // Memo1
    QPlainTextEdit* feedbackEdit_ = nullptr;     // Memo3
    QListWidget* recentList_ = nullptr;          // ListBox1 (hidden)
    QCheckBox* highlightBox_ = nullptr;          // CheckBox1 (hidden)
    QCheckBox* annotationsBox_ = nullptr;        // CheckBox2 (hidden)
    QCheckBox* allChangedBox_ = nullptr;         // CheckBox3
    QCheckBox* stemsBox_ = nullptr;              // CheckBox4
    QCheckBox* hiddenChangesBox_ = nullptr;      // CheckBox5
    QRadioButton* beastYear_ = nullptr;          // RadioButton1
    QRadioButton* beastMonth_ = nullptr;         // RadioButton2
    QRadioButton* beastDay_ = nullptr;           // RadioButton3
    QRadioButton* directionXiantian_ = nullptr;  // RadioButton4
    QRadioButton* directionHoutian_ = nullptr;   // RadioButton5
    QRadioButton* ordinalXiantian_ = nullptr;    // RadioButton6
    QRadioButton* ordinalHoutian_ = nullptr;     // RadioButton7
    QRadioButton* jingfangRadio_ = nullptr;      // RadioButton13
    QRadioButton* zangshanRadio_ = nullptr;      // RadioButton14
    QWidget* client_ = nullptr;                  // the client area, in a scroll area
    ScreenFit* screenFit_ = nullptr;
    ReadingPanel* readingPanel_ = nullptr;       // 断卦辅助
    OutcomeBar* outcomeBar_ = nullptr;           // 验证 beside the feedback

    QMenu* popupMenu_ = nullptr;              // PopupMenu1
    QAction* showChangedAction_ = nullptr;    // "查看变卦"
    QAction* reportAction_ = nullptr;         // N7 "卦象分析"
    QAction* readingPanelAction_ = nullptr;   // "断卦辅助"
    std::array<QAction*, 4> basisActions_{};  // 月日(默认), 年月, 日时, 时分
};

}  // namespace ui
