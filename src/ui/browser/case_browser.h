#pragma once
// The case browser "读取": categories, years, months and cases in four lists, keyword search,
// the texts of the picked case, renaming a category, and opening a case in the main window.
#include <QDialog>
#include <functional>
#include <optional>

#include "store/case_lists.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace workbench {
class Workbench;
}

namespace ui {

class CaseBrowser : public QDialog {
    Q_OBJECT
public:
    // The lists come from the case service while logged in and "网络云存储" is selected;
    // renames go to it whatever is selected. A case opened becomes the current case.
    explicit CaseBrowser(workbench::Workbench& bench, QWidget* parent = nullptr);

    // The first showing decides the sources for the run: logged out, only the local one.
    void prepareFirstShowing();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillCategories();
    void fillYears(qint64 category);
    qint64 selectedCategory() const;
    void categoryPicked();
    void yearPicked();
    void monthPicked();
    void casePicked();
    void openCase();
    void search();
    void rename();
    // The local library: the picked case deleted or moved, a category added or deleted.
    void deleteCase();
    void moveCase();
    void addCategory();
    void deleteCategory();
    // After a change to the library: the categories (with the move targets), years, months and
    // cases read again, each list keeping the item picked in it while that still exists.
    void reloadKeepingPicks();
    bool isPickingList(const QObject* watched) const;
    // The picked case's id; none (after a message) without one or while the service is shown.
    std::optional<qint64> pickedLocalCase();
    void sourceClicked(QRadioButton* clicked);
    bool guarded(const std::function<void()>& operation);
    bool cloudInUse() const;
    // Shows a cloud operation's message; true when there was none.
    bool cloudAnswered(const QString& message);

    workbench::Workbench& bench_;
    bool firstShowingDone_ = false;

    // Controls by role; their objectNames are in object_names.h.
    QRadioButton* cloudSource_ = nullptr;  // "网络云存储"
    QRadioButton* localSource_ = nullptr;  // "本机数据"
    QRadioButton* byCategory_ = nullptr;   // "按分类查看"
    QRadioButton* byTime_ = nullptr;       // "按时间查看"
    QLineEdit* keywordEdit_ = nullptr;
    QPushButton* searchButton_ = nullptr;  // "搜索"
    QListWidget* categoryList_ = nullptr;
    QListWidget* yearList_ = nullptr;
    QListWidget* monthList_ = nullptr;
    QListWidget* caseList_ = nullptr;
    QPlainTextEdit* textsView_ = nullptr;
    QPushButton* openButton_ = nullptr;  // "读取此卦"
    QLabel* selectedLabel_ = nullptr;
    QLineEdit* newNameEdit_ = nullptr;
    QPushButton* deleteCaseButton_ = nullptr;  // "删除此卦"
    QComboBox* moveTargetBox_ = nullptr;
    QPushButton* moveCaseButton_ = nullptr;        // "移到此类"
    QPushButton* addCategoryButton_ = nullptr;     // "添加分类"
    QPushButton* deleteCategoryButton_ = nullptr;  // "删除分类"
    QPushButton* renameButton_ = nullptr;          // "更改分类名称"
};

// "(lei_id)name" and back.
QString categoryItem(const store::Category& category);
qint64 categoryIdOfItem(const QString& item);
QString categoryNameOfItem(const QString& item);

}  // namespace ui
