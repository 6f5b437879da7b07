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
#include <QSignalBlocker>
#include <algorithm>

#include "cloud/cloud_case_service.h"
#include "store/case_categories.h"
#include "ui/browser/case_browser_layout.h"
#include "ui/browser/object_names.h"
#include "ui/common/accessible_names.h"
#include "ui/common/caption_fit.h"
#include "ui/common/enter_key.h"
#include "ui/common/outcome_editor.h"
#include "ui/common/tab_order.h"
#include "ui/common/widget_place.h"
#include "ui/common/window_fit.h"
#include "workbench/case_items.h"
#include "workbench/prompter.h"
#include "workbench/workbench.h"

namespace ui {
namespace {

namespace layout = browser_layout;
namespace names = objectnames::casebrowser;
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
    return u'(' + QString::number(category.categoryId) + u')' + category.categoryName;
}

qint64 categoryIdOfItem(const QString& item) { return item.mid(1, item.indexOf(u')') - 1).toLongLong(); }

QString categoryNameOfItem(const QString& item) { return item.mid(item.indexOf(u')') + 1); }

CaseBrowser::CaseBrowser(workbench::Workbench& bench, QWidget* parent) : QDialog(parent), bench_(bench) {
    setObjectName(names::window);
    setWindowTitle(tr("读取"));
    QWidget* client = scrolledClient(this, layout::kDialog);
    new ScreenFit(this, layout::kDialog, ScreenFit::Placement::KeptInside);

    auto* source = place<QGroupBox>(client, names::sourceGroup, layout::kSourceGroup);
    source->setTitle(tr("数据来源"));
    cloudSource_ = place<QRadioButton>(source, names::cloudSource, layout::kLeftRadio);
    cloudSource_->setText(tr("网络云存储"));
    cloudSource_->setChecked(true);
    localSource_ = place<QRadioButton>(source, names::localSource, layout::kRightRadio);
    localSource_->setText(tr("本机数据"));
    auto* view = place<QGroupBox>(client, names::viewGroup, layout::kViewGroup);
    view->setTitle(tr("查看方式"));
    byCategory_ = place<QRadioButton>(view, names::byCategory, layout::kLeftRadio);
    byCategory_->setText(tr("按分类查看"));
    byCategory_->setChecked(true);
    byTime_ = place<QRadioButton>(view, names::byTime, layout::kRightRadio);
    byTime_->setText(tr("按时间查看"));

    auto* keywordCaption = place<QLabel>(client, names::keywordCaption, layout::kKeywordCaption);
    keywordCaption->setText(tr("关键字："));
    keywordEdit_ = place<QLineEdit>(client, names::keywordEdit, layout::kKeyword);
    fitCaption(keywordCaption, keywordEdit_);
    keywordEdit_->setToolTip(tr("搜索最多显示100个卦，如结果过多请更改关键字"));
    searchButton_ = place<QPushButton>(client, names::searchButton, layout::kSearch);
    searchButton_->setText(tr("搜索"));

    categoryList_ = place<QListWidget>(client, names::categoryList, layout::kCategories);
    yearList_ = place<QListWidget>(client, names::yearList, layout::kYears);
    monthList_ = place<QListWidget>(client, names::monthList, layout::kMonths);
    caseList_ = place<QListWidget>(client, names::caseList, layout::kCases);
    textsView_ = place<QPlainTextEdit>(client, names::textsView, layout::kTexts);
    textsView_->setReadOnly(true);
    openButton_ = place<QPushButton>(client, names::openButton, layout::kOpen);
    openButton_->setText(tr("读取此卦"));

    selectedLabel_ = place<QLabel>(client, names::selectedLabel, layout::kSelected);
    newNameEdit_ = place<QLineEdit>(client, names::newNameEdit, layout::kNewName);
    renameButton_ = place<QPushButton>(client, names::renameButton, layout::kRename);
    renameButton_->setText(tr("更改分类名称"));
    renameButton_->setToolTip(tr("在输入框内输入新名称，然后点此按钮更改类别名称"));

    deleteCaseButton_ = button(client, names::deleteCaseButton, tr("删除此卦"), layout::kDeleteCase,
                               tr("删除选中的本机卦例（Delete 键）"));
    moveTargetBox_ = place<QComboBox>(client, names::moveTargetBox, layout::kMoveTarget);
    moveTargetBox_->setToolTip(tr("选中的卦例要移到的分类"));
    moveCaseButton_ = button(client, names::moveCaseButton, tr("移到此类"), layout::kMoveCase,
                             tr("把选中的本机卦例移到上面选的分类"));
    addCategoryButton_ = button(client, names::addCategoryButton, tr("添加分类"), layout::kAddCategory,
                                tr("以输入框内的名称添加一个新分类"));
    deleteCategoryButton_ = button(client, names::deleteCategoryButton, tr("删除分类"),
                                   layout::kDeleteCategory, tr("删除选中的分类，其中的卦例移到“杂类”"));
    outcomeEditor_ = new OutcomeEditor(client);
    outcomeEditor_->setGeometry(layout::kOutcome);
    saveOutcomeButton_ = button(client, names::saveOutcomeButton, tr("保存验证"), layout::kSaveOutcome,
                                tr("保存选中的本机卦例的验证结果和日期"));
    recordButton_ = button(client, names::recordButton, tr("验证统计"), layout::kRecord,
                           tr("应验率、应期误差和久未验证的卦例"));
    showPickedOutcome(std::nullopt);
    connect(outcomeEditor_, &OutcomeEditor::edited, this, [this] { saveOutcomeButton_->setEnabled(true); });
    connect(saveOutcomeButton_, &QPushButton::clicked, this, &CaseBrowser::saveOutcome);
    connect(recordButton_, &QPushButton::clicked, &bench_, &workbench::Workbench::requestRecord);
    for (QListWidget* list : {categoryList_, yearList_, monthList_, caseList_}) list->installEventFilter(this);
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
    categoryList_->setAccessibleName(tr("分类"));
    yearList_->setAccessibleName(tr("年"));
    monthList_->setAccessibleName(tr("月"));
    caseList_->setAccessibleName(tr("卦例"));
    textsView_->setAccessibleName(tr("断语和反馈"));
    keywordEdit_->setAccessibleName(tr("关键字"));
    newNameEdit_->setAccessibleName(tr("新类别名称"));
    nameControlsByCaption(this);
    // Top to bottom, and the buttons beside the texts before the row of category controls.
    tabInOrder({cloudSource_, localSource_, byCategory_, byTime_, keywordEdit_, searchButton_, categoryList_,
                 yearList_, monthList_, caseList_, textsView_, openButton_, deleteCaseButton_, moveTargetBox_,
                 moveCaseButton_, newNameEdit_, renameButton_, addCategoryButton_, deleteCategoryButton_,
                 outcomeEditor_->outcomeBox(), outcomeEditor_->predictedEdit(), outcomeEditor_->dateEdit(),
                 saveOutcomeButton_, recordButton_});

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
    new EnterKey(newNameEdit_, [this] { addCategory(); });
    // Enter acts in the field or list it is pressed in; no button is pressed by Enter.
    for (QPushButton* b : findChildren<QPushButton*>()) b->setAutoDefault(false);
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
            moveTargetBox_->addItem(c.categoryName, c.categoryId);
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
        bench_.cloudCases()->yearList(category, [this](const cloud::CloudItems& years) {
            if (!years.cancelled && cloudAnswered(years.message)) yearList_->addItems(years.items);
        });
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
    selectedLabel_->setText(tr("已选%1").arg(item->text()));
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
        bench_.cloudCases()->monthList(selectedCategory(), yearItem->text(), [this](const cloud::CloudItems& months) {
            if (!months.cancelled && cloudAnswered(months.message)) monthList_->addItems(months.items);
        });
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
        bench_.cloudCases()->casesOfMonth(selectedCategory(), yearItem->text(), monthItem->text(),
                                          [this](const cloud::CloudCaseRows& cases) {
                                              if (!cases.cancelled && cloudAnswered(cases.message))
                                                  fillCases(caseList_, cases.rows);
                                          });
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
    showPickedOutcome(cloudInUse() ? std::nullopt : std::optional<qint64>(id));
    if (cloudInUse()) {
        bench_.cloudCases()->caseTexts(id, [this](const cloud::CloudCaseTexts& texts) {
            if (!texts.cancelled && cloudAnswered(texts.message) && texts.text) textsView_->setPlainText(*texts.text);
        });
        return;
    }
    guarded([&] {
        if (const auto texts = bench_.caseLists().caseTexts(id))
            textsView_->setPlainText(texts->judgment + u'\n' + tr("***反馈***") + u'\n' + texts->feedback);
    });
}

// Outcomes are kept locally only: a case of the case service has none to show.
void CaseBrowser::showPickedOutcome(std::optional<qint64> id) {
    const auto outcome = id ? bench_.caseOutcome(*id) : std::nullopt;
    outcomeEditor_->setOutcome(outcome.value_or(store::CaseOutcome{}));
    outcomeEditor_->setEnabled(outcome.has_value());
    outcomeEditor_->setProperty("caseId", outcome ? QVariant(*id) : QVariant());
    saveOutcomeButton_->setEnabled(false);
}

// A failed save keeps what was chosen, still unsaved.
void CaseBrowser::saveOutcome() {
    const QVariant id = outcomeEditor_->property("caseId");
    if (!id.isValid()) return;
    if (bench_.setCaseOutcome(id.toLongLong(), outcomeEditor_->outcome())) saveOutcomeButton_->setEnabled(false);
}

void CaseBrowser::openCase() {
    const QListWidgetItem* item = picked(caseList_);
    if (!item) return;
    bool numeric = false;
    const qint64 id = caseItemId(item->text()).toLongLong(&numeric);
    if (!numeric) {
        bench_.prompter().message(tr("无法获取id%1").arg(item->text()));
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
        bench_.prompter().message(tr("请输入关键字。"));
        return;
    }
    caseList_->clear();
    textsView_->clear();
    if (cloudInUse()) {
        bench_.cloudCases()->searchCases(keyword, [this](const cloud::CloudCaseRows& found) {
            if (!found.cancelled && cloudAnswered(found.message)) fillCases(caseList_, found.rows);
        });
        return;
    }
    guarded([&] { fillCases(caseList_, bench_.caseLists().searchCases(keyword, 100)); });
}

void CaseBrowser::rename() {
    QListWidgetItem* item = picked(categoryList_);
    if (!item) {
        bench_.prompter().message(tr("请先选择一个要更改的原类别。"));
        return;
    }
    const QString name = newNameEdit_->text().trimmed();
    newNameEdit_->setText(name);
    if (name.isEmpty()) {
        bench_.prompter().message(tr("请输入新类别名称"));
        return;
    }
    if (name.toUcs4().size() > store::kCategoryNameMaxLength) {
        bench_.prompter().message(tr("类别名称最长%1个字。").arg(store::kCategoryNameMaxLength));
        return;
    }
    // Whole names are compared: two categories never share a name.
    for (int i = 0; i < categoryList_->count(); ++i) {
        if (categoryNameOfItem(categoryList_->item(i)->text()) == name) {
            bench_.prompter().message(tr("新类别名称不能和现已存在名称相同。"));
            return;
        }
    }
    if (!bench_.prompter().askYesNo(tr("是否将已选%1 更改为%2").arg(item->text(), name)))
        return;
    cloud::renameCategory(bench_.caseLists(), bench_.cloudCases(), categoryIdOfItem(item->text()), name,
                          [this](const cloud::CloudSave& renamed) {
                              if (renamed.cancelled) return;
                              if (!renamed.message.isEmpty()) bench_.prompter().message(renamed.message);
                              if (!renamed.saved) return;
                              newNameEdit_->clear();
                              reloadKeepingPicks();
                          });
}

bool CaseBrowser::eventFilter(QObject* watched, QEvent* event) {
    if (watched == caseList_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Delete)) {
        deleteCase();
        return true;
    }
    if (event->type() == QEvent::KeyPress && isPickingList(watched)) {
        // An arrow that cannot move (the one item, the first going up) still picks the item
        // the list shows as current, so Enter then opens what is seen.
        auto* list = static_cast<QListWidget*>(watched);
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool arrow = key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp ||
                           key == Qt::Key_PageDown || key == Qt::Key_Home || key == Qt::Key_End;
        if (arrow && list->selectedItems().isEmpty() && list->currentItem()) {
            static_cast<QObject*>(list)->event(event);
            if (list->selectedItems().isEmpty() && list->currentItem()) list->currentItem()->setSelected(true);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool CaseBrowser::isPickingList(const QObject* watched) const {
    return watched == categoryList_ || watched == yearList_ || watched == monthList_ || watched == caseList_;
}

std::optional<qint64> CaseBrowser::pickedLocalCase() {
    if (cloudInUse()) {
        bench_.prompter().message(tr("这里只能删除或移动本机数据中的卦例，请先选择“本机数据”。"));
        return std::nullopt;
    }
    if (!picked(caseList_)) {
        bench_.prompter().message(tr("请先选择一个卦例。"));
        return std::nullopt;
    }
    bool numeric = false;
    const qint64 id = caseItemId(picked(caseList_)->text()).toLongLong(&numeric);
    if (!numeric) {
        bench_.prompter().message(tr("无法获取id%1").arg(picked(caseList_)->text()));
        return std::nullopt;
    }
    return id;
}

void CaseBrowser::deleteCase() {
    const std::optional<qint64> id = pickedLocalCase();
    if (!id || !bench_.deleteCase(*id, picked(caseList_)->text())) return;
    delete caseList_->takeItem(caseList_->row(picked(caseList_)));
    textsView_->clear();
    reloadKeepingPicks();
}

void CaseBrowser::moveCase() {
    const std::optional<qint64> id = pickedLocalCase();
    if (!id || moveTargetBox_->currentIndex() < 0) return;
    if (!bench_.moveCase(*id, moveTargetBox_->currentData().toLongLong())) return;
    // Listed by category, the case has left the category on view (and maybe its month).
    reloadKeepingPicks();
}

void CaseBrowser::addCategory() {
    if (bench_.addCategory(newNameEdit_->text())) {
        newNameEdit_->clear();
        reloadKeepingPicks();
    }
}

void CaseBrowser::deleteCategory() {
    QListWidgetItem* item = picked(categoryList_);
    if (!item || cloudInUse()) {
        bench_.prompter().message(tr("请先在本机数据中选择一个要删除的类别。"));
        return;
    }
    if (bench_.deleteCategory(categoryIdOfItem(item->text()), categoryNameOfItem(item->text()))) reloadKeepingPicks();
}

void CaseBrowser::reloadKeepingPicks() {
    const auto pickedText = [](const QListWidget* list) {
        const QListWidgetItem* item = picked(list);
        return item ? item->text() : QString();
    };
    const QString category = byCategory_->isChecked() ? pickedText(categoryList_) : QString();
    const QString year = pickedText(yearList_);
    const QString month = pickedText(monthList_);
    const QString caseId = picked(caseList_) ? caseItemId(picked(caseList_)->text()) : QString();
    const QVariant target = moveTargetBox_->currentData();

    QList<store::Category> categories;
    if (!guarded([&] { categories = bench_.caseLists().categories(); })) return;
    {
        const QSignalBlocker quietCategories(categoryList_);
        const QSignalBlocker quietTargets(moveTargetBox_);
        moveTargetBox_->clear();
        if (byCategory_->isChecked()) categoryList_->clear();
        for (const store::Category& c : categories) {
            moveTargetBox_->addItem(c.categoryName, c.categoryId);
            if (!byCategory_->isChecked()) continue;
            categoryList_->addItem(categoryItem(c));
            if (!category.isEmpty() && categoryIdOfItem(category) == c.categoryId)
                categoryList_->setCurrentRow(categoryList_->count() - 1);
        }
        moveTargetBox_->setCurrentIndex(std::max(0, moveTargetBox_->findData(target)));
    }
    const QListWidgetItem* categoryNow = picked(categoryList_);
    if (categoryNow)
        selectedLabel_->setText(tr("已选%1").arg(categoryNow->text()));
    else
        selectedLabel_->clear();
    // The service's years and months are read again when picked there.
    if (cloudInUse()) return;

    const auto refill = [](QListWidget* list, const QStringList& items, const QString& keep) {
        const QSignalBlocker quiet(list);
        fill(list, items);
        const QList<QListWidgetItem*> found = list->findItems(keep, Qt::MatchExactly);
        if (!keep.isEmpty() && !found.isEmpty()) list->setCurrentItem(found.first());
    };
    const auto clearFrom = [this](QListWidget* first) {
        bool clearing = false;
        for (QListWidget* list : {yearList_, monthList_, caseList_}) {
            clearing = clearing || list == first;
            if (clearing) list->clear();
        }
        textsView_->clear();
    };
    if (byCategory_->isChecked() && !categoryNow) {
        clearFrom(yearList_);
        return;
    }
    const bool monthListing = !month.isEmpty();  // else the cases on view are a search's
    guarded([&] {
        const qint64 filter = selectedCategory();
        refill(yearList_, bench_.caseLists().yearList(filter), year);
        if (!picked(yearList_)) return clearFrom(monthList_);
        refill(monthList_, bench_.caseLists().monthList(filter, year.toInt()), month);
        if (!picked(monthList_)) {
            if (monthListing) clearFrom(caseList_);
            return;
        }
        const QSignalBlocker quiet(caseList_);
        caseList_->clear();
        fillCases(caseList_, bench_.caseLists().casesOfMonth(filter, year.toInt(), month.toInt()));
        for (int i = 0; i < caseList_->count(); ++i)
            if (!caseId.isEmpty() && caseItemId(caseList_->item(i)->text()) == caseId) caseList_->setCurrentRow(i);
        if (!picked(caseList_)) textsView_->clear();
    });
}

}  // namespace ui
