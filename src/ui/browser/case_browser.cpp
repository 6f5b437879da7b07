#include "ui/browser/case_browser.h"

#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "cloud/cloud_case_service.h"
#include "store/case_categories.h"
#include "ui/browser/case_browser_layout.h"
#include "ui/common/accessible_names.h"
#include "ui/common/enter_key.h"
#include "ui/common/tab_order.h"
#include "ui/common/widget_place.h"
#include "workbench/case_items.h"
#include "workbench/prompter.h"
#include "workbench/workbench.h"

namespace ui {
namespace {

namespace layout = browser_layout;
using workbench::caseItemId;

void fill(QListWidget* list, const QStringList& items) {
    list->clear();
    list->addItems(items);
}

void fillCases(QListWidget* list, const QList<store::CaseListRow>& rows) {
    for (const store::CaseListRow& row : rows) list->addItem(workbench::caseItemText(row));
}

// The item picked in a list: the selected one. A list that merely took the focus has a current
// item that nobody picked.
QListWidgetItem* picked(const QListWidget* list) { return list->selectedItems().value(0); }

}  // namespace

QString categoryItem(const store::Category& category) {
    return u'(' + QString::number(category.lei_id) + u')' + category.lei_mingcheng;
}

qint64 categoryIdOfItem(const QString& item) { return item.mid(1, item.indexOf(u')') - 1).toLongLong(); }

QString categoryNameOfItem(const QString& item) { return item.mid(item.indexOf(u')') + 1); }

CaseBrowser::CaseBrowser(workbench::Workbench& bench, QWidget* parent) : QDialog(parent), bench_(bench) {
    setObjectName(QStringLiteral("TForm3"));
    setWindowTitle(QStringLiteral("读取"));
    setFixedSize(layout::kDialog);

    auto* source = place<QGroupBox>(this, "GroupBox1", layout::kSourceGroup);
    source->setTitle(QStringLiteral("数据来源"));
    cloudSource_ = place<QRadioButton>(source, "RadioButton1", layout::kLeftRadio);
    cloudSource_->setText(QStringLiteral("网络云存储"));
    cloudSource_->setChecked(true);
    localSource_ = place<QRadioButton>(source, "RadioButton2", layout::kRightRadio);
    localSource_->setText(QStringLiteral("本机数据"));
    auto* view = place<QGroupBox>(this, "GroupBox2", layout::kViewGroup);
    view->setTitle(QStringLiteral("查看方式"));
    byCategory_ = place<QRadioButton>(view, "RadioButton3", layout::kLeftRadio);
    byCategory_->setText(QStringLiteral("按分类查看"));
    byCategory_->setChecked(true);
    byTime_ = place<QRadioButton>(view, "RadioButton4", layout::kRightRadio);
    byTime_->setText(QStringLiteral("按时间查看"));

    place<QLabel>(this, "Label1", layout::kKeywordCaption)->setText(QStringLiteral("关键字："));
    keywordEdit_ = place<QLineEdit>(this, "Edit1", layout::kKeyword);
    keywordEdit_->setToolTip(QStringLiteral("搜索最多显示100个卦，如结果过多请更改关键字"));
    searchButton_ = place<QPushButton>(this, "Button1", layout::kSearch);
    searchButton_->setText(QStringLiteral("搜索"));

    categoryList_ = place<QListWidget>(this, "ListBox1", layout::kCategories);
    yearList_ = place<QListWidget>(this, "ListBox2", layout::kYears);
    monthList_ = place<QListWidget>(this, "ListBox3", layout::kMonths);
    caseList_ = place<QListWidget>(this, "ListBox4", layout::kCases);
    textsView_ = place<QPlainTextEdit>(this, "Memo1", layout::kTexts);
    textsView_->setReadOnly(true);
    openButton_ = place<QPushButton>(this, "Button2", layout::kOpen);
    openButton_->setText(QStringLiteral("读取此卦"));

    selectedLabel_ = place<QLabel>(this, "Label2", layout::kSelected);
    newNameEdit_ = place<QLineEdit>(this, "Edit2", layout::kNewName);
    renameButton_ = place<QPushButton>(this, "Button3", layout::kRename);
    renameButton_->setText(QStringLiteral("更改分类名称"));
    renameButton_->setToolTip(QStringLiteral("在输入框内输入新名称，然后点此按钮更改类别名称"));

    deleteCaseButton_ = button(this, "DeleteCaseButton", QStringLiteral("删除此卦"), layout::kDeleteCase,
                               QStringLiteral("删除选中的本机卦例（Delete 键）"));
    moveTargetBox_ = place<QComboBox>(this, "MoveTargetBox", layout::kMoveTarget);
    moveTargetBox_->setToolTip(QStringLiteral("选中的卦例要移到的分类"));
    moveCaseButton_ = button(this, "MoveCaseButton", QStringLiteral("移到此类"), layout::kMoveCase,
                             QStringLiteral("把选中的本机卦例移到上面选的分类"));
    addCategoryButton_ = button(this, "AddCategoryButton", QStringLiteral("添加分类"), layout::kAddCategory,
                                QStringLiteral("以输入框内的名称添加一个新分类"));
    deleteCategoryButton_ = button(this, "DeleteCategoryButton", QStringLiteral("删除分类"), layout::kDeleteCategory,
                                   QStringLiteral("删除选中的分类，其中的卦例移到“杂类”"));
    caseList_->installEventFilter(this);
    connect(deleteCaseButton_, &QPushButton::clicked, this, &CaseBrowser::deleteCase);
    connect(moveCaseButton_, &QPushButton::clicked, this, &CaseBrowser::moveCase);
    connect(addCategoryButton_, &QPushButton::clicked, this, &CaseBrowser::addCategory);
    connect(deleteCategoryButton_, &QPushButton::clicked, this, &CaseBrowser::deleteCategory);

    connect(cloudSource_, &QRadioButton::clicked, this, [this] { sourceClicked(cloudSource_); });
    connect(localSource_, &QRadioButton::clicked, this, [this] { sourceClicked(localSource_); });
    connect(byCategory_, &QRadioButton::clicked, this, &CaseBrowser::fillCategories);
    connect(byTime_, &QRadioButton::clicked, this, [this] {
        categoryList_->clear();
        fillYears(store::kAllCategories);
    });
    categoryList_->setAccessibleName(QStringLiteral("分类"));
    yearList_->setAccessibleName(QStringLiteral("年"));
    monthList_->setAccessibleName(QStringLiteral("月"));
    caseList_->setAccessibleName(QStringLiteral("卦例"));
    textsView_->setAccessibleName(QStringLiteral("断语和反馈"));
    keywordEdit_->setAccessibleName(QStringLiteral("关键字"));
    newNameEdit_->setAccessibleName(QStringLiteral("新类别名称"));
    nameControlsByCaption(this);
    // Top to bottom, and the buttons beside the texts before the row of category controls.
    tabInOrder({cloudSource_, localSource_, byCategory_, byTime_, keywordEdit_, searchButton_, categoryList_,
                 yearList_, monthList_, caseList_, textsView_, openButton_, deleteCaseButton_, moveTargetBox_,
                 moveCaseButton_, newNameEdit_, renameButton_, addCategoryButton_, deleteCategoryButton_});

    // Picking an item, by mouse or keyboard, acts as a click on it.
    connect(categoryList_, &QListWidget::itemSelectionChanged, this, &CaseBrowser::categoryPicked);
    connect(yearList_, &QListWidget::itemSelectionChanged, this, &CaseBrowser::yearPicked);
    connect(monthList_, &QListWidget::itemSelectionChanged, this, &CaseBrowser::monthPicked);
    connect(caseList_, &QListWidget::itemSelectionChanged, this, &CaseBrowser::casePicked);
    connect(caseList_, &QListWidget::itemDoubleClicked, this, &CaseBrowser::openCase);
    new EnterKey(caseList_, [this] { openCase(); });
    connect(openButton_, &QPushButton::clicked, this, &CaseBrowser::openCase);
    connect(searchButton_, &QPushButton::clicked, this, &CaseBrowser::search);
    connect(keywordEdit_, &QLineEdit::returnPressed, this, &CaseBrowser::search);
    connect(renameButton_, &QPushButton::clicked, this, &CaseBrowser::rename);
}

bool CaseBrowser::guarded(const std::function<void()>& operation) {
    return workbench::guarded(bench_.prompter(), operation);
}

bool CaseBrowser::cloudInUse() const { return bench_.cloudCases() && cloudSource_->isChecked(); }

bool CaseBrowser::cloudAnswered(const QString& message) {
    if (message.isEmpty()) return true;
    bench_.prompter().message(message);
    return false;
}

void CaseBrowser::prepareFirstShowing() {
    if (firstShowingDone_) return;
    firstShowingDone_ = true;
    if (bench_.cloudCases()) {
        fillCategories();
        return;
    }
    localSource_->setChecked(true);
    cloudSource_->setEnabled(false);
    sourceClicked(localSource_);
}

void CaseBrowser::sourceClicked(QRadioButton* clicked) {
    if (byTime_->isChecked()) {
        categoryList_->clear();
        fillYears(store::kAllCategories);
    } else if (clicked->isChecked()) {
        fillCategories();
    }
}

void CaseBrowser::fillCategories() {
    categoryList_->clear();
    moveTargetBox_->clear();
    guarded([this] {
        for (const store::Category& c : bench_.caseLists().categories()) {
            categoryList_->addItem(categoryItem(c));
            moveTargetBox_->addItem(c.lei_mingcheng, c.lei_id);
        }
    });
    yearList_->clear();
    monthList_->clear();
    caseList_->clear();
    textsView_->clear();
}

void CaseBrowser::fillYears(qint64 category) {
    if (cloudInUse()) {
        for (QListWidget* list : {yearList_, monthList_, caseList_}) list->clear();
        textsView_->clear();
        const cloud::CloudItems years = bench_.cloudCases()->yearList(category);
        if (cloudAnswered(years.message)) yearList_->addItems(years.items);
        return;
    }
    guarded([&] { fill(yearList_, bench_.caseLists().yearList(category)); });
    monthList_->clear();
    caseList_->clear();
    textsView_->clear();
}

qint64 CaseBrowser::selectedCategory() const {
    if (!byCategory_->isChecked() || !picked(categoryList_)) return store::kAllCategories;
    return categoryIdOfItem(picked(categoryList_)->text());
}

void CaseBrowser::categoryPicked() {
    const QListWidgetItem* item = picked(categoryList_);
    if (!byCategory_->isChecked() || !item) return;
    selectedLabel_->setText(QStringLiteral("已选") + item->text());
    newNameEdit_->clear();
    fillYears(categoryIdOfItem(item->text()));
}

void CaseBrowser::yearPicked() {
    const QListWidgetItem* yearItem = picked(yearList_);
    if (!yearItem) return;
    if (cloudInUse()) {
        monthList_->clear();
        caseList_->clear();
        textsView_->clear();
        const cloud::CloudItems months = bench_.cloudCases()->monthList(selectedCategory(), yearItem->text());
        if (cloudAnswered(months.message)) monthList_->addItems(months.items);
        return;
    }
    const int year = yearItem->text().toInt();
    guarded([&] { fill(monthList_, bench_.caseLists().monthList(selectedCategory(), year)); });
    caseList_->clear();
    textsView_->clear();
}

void CaseBrowser::monthPicked() {
    const QListWidgetItem* yearItem = picked(yearList_);
    const QListWidgetItem* monthItem = picked(monthList_);
    if (!monthItem || !yearItem) return;
    textsView_->clear();
    caseList_->clear();
    if (cloudInUse()) {
        const cloud::CloudCaseRows cases =
            bench_.cloudCases()->casesOfMonth(selectedCategory(), yearItem->text(), monthItem->text());
        if (cloudAnswered(cases.message)) fillCases(caseList_, cases.rows);
        return;
    }
    const int year = yearItem->text().toInt();
    const int month = monthItem->text().toInt();
    guarded([&] { fillCases(caseList_, bench_.caseLists().casesOfMonth(selectedCategory(), year, month)); });
}

void CaseBrowser::casePicked() {
    const QListWidgetItem* item = picked(caseList_);
    if (!item) return;
    textsView_->clear();
    const qint64 id = caseItemId(item->text()).toLongLong();
    if (cloudInUse()) {
        const cloud::CloudCaseTexts texts = bench_.cloudCases()->caseTexts(id);
        if (cloudAnswered(texts.message) && texts.text) textsView_->setPlainText(*texts.text);
        return;
    }
    guarded([&] {
        if (const auto texts = bench_.caseLists().caseTexts(id))
            textsView_->setPlainText(texts->duanyu + QStringLiteral("\n***反馈***\n") + texts->fankui);
    });
}

void CaseBrowser::openCase() {
    const QListWidgetItem* item = picked(caseList_);
    if (!item) return;
    bool numeric = false;
    const qint64 id = caseItemId(item->text()).toLongLong(&numeric);
    if (!numeric) {
        bench_.prompter().message(QStringLiteral("无法获取id") + item->text());
        return;
    }
    if (cloudInUse())
        bench_.openCloudCase(id);
    else
        bench_.openLocalCase(id);
    accept();
}

void CaseBrowser::search() {
    const QString keyword = keywordEdit_->text();
    if (keyword.isEmpty()) {
        bench_.prompter().message(QStringLiteral("请输入关键字。"));
        return;
    }
    caseList_->clear();
    textsView_->clear();
    if (cloudInUse()) {
        const cloud::CloudCaseRows found = bench_.cloudCases()->searchCases(keyword);
        if (cloudAnswered(found.message)) fillCases(caseList_, found.rows);
        return;
    }
    guarded([&] { fillCases(caseList_, bench_.caseLists().searchCases(keyword, 100)); });
}

void CaseBrowser::rename() {
    QListWidgetItem* item = picked(categoryList_);
    if (!item) {
        bench_.prompter().message(QStringLiteral("请先选择一个要更改的原类别。"));
        return;
    }
    const QString name = newNameEdit_->text().trimmed();
    newNameEdit_->setText(name);
    if (name.isEmpty()) {
        bench_.prompter().message(QStringLiteral("请输入新类别名称"));
        return;
    }
    if (name.toUcs4().size() > store::kCategoryNameMaxLength) {
        bench_.prompter().message(QStringLiteral("类别名称最长%1个字。").arg(store::kCategoryNameMaxLength));
        return;
    }
    // Whole names are compared: two categories never share a name.
    for (int i = 0; i < categoryList_->count(); ++i) {
        if (categoryNameOfItem(categoryList_->item(i)->text()) == name) {
            bench_.prompter().message(QStringLiteral("新类别名称不能和现已存在名称相同。"));
            return;
        }
    }
    if (!bench_.prompter().askYesNo(QStringLiteral("是否将") + selectedLabel_->text() + QStringLiteral(" 更改为") +
                                    name))
        return;
    const qint64 id = categoryIdOfItem(item->text());
    QString message;
    if (!guarded([&] { message = cloud::renameCategory(bench_.caseLists(), bench_.cloudCases(), id, name); })) return;
    if (!message.isEmpty()) bench_.prompter().message(message);
    item->setText(categoryItem({id, name}));
    selectedLabel_->setText(QStringLiteral("已选") + item->text());
    newNameEdit_->clear();
}

bool CaseBrowser::eventFilter(QObject* watched, QEvent* event) {
    if (watched == caseList_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Delete)) {
        deleteCase();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

std::optional<qint64> CaseBrowser::pickedLocalCase() {
    if (cloudInUse()) {
        bench_.prompter().message(QStringLiteral("这里只能删除或移动本机数据中的卦例，请先选择“本机数据”。"));
        return std::nullopt;
    }
    if (!picked(caseList_)) {
        bench_.prompter().message(QStringLiteral("请先选择一个卦例。"));
        return std::nullopt;
    }
    bool numeric = false;
    const qint64 id = caseItemId(picked(caseList_)->text()).toLongLong(&numeric);
    if (!numeric) {
        bench_.prompter().message(QStringLiteral("无法获取id") + picked(caseList_)->text());
        return std::nullopt;
    }
    return id;
}

void CaseBrowser::deleteCase() {
    const std::optional<qint64> id = pickedLocalCase();
    if (!id || !bench_.deleteCase(*id, picked(caseList_)->text())) return;
    delete caseList_->takeItem(caseList_->row(picked(caseList_)));
    textsView_->clear();
}

void CaseBrowser::moveCase() {
    const std::optional<qint64> id = pickedLocalCase();
    if (!id || moveTargetBox_->currentIndex() < 0) return;
    if (!bench_.moveCase(*id, moveTargetBox_->currentData().toLongLong())) return;
    // Listed by category, the case has left the category on view.
    if (byCategory_->isChecked()) {
        delete caseList_->takeItem(caseList_->row(picked(caseList_)));
        textsView_->clear();
    }
}

void CaseBrowser::addCategory() {
    if (bench_.addCategory(newNameEdit_->text())) {
        newNameEdit_->clear();
        if (byCategory_->isChecked() && !cloudInUse()) fillCategories();
    }
}

void CaseBrowser::deleteCategory() {
    QListWidgetItem* item = picked(categoryList_);
    if (!item || cloudInUse()) {
        bench_.prompter().message(QStringLiteral("请先在本机数据中选择一个要删除的类别。"));
        return;
    }
    if (bench_.deleteCategory(categoryIdOfItem(item->text()), categoryNameOfItem(item->text()))) {
        selectedLabel_->clear();
        fillCategories();
    }
}

}  // namespace ui
