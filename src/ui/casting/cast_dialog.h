#pragma once
// The casting dialog "起卦": the case details and cast moment on two tabs, the six throws, the
// lines with their coins, and the ways to cast. Every action goes to casting::CastSession; the
// window mirrors the session afterwards and carries out the outcome on the current case.
#include <QDialog>
#include <QList>
#include <QRect>
#include <array>
#include <functional>
#include <optional>

#include "casting/cast_session.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTimeEdit;

namespace workbench {
class Workbench;
}

namespace ui {

class PlaceFields;

class CastDialog : public QDialog {
    Q_OBJECT
public:
    explicit CastDialog(workbench::Workbench& bench, casting::RandomSource random = casting::RandomSource(),
                        QWidget* parent = nullptr);

    // "重新起卦" and the start of the program: the four pickers to now, then shown modally. True
    // when a cast closed it.
    bool run();
    // The four pickers to the clock's present moment.
    void setPickersToNow();
    // "查看干支纪年": shows the stems-branches viewer modally and gives the day chosen there, or
    // none when it was closed without one. Until installed the button does nothing.
    void setCalendarViewer(std::function<std::optional<QDate>()> viewer) { calendarViewer_ = std::move(viewer); }
    // Offers the login window after the dialog is shown (it shows itself once per run); the
    // category lists are read after it, since a login brings the user's categories.
    void setLoginOffer(std::function<void()> offer) { loginOffer_ = std::move(offer); }

    const casting::CastSession& session() const { return session_; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildFirstTab(QWidget* tab);
    void buildSecondTab(QWidget* tab);
    void buildNumberTab(QWidget* tab);
    void connectInputs();
    void connectActions();

    // Shows the session's state in every control.
    void refresh();
    void refreshLines();
    void refreshCoins();
    void afterShow();
    // Carries out what a cast asks of the window and the current case.
    void act(const casting::CastOutcome& outcome);
    void finish(const casting::FinishedCast& cast);
    void pickersChanged();
    void matchPillars();
    void fitDateHeader();
    void openViewer();
    void readCases();
    void closeTakingTime();
    // Runs an operation; a database failure shows the database's text and ends it.
    bool guarded(const std::function<void()>& operation);

    workbench::Workbench& bench_;
    casting::CastSession session_;
    std::function<std::optional<QDate>()> calendarViewer_;
    std::function<void()> loginOffer_;
    bool refreshing_ = false;  // controls are being set from the session: no echo back

    // Controls, named by role; their objectNames are in object_names.h.
    QTabWidget* tabs_ = nullptr;
    // 常用功能
    QLineEdit* subjectEdit1_ = nullptr;           // "占事："
    QComboBox* questionBox1_ = nullptr;           // "占类："
    QDateEdit* dateEdit1_ = nullptr;
    QTimeEdit* timeEdit1_ = nullptr;
    QComboBox* categoryBox1_ = nullptr;
    QComboBox* sexBox1_ = nullptr;
    QLineEdit* birthYearEdit1_ = nullptr;
    std::array<QLabel*, 6> throwLabels_{};        // 第一次摇得 .. 第六次摇得
    QPushButton* manualCastButton_ = nullptr;     // "手工起卦"
    QPushButton* computerCastButton1_ = nullptr;  // "电脑自动起卦"
    QPushButton* cancelButton_ = nullptr;         // "取消"
    // 高级功能
    QDateEdit* dateEdit2_ = nullptr;  // the cast date
    QTimeEdit* timeEdit2_ = nullptr;  // the cast time
    QLabel* dateHeaderLabel_ = nullptr;
    QList<std::pair<QWidget*, QRect>> belowDateHeader_;  // the left column under it, as laid out
    int dateHeaderExtra_ = 0;                             // the height it grew by
    QLabel* termLabel_ = nullptr;
    QComboBox* categoryBox2_ = nullptr;
    QComboBox* sexBox2_ = nullptr;
    QLineEdit* birthYearEdit2_ = nullptr;
    QLineEdit* subjectEdit2_ = nullptr;
    QComboBox* questionBox2_ = nullptr;           // "占类："
    QLineEdit* nameEdit_ = nullptr;               // "卦例ID或者卦名："
    QPushButton* nameCastButton_ = nullptr;       // "根据卦名排盘"
    QPushButton* matchButton_ = nullptr;          // "匹配干支"
    QPushButton* viewerButton_ = nullptr;         // "查看干支纪年"
    std::array<QLabel*, 6> lineLabels_{};         // 初爻 .. 上爻
    std::array<QRadioButton*, 6> lineRadios_{};   // 初爻 .. 上爻
    std::array<QLabel*, 3> coinImages_{};
    QLabel* namesLabel_ = nullptr;
    QPushButton* clearButton_ = nullptr;         // "清空"
    QPushButton* finishManualButton_ = nullptr;  // "完成手工起卦"
    QPushButton* nextLineButton_ = nullptr;      // "下一爻" (hidden)
    QCheckBox* patternBox_ = nullptr;            // "显示硬币图案"
    QPlainTextEdit* rulesView_ = nullptr;
    QLabel* sourceLabel_ = nullptr;               // "随机数来源"
    QPushButton* computerCastButton2_ = nullptr;  // "电脑自动起卦"
    QCheckBox* randomDateBox_ = nullptr;          // "使用随机日期"
    QRadioButton* randomMethod_ = nullptr;        // "随机"
    QRadioButton* jingfangMethod_ = nullptr;      // "京房式"
    QRadioButton* zangshanMethod_ = nullptr;      // "藏山卜"
    QCheckBox* chartOnlyBox_ = nullptr;           // "仅排盘，不保存"
    QPushButton* readCasesButton_ = nullptr;      // "读取卦例"
    QPushButton* closeButton_ = nullptr;          // "关闭"
    // 数字/时间: 梅花 by the time and by numbers, yarrow odds, and the place of this cast
    QDateEdit* dateEdit3_ = nullptr;              // the cast date of the second tab
    QTimeEdit* timeEdit3_ = nullptr;              // the cast time of the second tab
    QLabel* dateHeaderLabel3_ = nullptr;          // the pillars of that moment at that place
    PlaceFields* placeFields_ = nullptr;          // 起卦地点 of this cast
    QPushButton* plumTimeButton_ = nullptr;       // "时间起卦"
    QLineEdit* numbersEdit_ = nullptr;            // "报数："
    QCheckBox* addHourBox_ = nullptr;             // "加时辰数"
    QPushButton* plumNumbersButton_ = nullptr;    // "数字起卦"
    QPushButton* yarrowButton_ = nullptr;         // "蓍草起卦"
};

}  // namespace ui
