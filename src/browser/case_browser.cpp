#include "browser/case_browser.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/case_items.h"
#include "app/prompter.h"
#include "app/widget_place.h"
#include "cloud/cloud_case_service.h"

namespace browser {
namespace {

using app::place;

void fill(QListWidget* list, const QStringList& items) {
    list->clear();
    list->addItems(items);
}

void fillCases(QListWidget* list, const QList<store::CaseListRow>& rows) {
    for (const store::CaseListRow& row : rows) list->addItem(app::caseItemText(row));
}

constexpr int kNameCompareLength = 32;

}  // namespace

QString categoryItem(const store::Category& category) {
    return u'(' + QString::number(category.lei_id) + u')' + category.lei_mingcheng;
}

qint64 categoryIdOfItem(const QString& item) { return item.mid(1, item.indexOf(u')') - 1).toLongLong(); }

QString categoryNameOfItem(const QString& item) { return item.mid(item.indexOf(u')') + 1); }

CaseBrowser::CaseBrowser(store::CaseLists& lists, app::Prompter& prompter, std::function<bool(qint64)> openLocalCase,
                         QWidget* parent)
    : QDialog(parent), lists_(lists), prompter_(prompter), openLocalCase_(std::move(openLocalCase)) {
    setObjectName(QStringLiteral("TForm3"));
    setWindowTitle(QStringLiteral("读取"));
    setFixedSize(780, 548);

    auto* source = place<QGroupBox>(this, "GroupBox1", 8, 4, 200, 52);
    source->setTitle(QStringLiteral("数据来源"));
    cloudSource = place<QRadioButton>(source, "RadioButton1", 8, 22, 95, 22);
    cloudSource->setText(QStringLiteral("网络云存储"));
    cloudSource->setChecked(true);
    localSource = place<QRadioButton>(source, "RadioButton2", 105, 22, 90, 22);
    localSource->setText(QStringLiteral("本机数据"));
    auto* view = place<QGroupBox>(this, "GroupBox2", 216, 4, 200, 52);
    view->setTitle(QStringLiteral("查看方式"));
    byCategory = place<QRadioButton>(view, "RadioButton3", 8, 22, 95, 22);
    byCategory->setText(QStringLiteral("按分类查看"));
    byCategory->setChecked(true);
    byTime = place<QRadioButton>(view, "RadioButton4", 105, 22, 90, 22);
    byTime->setText(QStringLiteral("按时间查看"));

    place<QLabel>(this, "Label1", 430, 26, 60, 22)->setText(QStringLiteral("关键字："));
    keywordEdit = place<QLineEdit>(this, "Edit1", 490, 24, 190, 24);
    keywordEdit->setToolTip(QStringLiteral("搜索最多显示100个卦，如结果过多请更改关键字"));
    searchButton = place<QPushButton>(this, "Button1", 690, 24, 80, 25);
    searchButton->setText(QStringLiteral("搜索"));

    categoryList = place<QListWidget>(this, "ListBox1", 8, 64, 170, 300);
    yearList = place<QListWidget>(this, "ListBox2", 184, 64, 70, 300);
    monthList = place<QListWidget>(this, "ListBox3", 260, 64, 50, 300);
    caseList = place<QListWidget>(this, "ListBox4", 316, 64, 456, 300);
    textsView = place<QPlainTextEdit>(this, "Memo1", 8, 372, 676, 130);
    textsView->setReadOnly(true);
    openButton = place<QPushButton>(this, "Button2", 692, 372, 80, 25);
    openButton->setText(QStringLiteral("读取此卦"));

    selectedLabel = place<QLabel>(this, "Label2", 8, 512, 240, 24);
    newNameEdit = place<QLineEdit>(this, "Edit2", 256, 512, 200, 24);
    renameButton = place<QPushButton>(this, "Button3", 464, 511, 110, 25);
    renameButton->setText(QStringLiteral("更改分类名称"));
    renameButton->setToolTip(QStringLiteral("在输入框内输入新名称，然后点此按钮更改类别名称"));

    connect(cloudSource, &QRadioButton::clicked, this, [this] { sourceClicked(cloudSource); });
    connect(localSource, &QRadioButton::clicked, this, [this] { sourceClicked(localSource); });
    connect(byCategory, &QRadioButton::clicked, this, &CaseBrowser::fillCategories);
    connect(byTime, &QRadioButton::clicked, this, [this] {
        categoryList->clear();
        fillYears(store::kAllCategories);
    });
    connect(categoryList, &QListWidget::itemClicked, this, &CaseBrowser::categoryPicked);
    connect(yearList, &QListWidget::itemClicked, this, &CaseBrowser::yearPicked);
    connect(monthList, &QListWidget::itemClicked, this, &CaseBrowser::monthPicked);
    connect(caseList, &QListWidget::itemClicked, this, &CaseBrowser::casePicked);
    connect(caseList, &QListWidget::itemDoubleClicked, this, &CaseBrowser::openCase);
    connect(openButton, &QPushButton::clicked, this, &CaseBrowser::openCase);
    connect(searchButton, &QPushButton::clicked, this, &CaseBrowser::search);
    connect(keywordEdit, &QLineEdit::returnPressed, this, &CaseBrowser::search);
    connect(renameButton, &QPushButton::clicked, this, &CaseBrowser::rename);
}

bool CaseBrowser::guarded(const std::function<void()>& operation) { return app::guarded(prompter_, operation); }

void CaseBrowser::setCloud(cloud::CloudCaseService* cloud, std::function<bool(qint64)> openCloudCase) {
    cloud_ = cloud;
    openCloudCase_ = std::move(openCloudCase);
}

bool CaseBrowser::cloudInUse() const { return cloud_ && cloudSource->isChecked(); }

bool CaseBrowser::cloudAnswered(const QString& message) {
    if (message.isEmpty()) return true;
    prompter_.message(message);
    return false;
}

void CaseBrowser::prepareFirstShowing(bool loggedIn) {
    if (firstShowingDone_) return;
    firstShowingDone_ = true;
    if (loggedIn) {
        fillCategories();
        return;
    }
    localSource->setChecked(true);
    cloudSource->setEnabled(false);
    sourceClicked(localSource);
}

void CaseBrowser::sourceClicked(QRadioButton* clicked) {
    if (byTime->isChecked()) {
        categoryList->clear();
        fillYears(store::kAllCategories);
    } else if (clicked->isChecked()) {
        fillCategories();
    }
}

void CaseBrowser::fillCategories() {
    categoryList->clear();
    guarded([this] {
        for (const store::Category& c : lists_.categories()) categoryList->addItem(categoryItem(c));
    });
    yearList->clear();
    monthList->clear();
    caseList->clear();
    textsView->clear();
}

void CaseBrowser::fillYears(qint64 category) {
    if (cloudInUse()) {
        for (QListWidget* list : {yearList, monthList, caseList}) list->clear();
        textsView->clear();
        const cloud::CloudItems years = cloud_->yearList(category);
        if (cloudAnswered(years.message)) yearList->addItems(years.items);
        return;
    }
    guarded([&] { fill(yearList, lists_.yearList(category)); });
    monthList->clear();
    caseList->clear();
    textsView->clear();
}

qint64 CaseBrowser::selectedCategory() const {
    if (!byCategory->isChecked() || !categoryList->currentItem()) return store::kAllCategories;
    return categoryIdOfItem(categoryList->currentItem()->text());
}

void CaseBrowser::categoryPicked() {
    if (!byCategory->isChecked() || !categoryList->currentItem()) return;
    selectedLabel->setText(QStringLiteral("已选") + categoryList->currentItem()->text());
    newNameEdit->clear();
    fillYears(categoryIdOfItem(categoryList->currentItem()->text()));
}

void CaseBrowser::yearPicked() {
    if (!yearList->currentItem()) return;
    if (cloudInUse()) {
        monthList->clear();
        caseList->clear();
        textsView->clear();
        const cloud::CloudItems months = cloud_->monthList(selectedCategory(), yearList->currentItem()->text());
        if (cloudAnswered(months.message)) monthList->addItems(months.items);
        return;
    }
    const int year = yearList->currentItem()->text().toInt();
    guarded([&] { fill(monthList, lists_.monthList(selectedCategory(), year)); });
    caseList->clear();
    textsView->clear();
}

void CaseBrowser::monthPicked() {
    if (!monthList->currentItem() || !yearList->currentItem()) return;
    textsView->clear();
    caseList->clear();
    if (cloudInUse()) {
        const cloud::CloudCaseRows cases =
            cloud_->casesOfMonth(selectedCategory(), yearList->currentItem()->text(), monthList->currentItem()->text());
        if (cloudAnswered(cases.message)) fillCases(caseList, cases.rows);
        return;
    }
    const int year = yearList->currentItem()->text().toInt();
    const int month = monthList->currentItem()->text().toInt();
    guarded([&] { fillCases(caseList, lists_.casesOfMonth(selectedCategory(), year, month)); });
}

void CaseBrowser::casePicked() {
    if (!caseList->currentItem()) return;
    textsView->clear();
    const qint64 id = app::caseItemId(caseList->currentItem()->text()).toLongLong();
    if (cloudInUse()) {
        const cloud::CloudCaseTexts texts = cloud_->caseTexts(id);
        if (cloudAnswered(texts.message) && texts.text) textsView->setPlainText(*texts.text);
        return;
    }
    guarded([&] {
        if (const auto texts = lists_.caseTexts(id))
            textsView->setPlainText(texts->duanyu + QStringLiteral("\n***反馈***\n") + texts->fankui);
    });
}

void CaseBrowser::openCase() {
    if (!caseList->currentItem()) return;
    bool numeric = false;
    const qint64 id = app::caseItemId(caseList->currentItem()->text()).toLongLong(&numeric);
    if (!numeric) {
        prompter_.message(QStringLiteral("无法获取id") + caseList->currentItem()->text());
        return;
    }
    if (cloudInUse()) {
        if (openCloudCase_) openCloudCase_(id);
    } else if (openLocalCase_) {
        openLocalCase_(id);
    }
    accept();
}

void CaseBrowser::search() {
    const QString keyword = keywordEdit->text();
    if (keyword.isEmpty()) {
        prompter_.message(QStringLiteral("请输入关键字。"));
        return;
    }
    caseList->clear();
    textsView->clear();
    if (cloudInUse()) {
        const cloud::CloudCaseRows found = cloud_->searchCases(keyword);
        if (cloudAnswered(found.message)) fillCases(caseList, found.rows);
        return;
    }
    guarded([&] { fillCases(caseList, lists_.searchCases(keyword, 100)); });
}

void CaseBrowser::rename() {
    QListWidgetItem* item = categoryList->currentItem();
    if (!item) {
        prompter_.message(QStringLiteral("请先选择一个要更改的原类别。"));
        return;
    }
    const QString name = newNameEdit->text().trimmed();
    newNameEdit->setText(name);
    if (name.isEmpty()) {
        prompter_.message(QStringLiteral("请输入新类别名称"));
        return;
    }
    for (int i = 0; i < categoryList->count(); ++i) {
        if (categoryNameOfItem(categoryList->item(i)->text()).left(kNameCompareLength) == name) {
            prompter_.message(QStringLiteral("新类别名称不能和现已存在名称相同。"));
            return;
        }
    }
    if (!prompter_.askYesNo(QStringLiteral("是否将") + selectedLabel->text() + QStringLiteral(" 更改为") + name)) return;
    const qint64 id = categoryIdOfItem(item->text());
    QString message;
    if (!guarded([&] { message = cloud::renameCategory(lists_, cloud_, id, name); })) return;
    if (!message.isEmpty()) prompter_.message(message);
    item->setText(categoryItem({id, name}));
    selectedLabel->setText(QStringLiteral("已选") + item->text());
    newNameEdit->clear();
}

}  // namespace browser
