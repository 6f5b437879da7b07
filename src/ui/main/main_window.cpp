#include "ui/main/main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>

#include "qinglan_build.h"
#include "ui/common/widget_place.h"
#include "ui/common/window_fit.h"
#include "ui/main/chart_area.h"
#include "ui/main/main_window_layout.h"
#include "ui/main/object_names.h"
#include "ui/main/outcome_bar.h"
#include "ui/main/reading_panel.h"
#include "workbench/workbench.h"

namespace ui {
namespace {

namespace layout = main_layout;
namespace names = objectnames::mainwindow;

QLabel* label(QWidget* parent, const char* name, const QString& caption, const QRect& at) {
    auto* l = place<QLabel>(parent, name, at);
    l->setText(caption);
    return l;
}

QRadioButton* radio(QWidget* group, const char* name, const QString& caption, int row) {
    auto* r = place<QRadioButton>(group, name,
                                  QRect(QPoint(layout::kRadioLeft, layout::kRadioRows[row]), layout::kRadioSize));
    r->setText(caption);
    return r;
}

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& caption, const QRect& at) {
    auto* c = place<QCheckBox>(parent, name, at);
    c->setText(caption);
    return c;
}

QGroupBox* group(QWidget* parent, const char* name, const QString& title, const QRect& at) {
    auto* g = place<QGroupBox>(parent, name, at);
    g->setTitle(title);
    return g;
}

// The width a caption needs in its control: a push button's text with the button's margins
// (without the style's least width), a check box's or radio button's indicator and text, a
// label's text.
int captionWidth(QWidget* control, const QString& caption) {
    control->ensurePolished();  // the font of a style sheet
    const QFontMetrics metrics(control->font());
    QString shown = caption;
    shown.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    const int text = metrics.horizontalAdvance(shown);
    if (qobject_cast<QPushButton*>(control)) {
        QStyleOptionButton option;
        option.initFrom(control);
        return control->style()
            ->sizeFromContents(QStyle::CT_PushButton, &option, QSize(text, metrics.height()), control)
            .width();
    }
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        const QString was = button->text();
        button->setText(caption);
        const int width = button->sizeHint().width();
        button->setText(was);
        return width;
    }
    return text + 2;
}

// Widens a control to its widest caption, to the right or (at the right edge) to the left.
void growToCaptions(QWidget* control, const QStringList& captions, bool leftwards = false) {
    int needed = 0;
    for (const QString& caption : captions) needed = std::max(needed, captionWidth(control, caption));
    if (needed <= control->width()) return;
    QRect at = control->geometry();
    if (leftwards)
        at.setLeft(at.right() + 1 - needed);
    else
        at.setWidth(needed);
    control->setGeometry(at);
}

}  // namespace

MainWindow::MainWindow(workbench::Workbench& bench, QWidget* parent) : QMainWindow(parent), bench_(bench) {
    setObjectName(names::window);
    setWindowTitle(tr("青岚起卦排盘") + QStringLiteral(" " QINGLAN_VERSION));
    buildControls();
    buildMenu();
    connectHandlers();
    connectCaseHandlers();
    buildKeys();
    showChart();
    showCaseTexts();
    showUnsaved();
    if (bench_.readingPanelShown()) showReadingPanel(true);
}

MainWindow::~MainWindow() = default;

void MainWindow::buildControls() {
    // The client keeps its size; on a smaller screen it scrolls, in a larger window it sits centred.
    QWidget* client = scrolledClient(this, layout::kClient);
    client_ = client;
    screenFit_ = new ScreenFit(this, layout::kClient, ScreenFit::Placement::Centred);

    chartArea_ = new ChartArea(client);
    chartArea_->move(layout::kChartArea);

    pillarLabel_ = label(client, names::pillarLabel, {}, layout::kPillar);
    voidLabel_ = label(client, names::voidLabel, tr("旬空出空"), layout::kVoid);
    voidLabel_->setToolTip(tr("点击重新输入日期来计算新的旬空和出空"));
    termLabel_ = label(client, names::termLabel, {}, layout::kTerm);
    mainDescLabel_ = label(client, names::mainDescLabel, {}, layout::kMainDesc);
    changedDescLabel_ = label(client, names::changedDescLabel, {}, layout::kChangedDesc);
    titleLabel_ = label(client, names::titleLabel, {}, layout::kTitle);
    titleLabel_->hide();
    invertedLabel_ = label(client, names::invertedLabel, tr("综"), layout::kInverted);
    invertedLabel_->setStyleSheet(
        QStringLiteral("color: rgb(200,0,0); font-size: %1px;").arg(layout::kInvertedFontPixels));
    invertedLabel_->hide();
    monthBranchLabel_ = label(client, names::monthBranchLabel, {}, layout::kMonthBranch);
    monthBranchLabel_->setToolTip(tr("月"));
    dayBranchLabel_ = label(client, names::dayBranchLabel, {}, layout::kDayBranch);
    dayBranchLabel_->setToolTip(tr("日"));

    auto* beasts = group(client, names::beastGroup, tr("装六兽"), layout::kBeastGroup);
    beastYear_ = radio(beasts, names::beastYear, tr("按年干"), 0);
    beastMonth_ = radio(beasts, names::beastMonth, tr("按月干"), 1);
    beastDay_ = radio(beasts, names::beastDay, tr("按日干"), 2);
    beastDay_->setChecked(true);
    auto* direction = group(client, names::directionGroup, tr("方位"), layout::kDirectionGroup);
    directionXiantian_ = radio(direction, names::directionXiantian, tr("按先天"), 0);
    directionHoutian_ = radio(direction, names::directionHoutian, tr("按后天"), 1);
    directionHoutian_->setChecked(true);
    auto* ordinal = group(client, names::ordinalGroup, tr("取数"), layout::kOrdinalGroup);
    ordinalXiantian_ = radio(ordinal, names::ordinalXiantian, tr("按先天"), 0);
    ordinalHoutian_ = radio(ordinal, names::ordinalHoutian, tr("按后天"), 1);
    ordinalXiantian_->setChecked(true);
    auto* method = group(client, names::methodGroup, tr("排卦方式"), layout::kMethodGroup);
    jingfangRadio_ = radio(method, names::jingfangRadio, tr("京房式"), 0);
    zangshanRadio_ = radio(method, names::zangshanRadio, tr("藏山卜"), 1);
    jingfangRadio_->setChecked(true);

    stemsBox_ = checkBox(client, names::stemsBox, tr("显示天干"), layout::kStemsBox);
    allChangedBox_ = checkBox(client, names::allChangedBox, tr("显示全部变爻"), layout::kAllChangedBox);
    hiddenChangesBox_ = checkBox(client, names::hiddenChangesBox, tr("显示暗动变爻"), layout::kHiddenChangesBox);
    hiddenChangesBox_->setToolTip(tr("当不是全部显示变爻时是否显示暗动的变爻"));
    highlightBox_ = checkBox(client, names::highlightBox, tr("卦内冲合变色"), layout::kHighlightBox);
    highlightBox_->setToolTip(tr("在相应爻上点击鼠标即可变色"));
    highlightBox_->hide();
    annotationsBox_ = checkBox(client, names::annotationsBox, tr("显示标注"), layout::kAnnotationsBox);
    annotationsBox_->hide();

    recastButton_ = button(client, names::recastButton, tr("重新起卦"), layout::kRecast);
    historyButton_ = button(client, names::historyButton, tr("历史记录"), layout::kHistory);
    calendarButton_ =
        button(client, names::calendarButton, tr("查看万年历"), layout::kCalendar, tr("天干地支和农历公历星期对照"));
    invertButton_ = button(client, names::invertButton, tr("显示综卦"), layout::kInvert, tr("显示主卦的反卦"));
    copyTextButton_ =
        button(client, names::copyTextButton, tr("复制卦文本"), layout::kCopyText, tr("将卦象以文本方式复制到剪贴板"));
    copyPictureButton_ = button(client, names::copyPictureButton, tr("复制卦图像"), layout::kCopyPicture,
                                tr("将卦象以图片方式复制到剪贴板"));
    previousCaseButton_ = button(client, names::previousCaseButton, tr("查看上一卦"), layout::kPreviousCase,
                                 tr("查看刚才浏览过的上一个卦例"));
    nextCaseButton_ =
        button(client, names::nextCaseButton, tr("查看下一卦"), layout::kNextCase, tr("查看刚才浏览过的下一个卦例"));
    recentButton_ = button(client, names::recentButton, tr("查看最近50卦"), layout::kRecent);
    settingsButton_ = button(client, names::settingsButton, tr("设置"), layout::kSettings);

    showChangedButton_ = button(client, names::showChangedButton, tr("显示变卦"), layout::kHiddenButton);
    hideChangedButton_ = button(client, names::hideChangedButton, tr("不显示"), layout::kHiddenButton);
    refreshButton_ = button(client, names::refreshButton, tr("刷新"), layout::kHiddenButton);
    reportButton_ = button(client, names::reportButton, tr("卦像分析"), layout::kHiddenButton);
    knowledgeButton_ = button(client, names::knowledgeButton, tr("显示基础知识"), layout::kHiddenButton);
    saveNoteButton_ = button(client, names::saveNoteButton, tr("保存卦例"), layout::kHiddenButton);
    enterButton_ = button(client, names::enterButton, tr("确定"), layout::kHiddenButton);
    caseNumberEdit_ = place<QLineEdit>(client, names::caseNumberEdit, layout::kCaseNumberEdit);
    caseNumberEdit_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), caseNumberEdit_));
    for (QWidget* hidden :
         std::initializer_list<QWidget*>{showChangedButton_, hideChangedButton_, refreshButton_, reportButton_,
                                         knowledgeButton_, saveNoteButton_, enterButton_, caseNumberEdit_})
        hidden->hide();

    judgmentLabel_ = label(client, names::judgmentLabel, tr("断语："), layout::kJudgmentLabel);
    judgmentEdit_ = place<QPlainTextEdit>(client, names::judgmentEdit, layout::kJudgment);
    judgmentEdit_->setToolTip(tr("双击鼠标可放大缩小断语输入框窗口"));
    saveJudgmentButton_ = button(client, names::saveJudgmentButton, tr("保存断语"), layout::kSaveJudgment);
    feedbackEdit_ = place<QPlainTextEdit>(client, names::feedbackEdit, layout::kFeedback);
    feedbackEdit_->setToolTip(tr("双击鼠标可放大缩小反馈内容输入框窗口"));
    saveFeedbackButton_ = button(client, names::saveFeedbackButton, tr("保存反馈"), layout::kSaveFeedback);
    saveAllButton_ =
        button(client, names::saveAllButton, tr("全部保存"), layout::kSaveAll, tr("同时保存断语和反馈的内容"));

    messageRect_ = layout::kMessage;
    messageLabel_ = label(client, names::messageLabel, tr("消息"), messageRect_);
    groupLinkLabel_ = label(client, names::groupLinkLabel, tr("青岚六爻交流群"), layout::kGroupLink);
    moreGroupsLabel_ = label(client, names::moreGroupsLabel, tr("更多优秀QQ群推荐"), layout::kMoreGroups);
    moreGroupsLabel_->setToolTip(tr("点次查看更多优秀QQ群"));

    recentList_ = place<QListWidget>(client, names::recentList, layout::kRecentList);
    recentList_->hide();

    outcomeBar_ = new OutcomeBar(bench_, client);
    outcomeBar_->setGeometry(layout::kOutcomeBar);

    readingPanel_ = new ReadingPanel(bench_, client);
    readingPanel_->setGeometry(layout::kReadingPanel);
    readingPanel_->hide();
}

void MainWindow::showReadingPanel(bool on) {
    client_->setFixedSize(on ? layout::kClientWithPanel : layout::kClient);
    readingPanel_->setVisible(on);
    screenFit_->setClient(client_->size());
    readingPanelAction_->setChecked(on);
    bench_.setReadingPanelShown(on);
}

void MainWindow::buildMenu() {
    popupMenu_ = new QMenu(this);
    popupMenu_->setObjectName(names::popupMenu);
    auto add = [this](const QString& text, auto handler) {
        QAction* a = popupMenu_->addAction(text);
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    add(tr("重新起卦"), [this] { bench_.requestCast(); });
    popupMenu_->addSeparator();
    add(tr("刷新显示"), [this] { bench_.redrawKeepingHighlights(); });
    showChangedAction_ = add(tr("查看变卦"), [this] { bench_.toggleChangedView(); });
    add(tr("查看综卦"), [this] { bench_.toggleInvertedView(); });
    popupMenu_->addSeparator();
    reportAction_ = add(tr("卦象分析"), [this] { bench_.runReport(0, 0); });
    reportAction_->setObjectName(names::reportAction);
    readingPanelAction_ = add(tr("断卦辅助"), &MainWindow::showReadingPanel);
    readingPanelAction_->setObjectName(names::readingPanelAction);
    readingPanelAction_->setCheckable(true);
    popupMenu_->addSeparator();
    add(tr("复制卦象为文本"), &MainWindow::copyText);
    add(tr("复制卦象为图片"), &MainWindow::copyPicture);
    add(tr("保存卦图"), &MainWindow::saveChartPictureAs)->setObjectName(names::savePictureAction);
    add(tr("打印"), &MainWindow::printChartWithDialog)->setObjectName(names::printAction);
    popupMenu_->addSeparator();
    add(tr("读取卦例"), [this] { bench_.requestCaseBrowser(); });
    add(tr("验证统计"), [this] { bench_.requestRecord(); })->setObjectName(names::recordAction);
    add(tr("保存卦例"), &MainWindow::saveNote);
    popupMenu_->addAction(tr("搜索卦例"));
    add(tr("备份卦例库…"), &MainWindow::backUp)->setObjectName(names::backUpAction);
    add(tr("从备份恢复卦例库…"), &MainWindow::restore)->setObjectName(names::restoreAction);
    popupMenu_->addSeparator();
    QMenu* basis = popupMenu_->addMenu(tr("更改旺衰"));
    auto* basisGroup = new QActionGroup(this);
    const std::array<QString, 4> names = {tr("月日(默认)"), tr("年月"), tr("日时"), tr("时分")};
    const std::array<chart::StrengthBasis, 4> bases = {chart::StrengthBasis::MonthDay, chart::StrengthBasis::YearMonth,
                                                       chart::StrengthBasis::DayHour,
                                                       chart::StrengthBasis::HourQuarter};
    for (std::size_t i = 0; i < 4; ++i) {
        basisActions_[i] = basis->addAction(names[i]);
        basisActions_[i]->setObjectName(names::basisActions[i]);
        basisActions_[i]->setCheckable(true);
        basisGroup->addAction(basisActions_[i]);
        connect(basisActions_[i], &QAction::triggered, this, [this, b = bases[i]] { bench_.chooseStrengthBasis(b); });
    }
    basisActions_[0]->setChecked(true);
    popupMenu_->addSeparator();
    add(tr("设置…"), &MainWindow::openSettings)->setObjectName(names::settingsAction);
    connect(popupMenu_, &QMenu::aboutToShow, this,
            [this] { showChangedAction_->setEnabled(showChangedButton_->isEnabled()); });
}

void MainWindow::setAccountActionsEnabled(bool on) { settingsButton_->setEnabled(on); }

void MainWindow::fitTranslatedCaptions() {
    // Check boxes and buttons grow to the right, into the free room beside them; "设置" at the
    // window's edge to the left, pushing the message label before it.
    for (QWidget* control : client_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        auto* button = qobject_cast<QAbstractButton*>(control);
        if (!button || qobject_cast<QRadioButton*>(control) || button->text().isEmpty()) continue;
        growToCaptions(button, {button->text()}, button == settingsButton_);
    }
    growToCaptions(showChangedButton_, {tr("显示变卦"), tr("显示主卦")});
    growToCaptions(invertButton_, {tr("显示综卦"), tr("显示本卦")});
    growToCaptions(judgmentLabel_, {tr("断语："), tr("反馈：")});
    growToCaptions(invertedLabel_, {invertedLabel_->text()}, true);
    for (QLabel* l : {messageLabel_, groupLinkLabel_, moreGroupsLabel_}) growToCaptions(l, {l->text()});
    const QRect saveFeedback = saveFeedbackButton_->geometry();
    if (saveAllButton_->x() < saveFeedback.right() + 8)
        saveAllButton_->move(saveFeedback.right() + 9, saveAllButton_->y());
    const int messageRight = std::min(layout::kMessage.right(), settingsButton_->x() - 9);
    messageRect_.moveRight(messageRight);
    if (messageRect_.width() < messageLabel_->width()) messageRect_.setLeft(messageRight + 1 - messageLabel_->width());
    messageLabel_->setGeometry(messageRect_);
    fitChartLabels();

    // The option groups left of the chart: where a radio button's caption is wider than the
    // column, the groups take the whole room left of the chart and the buttons the groups' width.
    const QList<QRadioButton*> radios = client_->findChildren<QRadioButton*>();
    int needed = layout::kRadioSize.width();
    for (QRadioButton* r : radios) needed = std::max(needed, captionWidth(r, r->text()));
    if (needed == layout::kRadioSize.width()) return;
    constexpr int kRadioLeft = 4;
    for (QRadioButton* r : radios) {
        auto* group = r->parentWidget();
        group->resize(layout::kChartArea.x() - 2 - group->x(), group->height());
        r->setGeometry(kRadioLeft, r->y(), group->width() - kRadioLeft - 2, r->height());
        // A face wider than the program's own: the caption a little smaller rather than cut.
        QFont font = r->font();
        while (captionWidth(r, r->text()) > r->width() && font.pointSizeF() > 6) {
            font.setPointSizeF(font.pointSizeF() - 0.5);
            r->setFont(font);
        }
    }
}

// The chart's labels above the drawing, in a translation longer than their places: each grows to
// the right into the free room of its row (the pillar line up to the message label, the branch
// elements up to the pillar column); the places of 简体中文 are where they start from.
void MainWindow::fitChartLabels() {
    const auto fit = [](QLabel* label, const QRect& usual, int rightmost) {
        const int needed = QFontMetrics(label->font()).horizontalAdvance(label->text()) + 2;
        QRect at = usual;
        at.setWidth(std::clamp(needed, usual.width(), std::max(usual.width(), rightmost + 1 - usual.x())));
        label->setGeometry(at);
    };
    fit(pillarLabel_, layout::kPillar, messageRect_.left() - 9);
    fit(termLabel_, layout::kTerm, client_->width() - 9);
    fit(monthBranchLabel_, layout::kMonthBranch, layout::kPillar.x() - 4);
    fit(dayBranchLabel_, layout::kDayBranch, layout::kPillar.x() - 4);
}

void MainWindow::showServiceMessage(const QString& caption, const QString& url) {
    // The whole caption where the room allows, else its start with the whole of it as the hint.
    const QRect usual = messageRect_;
    // A service message grows leftwards no further than the pillar line (wider in a translation).
    const int room = usual.right() + 1 - std::max(layout::kMessageLeftmost, pillarLabel_->geometry().right() + 9);
    const QFontMetrics metrics(messageLabel_->font());
    const int wanted = metrics.horizontalAdvance(caption) + metrics.averageCharWidth();
    const QString shown = wanted <= room ? caption : metrics.elidedText(caption, Qt::ElideRight, room);
    const int width = std::clamp(wanted, usual.width(), room);
    messageLabel_->setGeometry(usual.right() + 1 - width, usual.y(), width, usual.height());
    messageLabel_->setText(shown);
    messageLabel_->setToolTip(shown == caption ? QString() : caption);
    messageLabel_->setProperty("url", url);
}

}  // namespace ui
