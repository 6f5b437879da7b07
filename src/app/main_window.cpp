#include "app/main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QTimer>

#include "app/chart_area.h"
#include "app/clock.h"
#include "app/widget_placing.h"
#include "chart/cast_pillars.h"

namespace app {
namespace {


QPushButton* button(QWidget* parent, const char* name, const QString& caption, int x, int y, int w, int h,
                    const QString& hint = {}) {
    auto* b = place<QPushButton>(parent, name, x, y, w, h);
    b->setText(caption);
    if (!hint.isEmpty()) b->setToolTip(hint);
    return b;
}

QLabel* label(QWidget* parent, const char* name, const QString& caption, int x, int y, int w, int h) {
    auto* l = place<QLabel>(parent, name, x, y, w, h);
    l->setText(caption);
    return l;
}

QRadioButton* radio(QWidget* group, const char* name, const QString& caption, int y) {
    auto* r = place<QRadioButton>(group, name, 8, y, 72, 20);
    r->setText(caption);
    return r;
}

}  // namespace

MainWindow::MainWindow(store::Database& db, const Clock& clock, Prompter& prompter, QString dataRoot, QWidget* parent)
    : QMainWindow(parent), db_(db), settings_(db), data_(db), clock_(clock), prompter_(prompter),
      dataRoot_(std::move(dataRoot)), caseStore_(db, history_), lists_(db) {
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(QStringLiteral("青岚起卦排盘 3.9"));
    buildControls();
    buildMenu();
    loadDisplaySettings();
    connectHandlers();
    connectCaseHandlers();

    const QDateTime now = clock_.now();
    state_.castDate = now.date();
    state_.castTime = QTime(now.time().hour(), now.time().minute(), now.time().second());
    chart::get_tiangandizhi(state_);
    showChartTexts();
    state_.clearHighlights();
    redraw(false);
}

MainWindow::~MainWindow() = default;

void MainWindow::buildControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(1124, 581);
    setCentralWidget(client);

    chartArea = new ChartArea(client);
    chartArea->move(90, 104);

    pillarLabel = label(client, "Label1", {}, 90, 10, 665, 20);
    voidLabel = label(client, "Label9", QStringLiteral("旬空出空"), 90, 34, 440, 20);
    voidLabel->setToolTip(QStringLiteral("点击重新输入日期来计算新的旬空和出空"));
    voidLabel->setCursor(Qt::PointingHandCursor);
    termLabel = label(client, "Label13", {}, 560, 34, 195, 20);
    mainDescLabel = label(client, "Label3", {}, 90, 60, 330, 20);
    changedDescLabel = label(client, "Label4", {}, 425, 60, 330, 20);
    titleLabel = label(client, "Label2", {}, 90, 82, 665, 20);
    titleLabel->hide();
    invertedLabel = label(client, "Label7", QStringLiteral("综"), 60, 80, 24, 22);
    invertedLabel->setStyleSheet(QStringLiteral("color: rgb(200,0,0); font-size: 16px;"));
    invertedLabel->hide();
    monthBranchLabel = label(client, "Label5", {}, 8, 34, 40, 20);
    monthBranchLabel->setToolTip(QStringLiteral("月"));
    dayBranchLabel = label(client, "Label6", {}, 8, 58, 40, 20);
    dayBranchLabel->setToolTip(QStringLiteral("日"));

    auto* beasts = place<QGroupBox>(client, "GroupBox1", 1, 104, 85, 100);
    beasts->setTitle(QStringLiteral("装六兽"));
    beastYear = radio(beasts, "RadioButton1", QStringLiteral("按年干"), 22);
    beastMonth = radio(beasts, "RadioButton2", QStringLiteral("按月干"), 46);
    beastDay = radio(beasts, "RadioButton3", QStringLiteral("按日干"), 70);
    beastDay->setChecked(true);
    auto* direction = place<QGroupBox>(client, "GroupBox2", 1, 207, 85, 72);
    direction->setTitle(QStringLiteral("方位"));
    directionXiantian = radio(direction, "RadioButton4", QStringLiteral("按先天"), 22);
    directionHoutian = radio(direction, "RadioButton5", QStringLiteral("按后天"), 46);
    directionHoutian->setChecked(true);
    auto* ordinal = place<QGroupBox>(client, "GroupBox3", 1, 282, 85, 74);
    ordinal->setTitle(QStringLiteral("取数"));
    ordinalXiantian = radio(ordinal, "RadioButton6", QStringLiteral("按先天"), 22);
    ordinalHoutian = radio(ordinal, "RadioButton7", QStringLiteral("按后天"), 46);
    ordinalXiantian->setChecked(true);
    auto* method = place<QGroupBox>(client, "GroupBox4", 1, 359, 85, 74);
    method->setTitle(QStringLiteral("排卦方式"));
    jingfangRadio = radio(method, "RadioButton13", QStringLiteral("京房式"), 22);
    zangshanRadio = radio(method, "RadioButton14", QStringLiteral("藏山卜"), 46);
    jingfangRadio->setChecked(true);

    stemsBox = place<QCheckBox>(client, "CheckBox4", 8, 451, 100, 20);
    stemsBox->setText(QStringLiteral("显示天干"));
    allChangedBox = place<QCheckBox>(client, "CheckBox3", 8, 474, 110, 20);
    allChangedBox->setText(QStringLiteral("显示全部变爻"));
    hiddenChangesBox = place<QCheckBox>(client, "CheckBox5", 8, 497, 110, 20);
    hiddenChangesBox->setText(QStringLiteral("显示暗动变爻"));
    hiddenChangesBox->setToolTip(QStringLiteral("当不是全部显示变爻时是否显示暗动的变爻"));
    highlightBox = place<QCheckBox>(client, "CheckBox1", 0, 0, 120, 20);
    highlightBox->setText(QStringLiteral("卦内冲合变色"));
    highlightBox->setToolTip(QStringLiteral("在相应爻上点击鼠标即可变色"));
    highlightBox->hide();
    annotationsBox = place<QCheckBox>(client, "CheckBox2", 0, 0, 100, 20);
    annotationsBox->setText(QStringLiteral("显示标注"));
    annotationsBox->hide();

    recastButton = button(client, "Button1", QStringLiteral("重新起卦"), 773, 447, 75, 25);
    historyButton = button(client, "Button10", QStringLiteral("历史记录"), 773, 478, 75, 25);
    calendarButton = button(client, "Button12", QStringLiteral("查看万年历"), 643, 447, 112, 25,
                            QStringLiteral("天干地支和农历公历星期对照"));
    invertButton = button(client, "Button4", QStringLiteral("显示综卦"), 643, 480, 112, 25, QStringLiteral("显示主卦的反卦"));
    copyTextButton = button(client, "Button13", QStringLiteral("复制卦文本"), 437, 447, 86, 25,
                            QStringLiteral("将卦象以文本方式复制到剪贴板"));
    copyPictureButton = button(client, "Button14", QStringLiteral("复制卦图像"), 437, 478, 86, 25,
                               QStringLiteral("将卦象以图片方式复制到剪贴板"));
    previousCaseButton = button(client, "Button19", QStringLiteral("查看上一卦"), 539, 447, 89, 25,
                                QStringLiteral("查看刚才浏览过的上一个卦例"));
    nextCaseButton = button(client, "Button20", QStringLiteral("查看下一卦"), 539, 480, 89, 25,
                            QStringLiteral("查看刚才浏览过的下一个卦例"));
    recentButton = button(client, "Button25", QStringLiteral("查看最近50卦"), 121, 447, 112, 25);
    settingsButton = button(client, "Button18", QStringLiteral("设置"), 1088, 8, 28, 25);

    showChangedButton = button(client, "Button2", QStringLiteral("显示变卦"), 0, 0, 75, 25);
    hideChangedButton = button(client, "Button7", QStringLiteral("不显示"), 0, 0, 75, 25);
    refreshButton = button(client, "Button11", QStringLiteral("刷新"), 0, 0, 75, 25);
    reportButton = button(client, "Button5", QStringLiteral("卦像分析"), 0, 0, 75, 25);
    knowledgeButton = button(client, "Button6", QStringLiteral("显示基础知识"), 0, 0, 75, 25);
    saveNoteButton = button(client, "Button9", QStringLiteral("保存卦例"), 0, 0, 75, 25);
    enterButton = button(client, "Button8", QStringLiteral("确定"), 0, 0, 75, 25);
    caseNumberEdit = place<QLineEdit>(client, "Edit1", 0, 0, 200, 22);
    caseNumberEdit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), caseNumberEdit));
    for (QWidget* hidden : std::initializer_list<QWidget*>{showChangedButton, hideChangedButton, refreshButton,
                                                           reportButton, knowledgeButton, saveNoteButton,
                                                           enterButton, caseNumberEdit})
        hidden->hide();
    showChangedButton->setEnabled(false);

    judgmentLabel = label(client, "Label14", QStringLiteral("断语："), 773, 104, 200, 20);
    judgmentEdit = place<QPlainTextEdit>(client, "Memo1", 773, 126, 343, 120);
    judgmentEdit->setToolTip(QStringLiteral("双击鼠标可放大缩小断语输入框窗口"));
    saveJudgmentButton = button(client, "Button28", QStringLiteral("保存断语"), 773, 252, 75, 25);
    feedbackEdit = place<QPlainTextEdit>(client, "Memo3", 773, 282, 343, 120);
    feedbackEdit->setToolTip(QStringLiteral("双击鼠标可放大缩小反馈内容输入框窗口"));
    saveFeedbackButton = button(client, "Button29", QStringLiteral("保存反馈"), 773, 416, 75, 25);
    saveAllButton = button(client, "Button30", QStringLiteral("全部保存"), 856, 416, 75, 25,
                           QStringLiteral("同时保存断语和反馈的内容"));
    for (QPushButton* b : {saveJudgmentButton, saveFeedbackButton, saveAllButton}) b->setEnabled(false);

    messageLabel = label(client, "Label12", QStringLiteral("消息"), 980, 12, 100, 20);
    groupLinkLabel = label(client, "Label10", QStringLiteral("青岚六爻交流群"), 8, 530, 200, 20);
    moreGroupsLabel = label(client, "Label11", QStringLiteral("更多优秀QQ群推荐"), 8, 552, 200, 20);
    moreGroupsLabel->setToolTip(QStringLiteral("点次查看更多优秀QQ群"));
    for (QLabel* link : {messageLabel, groupLinkLabel, moreGroupsLabel}) link->setCursor(Qt::PointingHandCursor);

    recentList = place<QListWidget>(client, "ListBox1", 136, 8, 660, 498);
    recentList->hide();
}

void MainWindow::buildMenu() {
    popupMenu = new QMenu(this);
    popupMenu->setObjectName(QStringLiteral("PopupMenu1"));
    auto add = [this](const QString& text, auto handler) {
        QAction* a = popupMenu->addAction(text);
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    add(QStringLiteral("重新起卦"), &MainWindow::recast);
    popupMenu->addSeparator();
    add(QStringLiteral("刷新显示"), [this] { redraw(true); });
    showChangedAction = add(QStringLiteral("查看变卦"), &MainWindow::toggleChanged);
    add(QStringLiteral("查看综卦"), &MainWindow::toggleInverted);
    popupMenu->addSeparator();
    reportAction = add(QStringLiteral("卦象分析"), [this] { runReport(0, 0); });
    reportAction->setObjectName(QStringLiteral("N7"));
    popupMenu->addSeparator();
    add(QStringLiteral("复制卦象为文本"), &MainWindow::copyText);
    add(QStringLiteral("复制卦象为图片"), &MainWindow::copyPicture);
    popupMenu->addSeparator();
    add(QStringLiteral("读取卦例"), [this] { historyButton->click(); });
    add(QStringLiteral("保存卦例"), &MainWindow::saveNote);
    popupMenu->addAction(QStringLiteral("搜索卦例"));
    popupMenu->addSeparator();
    QMenu* basis = popupMenu->addMenu(QStringLiteral("更改旺衰"));
    auto* group = new QActionGroup(this);
    const std::array<QString, 4> names = {QStringLiteral("月日(默认)"), QStringLiteral("年月"), QStringLiteral("日时"),
                                          QStringLiteral("时分")};
    const std::array<chart::StrengthBasis, 4> bases = {chart::StrengthBasis::MonthDay, chart::StrengthBasis::YearMonth,
                                                       chart::StrengthBasis::DayHour, chart::StrengthBasis::HourQuarter};
    for (std::size_t i = 0; i < 4; ++i) {
        basisActions[i] = basis->addAction(names[i]);
        basisActions[i]->setCheckable(true);
        group->addAction(basisActions[i]);
        connect(basisActions[i], &QAction::triggered, this, [this, b = bases[i]] { chooseBasis(b); });
    }
    basisActions[0]->setChecked(true);
    connect(popupMenu, &QMenu::aboutToShow, this, [this] { showChangedAction->setEnabled(showChangedButton->isEnabled()); });
}

void MainWindow::loadDisplaySettings() {
    const store::DisplaySettings s = settings_.displaySettings();
    highlightBox->setChecked(s.highlightClashes);
    allChangedBox->setChecked(s.showAllChanged);
    stemsBox->setChecked(s.showStems);
    annotationsBox->setChecked(s.showAnnotations);
    options_.highlightClashes = s.highlightClashes;
    options_.showAllChanged = s.showAllChanged;
    options_.showStems = s.showStems;
    options_.showAnnotations = s.showAnnotations;
}

void MainWindow::setCaseHeader(const QString& header) {
    caseHeader_ = header;
    chartArea->update();
}

void MainWindow::setStrengthNotes(std::function<chart::StrengthNote(const chart::ChartState&, const QString&)> notes,
                                  std::function<QString(QChar, QChar)> returnInfluence) {
    strengthNotes_ = std::move(notes);
    returnInfluence_ = std::move(returnInfluence);
    chartArea->update();
}

chart::BuildContext MainWindow::context() const { return {data_, options_, clock_.today()}; }

void MainWindow::startDeferredCast() {
    QTimer::singleShot(0, this, [this] {
        if (castDialog_ && castDialog_()) rebuildFromCast();
    });
}

}  // namespace app
