#include "ui/casting/cast_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "calendar/supported_range.h"
#include "ui/common/place_fields.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimeEdit>
#include <algorithm>
#include <utility>

#include "language/generated_text.h"
#include "reading/reading.h"
#include "store/case_record.h"
#include "ui/casting/cast_dialog_layout.h"
#include "ui/casting/object_names.h"
#include "ui/common/accessible_names.h"
#include "ui/common/busy_cursor.h"
#include "ui/common/caption_fit.h"
#include "ui/common/field_words.h"
#include "ui/common/focus_mark.h"
#include "ui/common/widget_place.h"
#include "ui/common/window_fit.h"
#include "workbench/clock.h"
#include "workbench/prompter.h"
#include "workbench/workbench.h"

namespace ui {
namespace {

using casting::CaseInputs;
using casting::CoinSet;
using Kind = casting::CastOutcome::Kind;
namespace layout = cast_layout;
namespace names = objectnames::castdialog;

QLabel* caption(QWidget* parent, const QString& text, const QRect& at) {
    auto* l = new QLabel(text, parent);
    l->setGeometry(at);
    return l;
}

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& text, const QRect& at, const QString& hint = {}) {
    auto* c = place<QCheckBox>(parent, name, at);
    c->setText(text);
    c->setToolTip(hint);
    return c;
}

QDateEdit* datePicker(QWidget* parent, const char* name, const QPoint& at) {
    auto* d = place<QDateEdit>(parent, name, QRect(at, layout::kDatePicker));
    d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    d->setCalendarPopup(true);
    // The dates the calendar stands behind, as the calendar viewer lists them.
    d->setDateRange(QDate(cal::kFirstSupportedDate.year, cal::kFirstSupportedDate.month, cal::kFirstSupportedDate.day),
                    QDate(cal::kLastSupportedDate.year, cal::kLastSupportedDate.month, cal::kLastSupportedDate.day));
    return d;
}

QTimeEdit* timePicker(QWidget* parent, const char* name, const QPoint& at) {
    auto* t = place<QTimeEdit>(parent, name, QRect(at, layout::kTimePicker));
    t->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    return t;
}

// The three case-detail boxes of a tab: category, sex and birth year.
struct DetailBoxes {
    QComboBox* category;
    QComboBox* sex;
    QLineEdit* birthYear;
};
DetailBoxes detailBoxes(QWidget* tab, const char* category, const char* sex, const char* birthYear, int y) {
    const layout::DetailRow& row = layout::kDetails;
    QLabel* categoryCaption =
        caption(tab, QCoreApplication::translate("ui::CastDialog", "分类："), row.categoryCaption.translated(0, y));
    auto* c = place<QComboBox>(tab, category, row.category.translated(0, y));
    c->setAccessibleName(QCoreApplication::translate("ui::CastDialog", "分类"));
    QLabel* sexCaption =
        caption(tab, QCoreApplication::translate("ui::CastDialog", "性别："), row.sexCaption.translated(0, y));
    auto* s = place<QComboBox>(tab, sex, row.sex.translated(0, y));
    s->setAccessibleName(QCoreApplication::translate("ui::CastDialog", "性别"));
    // The session keeps the index; the words are shown in the interface's language.
    for (const QString& item : casting::sexItems()) s->addItem(shownSex(item));
    QLabel* birthYearCaption =
        caption(tab, QCoreApplication::translate("ui::CastDialog", "出生年："), row.birthYearCaption.translated(0, y));
    auto* b = place<QLineEdit>(tab, birthYear, row.birthYear.translated(0, y));
    b->setAccessibleName(QCoreApplication::translate("ui::CastDialog", "出生年"));
    fitCaption(categoryCaption, c);
    fitCaption(sexCaption, s);
    fitCaption(birthYearCaption, b);
    return {c, s, b};
}

// The 占类 box beside 占事: empty, then the question types, each shown in the interface's
// language with the type itself as the item's data.
QComboBox* questionBox(QWidget* tab, const QRect& captionAt, const QRect& at) {
    QLabel* label = caption(tab, QCoreApplication::translate("ui::CastDialog", "占类："), captionAt);
    auto* box = new QComboBox(tab);
    box->setObjectName(names::questionBox);
    box->setGeometry(at);
    box->setAccessibleName(QCoreApplication::translate("ui::CastDialog", "占类"));
    box->addItem(QString(), QString());
    for (const QString& type : reading::questionTypes()) box->addItem(shownQuestionType(type), type);
    fitCaption(label, box);
    return box;
}

// The type a 占类 box stands for: the item's data, or its text for an item without one.
QString questionOf(const QComboBox* box) {
    const QVariant type = box->currentData();
    return type.isValid() ? type.toString() : box->currentText();
}

void setText(QLineEdit* edit, const QString& text) {
    if (edit->text() != text) edit->setText(text);
}

void setItems(QComboBox* box, const QStringList& items, int index) {
    QStringList shown;
    for (int i = 0; i < box->count(); ++i) shown << box->itemText(i);
    if (shown != items) {
        box->clear();
        box->addItems(items);
    }
    box->setCurrentIndex(index);
}

QFont largerFont(QFont font, int points) {
    font.setPointSize(points);
    return font;
}

}  // namespace

CastDialog::CastDialog(workbench::Workbench& bench, casting::RandomSource random, QWidget* parent)
    : QDialog(parent), bench_(bench), session_(bench.divinationData(), bench.settings(), std::move(random), [&bench] {
          // The pickers show whole seconds; the cast moment is what they show.
          const QDateTime now = bench.clock().now();
          return QDateTime(now.date(), QTime(now.time().hour(), now.time().minute(), now.time().second()));
      }) {
    setObjectName(names::window);
    setWindowTitle(tr("起卦"));
    QWidget* client = scrolledClient(this, layout::kDialog);
    new ScreenFit(this, layout::kDialog, ScreenFit::Placement::KeptInside);

    tabs_ = place<QTabWidget>(client, names::tabs, layout::kTabs);
    auto* first = new QWidget;
    first->setObjectName(names::firstTab);
    auto* second = new QWidget;
    second->setObjectName(names::secondTab);
    tabs_->addTab(first, tr("常用功能"));
    tabs_->addTab(second, tr("高级功能"));
    auto* third = new QWidget;
    third->setObjectName(names::numberTimeTab);
    tabs_->addTab(third, tr("数字/时间"));
    buildFirstTab(first);
    buildSecondTab(second);
    buildNumberTab(third);
    // Enter in the name field casts by name and nothing else: no button is pressed by Enter.
    for (QPushButton* b : findChildren<QPushButton*>()) b->setAutoDefault(false);
    tabs_->setAccessibleName(tr("起卦方式"));
    for (QLineEdit* subject : {subjectEdit1_, subjectEdit2_}) subject->setAccessibleName(tr("占事"));
    for (QWidget* date : std::initializer_list<QWidget*>{dateEdit1_, dateEdit2_, dateEdit3_})
        date->setAccessibleName(tr("起卦日期"));
    for (QWidget* time : std::initializer_list<QWidget*>{timeEdit1_, timeEdit2_, timeEdit3_})
        time->setAccessibleName(tr("起卦时间"));
    nameEdit_->setAccessibleName(tr("卦例ID或者卦名"));
    nameControlsByCaption(this);

    session_.onSourceText = [this](const QString& text) {
        sourceLabel_->setText(text);
        sourceLabel_->repaint();
    };
    session_.calendarSource = bench_.calendarSource();
    connect(&bench_, &workbench::Workbench::calendarSourceChanged, this, [this] {
        session_.calendarSource = bench_.calendarSource();
        session_.dateChanged();
        refresh();
    });
    connectInputs();
    connectActions();
    refresh();
}

void CastDialog::buildFirstTab(QWidget* tab) {
    using namespace layout::first;
    QLabel* subjectCaption = caption(tab, tr("占事："), kSubjectCaption);
    subjectEdit1_ = place<QLineEdit>(tab, names::subjectEdit1, kSubject);
    fitCaption(subjectCaption, subjectEdit1_);
    questionBox1_ = questionBox(tab, kQuestionCaption, kQuestion);
    caption(tab, tr("起卦时间日期："), kMomentCaption);
    dateEdit1_ = datePicker(tab, names::dateEdit1, kDate);
    timeEdit1_ = timePicker(tab, names::timeEdit1, kTime);
    const DetailBoxes details = detailBoxes(tab, names::categoryBox1, names::sexBox1, names::birthYearEdit1, kDetailsY);
    categoryBox1_ = details.category;
    sexBox1_ = details.sex;
    birthYearEdit1_ = details.birthYear;

    auto* throws = place<QGroupBox>(tab, names::throwsGroup, kThrows);
    throws->setTitle(tr("手工起卦选项，点击鼠标更改"));
    for (int k = 0; k < 6; ++k) {
        QLabel* l = place<FocusLabel>(throws, names::throwLabels[std::size_t(k)], throwLabel(k));
        l->setFont(largerFont(l->font(), layout::kThrowFontPoints));
        l->setToolTip(tr("点击鼠标后分别会在少阳少阴老阳老阴之间变动"));
        l->setCursor(Qt::PointingHandCursor);
        l->installEventFilter(this);
        l->setFocusPolicy(Qt::StrongFocus);
        l->setAccessibleName(tr("第%1次摇得").arg(k + 1));
        throwLabels_[std::size_t(k)] = l;
    }
    manualCastButton_ = button(tab, names::manualCastButton, tr("手工起卦"), kManualCast);
    computerCastButton1_ = button(tab, names::computerCastButton1, tr("电脑自动起卦"), kComputerCast,
                                  tr("利用cpu真随机数或者伪随机数自动起卦"));
    cancelButton_ = button(tab, names::cancelButton, tr("取消"), kCancel);
}

void CastDialog::buildSecondTab(QWidget* tab) {
    using namespace layout::second;
    caption(tab, tr("起卦时间日期："), kMomentCaption);
    dateEdit2_ = datePicker(tab, names::dateEdit2, kDate);
    timeEdit2_ = timePicker(tab, names::timeEdit2, kTime);
    dateHeaderLabel_ = place<QLabel>(tab, names::dateHeaderLabel, kDateHeader);
    dateHeaderLabel_->setWordWrap(true);
    termLabel_ = place<QLabel>(tab, names::termLabel, kTerm);
    // A term's name in a translation may be longer than its place: it wraps, pushing the header down.
    if (language::currentLanguage() != language::Language::SimplifiedChinese) termLabel_->setWordWrap(true);
    const DetailBoxes details = detailBoxes(tab, names::categoryBox2, names::sexBox2, names::birthYearEdit2, kDetailsY);
    categoryBox2_ = details.category;
    sexBox2_ = details.sex;
    birthYearEdit2_ = details.birthYear;
    QLabel* subjectCaption = caption(tab, tr("占事："), kSubjectCaption);
    subjectEdit2_ = place<QLineEdit>(tab, names::subjectEdit2, kSubject);
    fitCaption(subjectCaption, subjectEdit2_);
    questionBox2_ = questionBox(tab, kQuestionCaption, kQuestion);

    QLabel* nameCaption = caption(tab, tr("卦例ID或者卦名："), kNameCaption);
    nameEdit_ = place<QLineEdit>(tab, names::nameEdit, kName);
    fitCaption(nameCaption, nameEdit_);
    nameCastButton_ = button(tab, names::nameCastButton, tr("根据卦名排盘"), kNameCast,
                             tr("根据输入的卦名称来排盘"));
    matchButton_ = button(tab, names::matchButton, tr("匹配干支"), kMatch,
                          tr("按月日匹配干支，不论年，如果有年，请点击“查看干支纪年”手工匹配"));
    viewerButton_ = button(tab, names::viewerButton, tr("查看干支纪年"), kViewer,
                           tr("查看选定年月日的天干地支"));

    const QString lineNames[] = {tr("初爻："), tr("二爻："), tr("三爻："),
                                 tr("四爻："), tr("五爻："), tr("上爻：")};
    for (int l = 0; l < 6; ++l) {
        QRadioButton* r = place<QRadioButton>(tab, names::lineRadios[std::size_t(l)], lineRadio(l));
        r->setText(lineNames[l]);
        r->setToolTip(tr("点击右边按钮选择"));
        lineRadios_[std::size_t(l)] = r;
        QLabel* v = place<FocusLabel>(tab, names::lineLabels[std::size_t(l)], lineSymbol(l));
        v->setFont(largerFont(v->font(), layout::kLineFontPoints));
        v->setCursor(Qt::PointingHandCursor);
        v->installEventFilter(this);
        v->setFocusPolicy(Qt::StrongFocus);
        v->setAccessibleName(lineNames[l].chopped(1));
        lineLabels_[std::size_t(l)] = v;
    }
    lineLabels_[0]->setToolTip(tr("鼠标点此更改阴阳"));
    for (int i = 0; i < 3; ++i) {
        QLabel* c = place<FocusLabel>(tab, names::coinImages[std::size_t(i)], coin(i));
        c->setCursor(Qt::PointingHandCursor);
        c->installEventFilter(this);
        c->setFocusPolicy(Qt::StrongFocus);
        c->setAccessibleName(tr("硬币%1").arg(i + 1));
        coinImages_[std::size_t(i)] = c;
    }
    namesLabel_ = place<QLabel>(tab, names::namesLabel, kNames);
    clearButton_ = button(tab, names::clearButton, tr("清空"), kClear);
    finishManualButton_ = button(tab, names::finishManualButton, tr("完成手工起卦"), kFinishManual);
    nextLineButton_ = button(tab, names::nextLineButton, tr("下一爻"), kNextLine);
    nextLineButton_->hide();
    patternBox_ = checkBox(tab, names::patternBox, tr("显示硬币图案"), kPattern);
    rulesView_ = place<QPlainTextEdit>(tab, names::rulesView, kRules);
    rulesView_->setReadOnly(true);
    rulesView_->setAccessibleName(tr("手工起卦说明"));
    rulesView_->setPlainText(casting::rulesText().join(u'\n'));

    sourceLabel_ = place<QLabel>(tab, names::sourceLabel, kSource);
    sourceLabel_->setWordWrap(true);
    sourceLabel_->setToolTip(tr("支持12年产的ivy架构cpu真随机数和网络随机数，以cpu随机数为佳，速度快。"));
    computerCastButton2_ = button(tab, names::computerCastButton2, tr("电脑自动起卦"), kComputerCast,
                                  tr("利用cpu真随机数或者伪随机数自动起卦"));
    randomDateBox_ = checkBox(tab, names::randomDateBox, tr("使用随机日期"), kRandomDate,
                              tr("勾选此项，起卦时将使用一个随机的日期作为起卦日期"));
    auto* method = place<QGroupBox>(tab, names::methodGroup, kMethodGroup);
    method->setTitle(tr("排卦方式"));
    randomMethod_ = place<QRadioButton>(method, names::randomMethod, methodRadio(0));
    randomMethod_->setText(tr("随机"));
    jingfangMethod_ = place<QRadioButton>(method, names::jingfangMethod, methodRadio(1));
    jingfangMethod_->setText(tr("京房式"));
    zangshanMethod_ = place<QRadioButton>(method, names::zangshanMethod, methodRadio(2));
    zangshanMethod_->setText(tr("藏山卜"));
    chartOnlyBox_ = checkBox(tab, names::chartOnlyBox, tr("仅排盘，不保存"), kChartOnly,
                             tr("本次仅排盘不自动保存卦例，适合研究分析现有卦使用。"));
    readCasesButton_ =
        button(tab, names::readCasesButton, tr("读取卦例"), kReadCases, tr("读取以前保存的卦"));
    closeButton_ = button(tab, names::closeButton, tr("关闭"), kClose,
                          tr("如需输入卦例ID，可先关闭此窗口，然后在主界面内输入后敲回车。"));
    for (QWidget* w : tab->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w->geometry().top() > kDateHeader.bottom() && w->geometry().right() < kSource.left())
            belowDateHeader_.append({w, w->geometry()});
}

// A term or a date header longer than its line (a translation) wraps; the header moves down below
// the term, and what lies below the header in the left column moves down as far, the rules text at
// the bottom giving up the room.
void CastDialog::fitDateHeader() {
    const QRect header = layout::second::kDateHeader;
    const QRect term = layout::second::kTerm;
    const int termExtra =
        termLabel_->wordWrap() ? std::max(0, termLabel_->heightForWidth(term.width()) - term.height()) : 0;
    const int headerExtra = std::max(0, dateHeaderLabel_->heightForWidth(header.width()) - header.height());
    termLabel_->setGeometry(term.adjusted(0, 0, 0, termExtra));
    dateHeaderLabel_->setGeometry(header.translated(0, termExtra).adjusted(0, 0, 0, headerExtra));
    const int extra = termExtra + headerExtra;
    if (extra == dateHeaderExtra_) return;
    dateHeaderExtra_ = extra;
    for (const auto& [w, at] : belowDateHeader_)
        w->setGeometry(w == rulesView_ ? at.adjusted(0, extra, 0, 0) : at.translated(0, extra));
}

void CastDialog::buildNumberTab(QWidget* tab) {
    auto* momentRow = new QHBoxLayout;
    dateEdit3_ = datePicker(tab, "DateTimePicker5", {});
    timeEdit3_ = timePicker(tab, "DateTimePicker6", {});
    momentRow->addWidget(new QLabel(tr("起卦时间日期："), tab));
    momentRow->addWidget(dateEdit3_);
    momentRow->addWidget(timeEdit3_);
    momentRow->addStretch();
    dateHeaderLabel3_ = new QLabel(tab);
    dateHeaderLabel3_->setObjectName(names::numberTimeHeader);
    dateHeaderLabel3_->setWordWrap(true);

    auto* placeGroup = new QGroupBox(tr("起卦地点（本卦）"), tab);
    placeGroup->setObjectName(names::castPlaceGroup);
    placeFields_ = new PlaceFields(placeGroup);
    (new QVBoxLayout(placeGroup))->addWidget(placeFields_);

    auto* plumGroup = new QGroupBox(tr("梅花起卦"), tab);
    plumGroup->setObjectName(names::plumGroup);
    plumTimeButton_ = new QPushButton(tr("时间起卦"), plumGroup);
    plumTimeButton_->setObjectName(names::plumTimeButton);
    plumTimeButton_->setToolTip(tr("年支数+农历月+农历日为上卦，再加时支数为下卦，总数除六取动爻"));
    numbersEdit_ = new QLineEdit(plumGroup);
    numbersEdit_->setObjectName(names::numbersEdit);
    numbersEdit_->setPlaceholderText(tr("两个或三个数，以空格分开"));
    numbersEdit_->setAccessibleName(tr("报数"));
    numbersEdit_->setToolTip(
        tr("第一数为上卦，第二数为下卦；两数之和（或加时辰数）定动爻，第三数另定动爻"));
    addHourBox_ = new QCheckBox(tr("加时辰数"), plumGroup);
    addHourBox_->setObjectName(names::addHourBox);
    plumNumbersButton_ = new QPushButton(tr("数字起卦"), plumGroup);
    plumNumbersButton_->setObjectName(names::plumNumbersButton);
    auto* plumLayout = new QGridLayout(plumGroup);
    plumLayout->addWidget(plumTimeButton_, 0, 0);
    plumLayout->addWidget(new QLabel(tr("报数："), plumGroup), 1, 0);
    plumLayout->addWidget(numbersEdit_, 1, 1);
    plumLayout->addWidget(addHourBox_, 1, 2);
    plumLayout->addWidget(plumNumbersButton_, 1, 3);

    auto* yarrowGroup = new QGroupBox(tr("蓍草"), tab);
    yarrowGroup->setObjectName(names::yarrowGroup);
    yarrowButton_ = new QPushButton(tr("蓍草起卦"), yarrowGroup);
    yarrowButton_->setObjectName(names::yarrowButton);
    yarrowButton_->setToolTip(tr("用电脑起卦的随机数，按蓍草的概率取六爻"));
    auto* yarrowLayout = new QHBoxLayout(yarrowGroup);
    yarrowLayout->addWidget(yarrowButton_);
    yarrowLayout->addWidget(new QLabel(tr("老阳 3/16，少阴 7/16，少阳 5/16，老阴 1/16"), yarrowGroup), 1);

    auto* layout = new QVBoxLayout(tab);
    layout->addLayout(momentRow);
    layout->addWidget(dateHeaderLabel3_);
    layout->addWidget(placeGroup);
    layout->addWidget(plumGroup);
    layout->addWidget(yarrowGroup);
    layout->addStretch();
}

void CastDialog::connectInputs() {
    // Each input writes its value into the session; refreshing writes them back without echo.
    const auto text = [this](QLineEdit* edit, QString CaseInputs::*field, CaseInputs& inputs) {
        connect(edit, &QLineEdit::textChanged, this, [this, field, &inputs](const QString& t) {
            if (!refreshing_) inputs.*field = t;
        });
    };
    const auto index = [this](QComboBox* box, int CaseInputs::*field, CaseInputs& inputs) {
        connect(box, &QComboBox::currentIndexChanged, this, [this, field, &inputs](int i) {
            if (!refreshing_) inputs.*field = i;
        });
    };
    const auto moment = [this](QDateEdit* date, QTimeEdit* time, CaseInputs& inputs) {
        connect(date, &QDateEdit::dateChanged, this, [this, &inputs](const QDate& d) {
            if (refreshing_) return;
            inputs.date = d;
            pickersChanged();
        });
        connect(time, &QTimeEdit::timeChanged, this, [this, &inputs](const QTime& t) {
            if (refreshing_) return;
            inputs.time = t;
            pickersChanged();
        });
    };
    text(subjectEdit1_, &CaseInputs::subject, session_.firstTab);
    text(birthYearEdit1_, &CaseInputs::birthYear, session_.firstTab);
    text(subjectEdit2_, &CaseInputs::subject, session_.secondTab);
    text(birthYearEdit2_, &CaseInputs::birthYear, session_.secondTab);
    const auto question = [this](QComboBox* box, CaseInputs& inputs) {
        connect(box, &QComboBox::currentIndexChanged, this, [this, box, &inputs] {
            if (!refreshing_) inputs.question = questionOf(box);
        });
    };
    question(questionBox1_, session_.firstTab);
    question(questionBox2_, session_.secondTab);
    index(categoryBox1_, &CaseInputs::category, session_.firstTab);
    index(sexBox1_, &CaseInputs::sex, session_.firstTab);
    index(categoryBox2_, &CaseInputs::category, session_.secondTab);
    index(sexBox2_, &CaseInputs::sex, session_.secondTab);
    moment(dateEdit1_, timeEdit1_, session_.firstTab);
    moment(dateEdit2_, timeEdit2_, session_.secondTab);
    moment(dateEdit3_, timeEdit3_, session_.secondTab);
    connect(placeFields_, &PlaceFields::placeChanged, this, [this] {
        session_.place = placeFields_->place();
        pickersChanged();
    });

    connect(nameEdit_, &QLineEdit::textChanged, this, [this](const QString& t) {
        if (!refreshing_) session_.nameOrNumber = t;
    });
    connect(patternBox_, &QCheckBox::toggled, this, [this](bool on) {
        session_.coinSet = on ? CoinSet::Pattern : CoinSet::Plain;
        refreshCoins();
    });
    connect(randomDateBox_, &QCheckBox::toggled, this, [this](bool on) {
        session_.randomDate = on;
        bench_.setRandomDateOption(on);
    });
    connect(chartOnlyBox_, &QCheckBox::toggled, this, [this](bool on) { session_.chartOnly = on; });
    const std::pair<QRadioButton*, store::ChartStyle> methods[] = {{randomMethod_, store::ChartStyle::Random},
                                                                   {jingfangMethod_, store::ChartStyle::Jingfang},
                                                                   {zangshanMethod_, store::ChartStyle::Zangshan}};
    for (const auto& [radio, style] : methods)
        connect(radio, &QRadioButton::clicked, this,
                [this, style] { guarded([&] { session_.setMethodOption(style); }); });
}

void CastDialog::connectActions() {
    for (int l = 0; l < 6; ++l)
        connect(lineRadios_[std::size_t(l)], &QRadioButton::clicked, this, [this, l] {
            session_.clickRadio(l);
            refreshLines();
        });
    connect(clearButton_, &QPushButton::clicked, this, [this] {
        session_.clearLines();
        refreshLines();
    });
    connect(nextLineButton_, &QPushButton::clicked, this, [this] { act(session_.nextLine()); });
    connect(manualCastButton_, &QPushButton::clicked, this, [this] { act(session_.manualCastFirstTab()); });
    connect(plumTimeButton_, &QPushButton::clicked, this, [this] { act(session_.plumCastByTime()); });
    const auto castByNumbers = [this] {
        act(session_.plumCastByNumbers(numbersEdit_->text().split(u' ', Qt::SkipEmptyParts), addHourBox_->isChecked()));
    };
    connect(plumNumbersButton_, &QPushButton::clicked, this, castByNumbers);
    connect(numbersEdit_, &QLineEdit::returnPressed, this, castByNumbers);
    connect(yarrowButton_, &QPushButton::clicked, this, [this] {
        BusyCursor busy;
        act(session_.yarrowCast());
    });
    connect(finishManualButton_, &QPushButton::clicked, this, [this] { act(session_.finishManualCast()); });
    connect(computerCastButton1_, &QPushButton::clicked, this, [this] {
        BusyCursor busy;
        act(session_.computerCastFirstTab());
    });
    connect(computerCastButton2_, &QPushButton::clicked, this, [this] {
        BusyCursor busy;
        act(session_.computerCast());
    });
    const auto castByName = [this] {
        BusyCursor busy;
        act(session_.castByNameOrNumber());
    };
    connect(nameCastButton_, &QPushButton::clicked, this, castByName);
    connect(nameEdit_, &QLineEdit::returnPressed, this, castByName);
    connect(matchButton_, &QPushButton::clicked, this, &CastDialog::matchPillars);
    connect(viewerButton_, &QPushButton::clicked, this, &CastDialog::openViewer);
    connect(readCasesButton_, &QPushButton::clicked, this, &CastDialog::readCases);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(closeButton_, &QPushButton::clicked, this, &CastDialog::closeTakingTime);
}

bool CastDialog::eventFilter(QObject* watched, QEvent* event) {
    // Space or Enter on a focused throw, line or coin does what a left click does.
    const bool key = event->type() == QEvent::KeyPress && (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space ||
                                                           static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return ||
                                                           static_cast<QKeyEvent*>(event)->key() == Qt::Key_Enter);
    const bool click = key || (event->type() == QEvent::MouseButtonRelease &&
                               static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton);
    for (int k = 0; k < 6; ++k) {
        QLabel* l = throwLabels_[std::size_t(k)];
        if (watched != l) continue;
        if (event->type() == QEvent::Enter)
            l->setStyleSheet(QStringLiteral("color: palette(highlight);"));
        else if (event->type() == QEvent::Leave)
            l->setStyleSheet(QStringLiteral("color: palette(window-text);"));
        else if (click) {
            session_.clickThrow(k);
            refresh();
        }
    }
    for (int l = 0; l < 6; ++l) {
        if (watched == lineLabels_[std::size_t(l)] && click) {
            session_.clickLine(l);
            refresh();
        }
    }
    for (int i = 0; i < 3; ++i) {
        if (watched == coinImages_[std::size_t(i)] && click) {
            session_.clickCoin(i);
            refreshLines();
        }
    }
    if (key) {
        for (QLabel* l : throwLabels_)
            if (watched == l) return true;
        for (QLabel* l : lineLabels_)
            if (watched == l) return true;
        for (QLabel* l : coinImages_)
            if (watched == l) return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CastDialog::showEvent(QShowEvent* event) {
    session_.show();
    refresh();
    QDialog::showEvent(event);
    QMetaObject::invokeMethod(this, &CastDialog::afterShow, Qt::QueuedConnection);
}

void CastDialog::afterShow() {
    if (loginOffer_) loginOffer_();
    QStringList names;
    guarded([&] { names = bench_.caseLists().categoryNames(); });
    session_.afterShow(names);
    refresh();
}

void CastDialog::setPickersToNow() {
    const QDateTime now = bench_.clock().now();
    const QTime time(now.time().hour(), now.time().minute(), now.time().second());
    session_.firstTab.date = session_.secondTab.date = now.date();
    session_.firstTab.time = session_.secondTab.time = time;
    session_.dateChanged();
    refresh();
}

bool CastDialog::run() {
    session_.place = bench_.defaultPlace();
    session_.schools = bench_.schools();
    setPickersToNow();
    return exec() == QDialog::Accepted;
}

void CastDialog::refresh() {
    refreshing_ = true;
    const auto showInputs = [](const CaseInputs& inputs, const QStringList& categories, QLineEdit* subject,
                               QDateEdit* date, QTimeEdit* time, QComboBox* category, QComboBox* sex,
                               QLineEdit* birthYear) {
        setText(subject, inputs.subject);
        if (inputs.date.isValid()) date->setDate(inputs.date);
        if (inputs.time.isValid()) time->setTime(inputs.time);
        setItems(category, categories, inputs.category);
        sex->setCurrentIndex(inputs.sex);
        setText(birthYear, inputs.birthYear);
    };
    showInputs(session_.firstTab, session_.categories, subjectEdit1_, dateEdit1_, timeEdit1_, categoryBox1_, sexBox1_,
               birthYearEdit1_);
    showInputs(session_.secondTab, session_.categories, subjectEdit2_, dateEdit2_, timeEdit2_, categoryBox2_, sexBox2_,
               birthYearEdit2_);
    for (auto [box, inputs] :
         {std::pair{questionBox1_, &session_.firstTab}, std::pair{questionBox2_, &session_.secondTab}})
        box->setCurrentIndex(std::max(0, box->findData(inputs->question)));
    setText(nameEdit_, session_.nameOrNumber);
    dateHeaderLabel_->setText(language::shown(session_.dateLabels().header));
    fitDateHeader();
    dateHeaderLabel3_->setText(language::shown(session_.dateLabels().header));
    if (session_.secondTab.date.isValid()) dateEdit3_->setDate(session_.secondTab.date);
    if (session_.secondTab.time.isValid()) timeEdit3_->setTime(session_.secondTab.time);
    placeFields_->setPlace(session_.place);
    termLabel_->setText(language::shown(session_.dateLabels().term));
    fitDateHeader();
    sourceLabel_->setText(session_.sourceText());
    patternBox_->setChecked(session_.coinSet == CoinSet::Pattern);
    randomDateBox_->setChecked(session_.randomDate);
    chartOnlyBox_->setChecked(session_.chartOnly);
    switch (session_.methodOption()) {
    case store::ChartStyle::Random: randomMethod_->setChecked(true); break;
    case store::ChartStyle::Jingfang: jingfangMethod_->setChecked(true); break;
    case store::ChartStyle::Zangshan: zangshanMethod_->setChecked(true); break;
    }
    for (int k = 0; k < 6; ++k) throwLabels_[std::size_t(k)]->setText(casting::shownThrowCaption(k, session_.lines().throwCaption(k)));
    refreshing_ = false;
    refreshLines();
}

void CastDialog::refreshLines() {
    const casting::ManualCast& lines = session_.lines();
    for (int l = 0; l < 6; ++l) {
        lineLabels_[std::size_t(l)]->setText(lines.symbol(l));
        if (lines.checkedLine() == l) lineRadios_[std::size_t(l)]->setChecked(true);
    }
    namesLabel_->setText(language::shown(lines.nameLabel()));
    refreshCoins();
}

void CastDialog::refreshCoins() {
    for (int i = 0; i < 3; ++i) coinImages_[std::size_t(i)]->setPixmap(QPixmap(session_.coinPicture(i)));
}

void CastDialog::pickersChanged() {
    session_.dateChanged();
    dateHeaderLabel_->setText(language::shown(session_.dateLabels().header));
    fitDateHeader();
    dateHeaderLabel3_->setText(language::shown(session_.dateLabels().header));
    termLabel_->setText(language::shown(session_.dateLabels().term));
    fitDateHeader();
    // The second tab and the page 数字/时间 show one cast moment.
    refreshing_ = true;
    for (QDateEdit* date : {dateEdit2_, dateEdit3_})
        if (session_.secondTab.date.isValid()) date->setDate(session_.secondTab.date);
    for (QTimeEdit* time : {timeEdit2_, timeEdit3_})
        if (session_.secondTab.time.isValid()) time->setTime(session_.secondTab.time);
    refreshing_ = false;
}

void CastDialog::act(const casting::CastOutcome& outcome) {
    if (outcome.resetMain) bench_.resetForCast(outcome.method);
    switch (outcome.kind) {
    case Kind::Finished: finish(*outcome.cast); return;
    case Kind::CaseNumber:
        bench_.enterCaseNumber(outcome.caseNumber);
        reject();
        return;
    case Kind::Message: bench_.prompter().message(outcome.message); break;
    case Kind::Stay: break;
    }
    // A stopped cast leaves the main window's chart as it is: it is still the one on show.
    refresh();
}

void CastDialog::finish(const casting::FinishedCast& cast) {
    if (!bench_.takeCast(session_, cast)) {
        refresh();
        return;
    }
    accept();
}

void CastDialog::matchPillars() {
    const std::optional<QString> input =
        bench_.prompter().input(tr("请输入干支月和日"), tr("请输入"), {});
    if (!input) return;
    {
        BusyCursor busy;
        session_.matchPillars(*input);
    }
    refresh();
}

void CastDialog::openViewer() {
    if (!calendarViewer_) return;
    if (const std::optional<QDate> date = calendarViewer_()) {
        session_.takeViewerDate(*date);
        refresh();
    }
}

void CastDialog::readCases() {
    reject();
    bench_.requestCaseBrowser();
}

void CastDialog::closeTakingTime() {
    bench_.setCastTime(session_.secondTab.time);
    reject();
}

bool CastDialog::guarded(const std::function<void()>& operation) {
    return workbench::guarded(bench_.prompter(), operation);
}

}  // namespace ui
