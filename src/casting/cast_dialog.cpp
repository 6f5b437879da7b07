#include "casting/cast_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimeEdit>

#include "app/busy_cursor.h"
#include "app/clock.h"
#include "app/main_window.h"
#include "app/prompter.h"
#include "app/widget_place.h"
#include "store/case_record.h"

namespace casting {
namespace {

using app::button;
using app::place;
using Kind = CastOutcome::Kind;

QLabel* caption(QWidget* parent, const QString& text, int x, int y, int w, int h = 24) {
    auto* l = new QLabel(text, parent);
    l->setGeometry(x, y, w, h);
    return l;
}

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& text, int x, int y, int w,
                    const QString& hint = {}) {
    auto* c = place<QCheckBox>(parent, name, x, y, w, 22);
    c->setText(text);
    c->setToolTip(hint);
    return c;
}

QDateEdit* datePicker(QWidget* parent, const char* name, int x, int y) {
    auto* d = place<QDateEdit>(parent, name, x, y, 112, 24);
    d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    d->setCalendarPopup(true);
    return d;
}

QTimeEdit* timePicker(QWidget* parent, const char* name, int x, int y) {
    auto* t = place<QTimeEdit>(parent, name, x, y, 92, 24);
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
    caption(tab, QStringLiteral("分类："), 8, y, 44);
    auto* c = place<QComboBox>(tab, category, 52, y, 140, 24);
    caption(tab, QStringLiteral("性别："), 204, y, 44);
    auto* s = place<QComboBox>(tab, sex, 248, y, 70, 24);
    s->addItems(sexItems());
    caption(tab, QStringLiteral("出生年："), 330, y, 56);
    auto* b = place<QLineEdit>(tab, birthYear, 386, y, 64, 24);
    return {c, s, b};
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

CastDialog::CastDialog(app::MainWindow& main, store::Database& db, const app::Clock& clock, app::Prompter& prompter,
                       RandomSource random, QWidget* parent)
    : QDialog(parent),
      main_(main),
      settings_(db),
      clock_(clock),
      prompter_(prompter),
      session_(main.divinationData(), settings_, std::move(random), [&clock] {
          // The pickers show whole seconds; the cast moment is what they show.
          const QDateTime now = clock.now();
          return QDateTime(now.date(), QTime(now.time().hour(), now.time().minute(), now.time().second()));
      }) {
    setObjectName(QStringLiteral("TForm2"));
    setWindowTitle(QStringLiteral("起卦"));
    setFixedSize(660, 500);

    tabs = place<QTabWidget>(this, "PageControl1", 4, 4, 652, 492);
    auto* first = new QWidget;
    first->setObjectName(QStringLiteral("TabSheet1"));
    auto* second = new QWidget;
    second->setObjectName(QStringLiteral("TabSheet2"));
    tabs->addTab(first, QStringLiteral("常用功能"));
    tabs->addTab(second, QStringLiteral("高级功能"));
    buildFirstTab(first);
    buildSecondTab(second);
    // Enter in the name field casts by name and nothing else: no button is pressed by Enter.
    for (QPushButton* b : findChildren<QPushButton*>()) b->setAutoDefault(false);

    session_.onSourceText = [this](const QString& text) {
        sourceLabel->setText(text);
        sourceLabel->repaint();
    };
    connectInputs();
    connectActions();
    refresh();
}

void CastDialog::buildFirstTab(QWidget* tab) {
    caption(tab, QStringLiteral("占事："), 8, 16, 44);
    subjectEdit1 = place<QLineEdit>(tab, "Edit5", 52, 16, 580, 24);
    caption(tab, QStringLiteral("起卦时间日期："), 8, 50, 100);
    dateEdit1 = datePicker(tab, "DateTimePicker3", 108, 50);
    timeEdit1 = timePicker(tab, "DateTimePicker4", 226, 50);
    const DetailBoxes details = detailBoxes(tab, "ComboBox3", "ComboBox4", "Edit4", 84);
    categoryBox1 = details.category;
    sexBox1 = details.sex;
    birthYearEdit1 = details.birthYear;

    auto* throws = place<QGroupBox>(tab, "GroupBox3", 8, 122, 300, 232);
    throws->setTitle(QStringLiteral("手工起卦选项，点击鼠标更改"));
    // The throws stack like the lines of a hexagram: the first at the bottom.
    for (int k = 0; k < 6; ++k) {
        const QByteArray name = "Label" + QByteArray::number(29 + k);
        QLabel* l = place<QLabel>(throws, name.constData(), 24, 28 + (5 - k) * 33, 250, 30);
        l->setFont(largerFont(l->font(), 14));
        l->setToolTip(QStringLiteral("点击鼠标后分别会在少阳少阴老阳老阴之间变动"));
        l->setCursor(Qt::PointingHandCursor);
        l->installEventFilter(this);
        throwLabels[std::size_t(k)] = l;
    }
    manualCastButton = button(tab, "Button6", QStringLiteral("手工起卦"), 332, 140, 130, 32);
    computerCastButton1 = button(tab, "Button2", QStringLiteral("电脑自动起卦"), 332, 186, 130, 32,
                                 QStringLiteral("利用cpu真随机数或者伪随机数自动起卦"));
    cancelButton = button(tab, "Button7", QStringLiteral("取消"), 332, 232, 130, 32);
}

void CastDialog::buildSecondTab(QWidget* tab) {
    caption(tab, QStringLiteral("起卦时间日期："), 8, 8, 100);
    dateEdit2 = datePicker(tab, "DateTimePicker1", 108, 8);
    timeEdit2 = timePicker(tab, "DateTimePicker2", 226, 8);
    dateHeaderLabel = place<QLabel>(tab, "Label14", 8, 36, 440, 22);
    termLabel = place<QLabel>(tab, "Label19", 330, 8, 118, 24);
    const DetailBoxes details = detailBoxes(tab, "ComboBox1", "ComboBox2", "Edit2", 62);
    categoryBox2 = details.category;
    sexBox2 = details.sex;
    birthYearEdit2 = details.birthYear;
    caption(tab, QStringLiteral("占事："), 8, 92, 44);
    subjectEdit2 = place<QLineEdit>(tab, "Edit3", 52, 92, 398, 24);

    caption(tab, QStringLiteral("卦例ID或者卦名："), 8, 124, 110);
    nameEdit = place<QLineEdit>(tab, "Edit1", 118, 124, 332, 24);
    nameCastButton = button(tab, "Button4", QStringLiteral("根据卦名排盘"), 118, 154, 104, 26,
                            QStringLiteral("根据输入的卦名称来排盘"));
    matchButton = button(tab, "Button5", QStringLiteral("匹配干支"), 230, 154, 100, 26,
                         QStringLiteral("按月日匹配干支，不论年，如果有年，请点击“查看干支纪年”手工匹配"));
    viewerButton = button(tab, "Button29", QStringLiteral("查看干支纪年"), 338, 154, 112, 26,
                          QStringLiteral("查看选定年月日的天干地支"));

    // The lines, the top line uppermost.
    const QString lineNames[] = {QStringLiteral("初爻："), QStringLiteral("二爻："), QStringLiteral("三爻："),
                                 QStringLiteral("四爻："), QStringLiteral("五爻："), QStringLiteral("上爻：")};
    for (int l = 0; l < 6; ++l) {
        const int y = 190 + (5 - l) * 26;
        const QByteArray radioName = "RadioButton" + QByteArray::number(1 + l);
        QRadioButton* r = place<QRadioButton>(tab, radioName.constData(), 8, y, 70, 24);
        r->setText(lineNames[l]);
        r->setToolTip(QStringLiteral("点击右边按钮选择"));
        lineRadios[std::size_t(l)] = r;
        const QByteArray labelName = "Label" + QByteArray::number(7 + l);
        QLabel* v = place<QLabel>(tab, labelName.constData(), 80, y, 60, 24);
        v->setFont(largerFont(v->font(), 12));
        v->setCursor(Qt::PointingHandCursor);
        v->installEventFilter(this);
        lineLabels[std::size_t(l)] = v;
    }
    lineLabels[0]->setToolTip(QStringLiteral("鼠标点此更改阴阳"));
    for (int i = 0; i < 3; ++i) {
        const QByteArray name = "Image" + QByteArray::number(1 + i);
        QLabel* coin = place<QLabel>(tab, name.constData(), 160 + i * 56, 196, 48, 48);
        coin->setCursor(Qt::PointingHandCursor);
        coin->installEventFilter(this);
        coinImages[std::size_t(i)] = coin;
    }
    namesLabel = place<QLabel>(tab, "Label16", 160, 252, 290, 24);
    clearButton = button(tab, "Button25", QStringLiteral("清空"), 160, 284, 80, 26);
    finishManualButton = button(tab, "Button26", QStringLiteral("完成手工起卦"), 248, 284, 110, 26);
    nextLineButton = button(tab, "Button1", QStringLiteral("下一爻"), 366, 284, 84, 26);
    nextLineButton->hide();
    patternBox = checkBox(tab, "CheckBox1", QStringLiteral("显示硬币图案"), 160, 318, 150);
    rulesView = place<QPlainTextEdit>(tab, "Memo1", 8, 350, 442, 104);
    rulesView->setReadOnly(true);
    rulesView->setPlainText(rulesText().join(u'\n'));

    sourceLabel = place<QLabel>(tab, "Label17", 462, 8, 176, 44);
    sourceLabel->setWordWrap(true);
    sourceLabel->setToolTip(QStringLiteral("支持12年产的ivy架构cpu真随机数和网络随机数，以cpu随机数为佳，速度快。"));
    computerCastButton2 = button(tab, "Button27", QStringLiteral("电脑自动起卦"), 462, 56, 130, 28,
                                 QStringLiteral("利用cpu真随机数或者伪随机数自动起卦"));
    randomDateBox = checkBox(tab, "CheckBox2", QStringLiteral("使用随机日期"), 462, 92, 176,
                             QStringLiteral("勾选此项，起卦时将使用一个随机的日期作为起卦日期"));
    auto* method = place<QGroupBox>(tab, "GroupBox2", 462, 124, 176, 102);
    method->setTitle(QStringLiteral("排卦方式"));
    randomMethod = place<QRadioButton>(method, "RadioButton12", 10, 24, 150, 22);
    randomMethod->setText(QStringLiteral("随机"));
    jingfangMethod = place<QRadioButton>(method, "RadioButton13", 10, 48, 150, 22);
    jingfangMethod->setText(QStringLiteral("京房式"));
    zangshanMethod = place<QRadioButton>(method, "RadioButton14", 10, 72, 150, 22);
    zangshanMethod->setText(QStringLiteral("藏山卜"));
    chartOnlyBox = checkBox(tab, "CheckBox3", QStringLiteral("仅排盘，不保存"), 462, 236, 176,
                            QStringLiteral("本次仅排盘不自动保存卦例，适合研究分析现有卦使用。"));
    readCasesButton = button(tab, "Button3", QStringLiteral("读取卦例"), 462, 424, 84, 28,
                             QStringLiteral("读取以前保存的卦"));
    closeButton = button(tab, "Button28", QStringLiteral("关闭"), 554, 424, 84, 28,
                         QStringLiteral("如需输入卦例ID，可先关闭此窗口，然后在主界面内输入后敲回车。"));
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
    text(subjectEdit1, &CaseInputs::subject, session_.firstTab);
    text(birthYearEdit1, &CaseInputs::birthYear, session_.firstTab);
    text(subjectEdit2, &CaseInputs::subject, session_.secondTab);
    text(birthYearEdit2, &CaseInputs::birthYear, session_.secondTab);
    index(categoryBox1, &CaseInputs::category, session_.firstTab);
    index(sexBox1, &CaseInputs::sex, session_.firstTab);
    index(categoryBox2, &CaseInputs::category, session_.secondTab);
    index(sexBox2, &CaseInputs::sex, session_.secondTab);
    moment(dateEdit1, timeEdit1, session_.firstTab);
    moment(dateEdit2, timeEdit2, session_.secondTab);

    connect(nameEdit, &QLineEdit::textChanged, this, [this](const QString& t) {
        if (!refreshing_) session_.nameOrNumber = t;
    });
    connect(patternBox, &QCheckBox::toggled, this, [this](bool on) {
        session_.coinSet = on ? CoinSet::Pattern : CoinSet::Plain;
        refreshCoins();
    });
    connect(randomDateBox, &QCheckBox::toggled, this, [this](bool on) {
        session_.randomDate = on;
        main_.setRandomDateOption(on);
    });
    connect(chartOnlyBox, &QCheckBox::toggled, this, [this](bool on) { session_.chartOnly = on; });
    const std::pair<QRadioButton*, store::ChartStyle> methods[] = {{randomMethod, store::ChartStyle::Random},
                                                                   {jingfangMethod, store::ChartStyle::Jingfang},
                                                                   {zangshanMethod, store::ChartStyle::Zangshan}};
    for (const auto& [radio, style] : methods)
        connect(radio, &QRadioButton::clicked, this,
                [this, style] { guarded([&] { session_.setMethodOption(style); }); });
}

void CastDialog::connectActions() {
    for (int l = 0; l < 6; ++l)
        connect(lineRadios[std::size_t(l)], &QRadioButton::clicked, this, [this, l] {
            session_.clickRadio(l);
            refreshLines();
        });
    connect(clearButton, &QPushButton::clicked, this, [this] {
        session_.clearLines();
        refreshLines();
    });
    connect(nextLineButton, &QPushButton::clicked, this, [this] { act(session_.nextLine()); });
    connect(manualCastButton, &QPushButton::clicked, this, [this] { act(session_.manualCastFirstTab()); });
    connect(finishManualButton, &QPushButton::clicked, this, [this] { act(session_.finishManualCast()); });
    connect(computerCastButton1, &QPushButton::clicked, this, [this] {
        app::BusyCursor busy;
        act(session_.computerCastFirstTab());
    });
    connect(computerCastButton2, &QPushButton::clicked, this, [this] {
        app::BusyCursor busy;
        act(session_.computerCast());
    });
    const auto castByName = [this] {
        app::BusyCursor busy;
        act(session_.castByNameOrNumber());
    };
    connect(nameCastButton, &QPushButton::clicked, this, castByName);
    connect(nameEdit, &QLineEdit::returnPressed, this, castByName);
    connect(matchButton, &QPushButton::clicked, this, &CastDialog::matchPillars);
    connect(viewerButton, &QPushButton::clicked, this, &CastDialog::openViewer);
    connect(readCasesButton, &QPushButton::clicked, this, &CastDialog::readCases);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(closeButton, &QPushButton::clicked, this, &CastDialog::closeTakingTime);
}

bool CastDialog::eventFilter(QObject* watched, QEvent* event) {
    const bool click = event->type() == QEvent::MouseButtonRelease &&
                       static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
    for (int k = 0; k < 6; ++k) {
        QLabel* l = throwLabels[std::size_t(k)];
        if (watched != l) continue;
        if (event->type() == QEvent::Enter) l->setStyleSheet(QStringLiteral("color: palette(highlight);"));
        else if (event->type() == QEvent::Leave) l->setStyleSheet(QStringLiteral("color: palette(window-text);"));
        else if (click) {
            session_.clickThrow(k);
            refresh();
        }
    }
    for (int l = 0; l < 6; ++l) {
        if (watched == lineLabels[std::size_t(l)] && click) {
            session_.clickLine(l);
            refresh();
        }
    }
    for (int i = 0; i < 3; ++i) {
        if (watched == coinImages[std::size_t(i)] && click) {
            session_.clickCoin(i);
            refreshLines();
        }
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
    guarded([&] { names = main_.caseLists().categoryNames(); });
    session_.afterShow(names);
    refresh();
}

void CastDialog::setPickersToNow() {
    const QDateTime now = clock_.now();
    const QTime time(now.time().hour(), now.time().minute(), now.time().second());
    session_.firstTab.date = session_.secondTab.date = now.date();
    session_.firstTab.time = session_.secondTab.time = time;
    session_.dateChanged();
    refresh();
}

bool CastDialog::run() {
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
    showInputs(session_.firstTab, session_.categories, subjectEdit1, dateEdit1, timeEdit1, categoryBox1, sexBox1,
               birthYearEdit1);
    showInputs(session_.secondTab, session_.categories, subjectEdit2, dateEdit2, timeEdit2, categoryBox2, sexBox2,
               birthYearEdit2);
    setText(nameEdit, session_.nameOrNumber);
    dateHeaderLabel->setText(session_.dateLabels().header);
    termLabel->setText(session_.dateLabels().term);
    sourceLabel->setText(session_.sourceText());
    patternBox->setChecked(session_.coinSet == CoinSet::Pattern);
    randomDateBox->setChecked(session_.randomDate);
    chartOnlyBox->setChecked(session_.chartOnly);
    switch (session_.methodOption()) {
    case store::ChartStyle::Random: randomMethod->setChecked(true); break;
    case store::ChartStyle::Jingfang: jingfangMethod->setChecked(true); break;
    case store::ChartStyle::Zangshan: zangshanMethod->setChecked(true); break;
    }
    for (int k = 0; k < 6; ++k) throwLabels[std::size_t(k)]->setText(session_.lines().throwCaption(k));
    refreshing_ = false;
    refreshLines();
}

void CastDialog::refreshLines() {
    const ManualCast& lines = session_.lines();
    for (int l = 0; l < 6; ++l) {
        lineLabels[std::size_t(l)]->setText(lines.symbol(l));
        if (lines.checkedLine() == l) lineRadios[std::size_t(l)]->setChecked(true);
    }
    namesLabel->setText(lines.nameLabel());
    refreshCoins();
}

void CastDialog::refreshCoins() {
    for (int i = 0; i < 3; ++i) coinImages[std::size_t(i)]->setPixmap(QPixmap(session_.coinPicture(i)));
}

void CastDialog::pickersChanged() {
    session_.dateChanged();
    dateHeaderLabel->setText(session_.dateLabels().header);
    termLabel->setText(session_.dateLabels().term);
}

void CastDialog::act(const CastOutcome& outcome) {
    if (outcome.resetMain) main_.resetForCast(outcome.method);
    switch (outcome.kind) {
    case Kind::Finished: finish(*outcome.cast); return;
    case Kind::CaseNumber:
        main_.enterCaseNumber(outcome.caseNumber);
        reject();
        return;
    case Kind::Message: prompter_.message(outcome.message); break;
    case Kind::Stay: break;
    }
    // A stopped cast leaves the main window's chart as it is: it is still the one on show.
    refresh();
}

void CastDialog::finish(const FinishedCast& cast) {
    store::CreateResult result;
    if (!guarded([&] { result = session_.handOver(main_.caseStore(), cast); })) {
        refresh();
        return;
    }
    chart::ChartState& state = main_.chartState();
    for (std::size_t i = 0; i < 6; ++i) state.main[i].code = cast.codes[i];
    state.castDate = cast.date;
    state.castTime = cast.time;
    state.method = cast.method;
    main_.setCaseHeader(store::caseLineOfCast(main_.caseStore().record()));
    if (!result.cloudMessage.isEmpty()) prompter_.message(result.cloudMessage);
    accept();
}

void CastDialog::matchPillars() {
    const std::optional<QString> input = prompter_.input(QStringLiteral("请输入干支月和日"), QStringLiteral("请输入"), {});
    if (!input) return;
    {
        app::BusyCursor busy;
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
    main_.openCaseBrowser();
}

void CastDialog::closeTakingTime() {
    main_.chartState().castTime = session_.secondTab.time;
    reject();
}

bool CastDialog::guarded(const std::function<void()>& operation) { return app::guarded(prompter_, operation); }

}  // namespace casting
