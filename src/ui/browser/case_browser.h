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
namespace ui {
class OutcomeEditor;
}

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

    QRadioButton* cloudSource_ = nullptr;          // RadioButton1 "网络云存储"
    QRadioButton* localSource_ = nullptr;          // RadioButton2 "本机数据"
    QRadioButton* byCategory_ = nullptr;           // RadioButton3 "按分类查看"
    QRadioButton* byTime_ = nullptr;               // RadioButton4 "按时间查看"
    QLineEdit* keywordEdit_ = nullptr;             // Edit1
    QPushButton* searchButton_ = nullptr;          // Button1 "搜索"
    QListWidget* categoryList_ = nullptr;          // ListBox1
    QListWidget* yearList_ = nullptr;              // ListBox2
    QListWidget* monthList_ = nullptr;             // ListBox3
    QListWidget* caseList_ = nullptr;              // ListBox4
    QPlainTextEdit* textsView_ = nullptr;          // Memo1
    QPushButton* openButton_ = nullptr;            // Button2 "读取此卦"
    QLabel* selectedLabel_ = nullptr;              // Label2
    QLineEdit* newNameEdit_ = nullptr;             // Edit2
    QPushButton* deleteCaseButton_ = nullptr;      // DeleteCaseButton "删除此卦"
    QComboBox* moveTargetBox_ = nullptr;           // MoveTargetBox
    QPushButton* moveCaseButton_ = nullptr;        // MoveCaseButton "移到此类"
    QPushButton* addCategoryButton_ = nullptr;     // AddCategoryButton "添加分类"
    QPushButton* deleteCategoryButton_ = nullptr;  // DeleteCategoryButton "删除分类"
    OutcomeEditor* outcomeEditor_ = nullptr;       // the picked local case's outcome
    QPushButton* saveOutcomeButton_ = nullptr;     // saveOutcomeButton "保存验证"
    QPushButton* recordButton_ = nullptr;          // recordButton "验证统计"
    void showPickedOutcome(std::optional<qint64> id);
    void saveOutcome();
    QPushButton* renameButton_ = nullptr;          // Button3 "更改分类名称"
};

// "(lei_id)name" and back.
QString categoryItem(const store::Category& category);
qint64 categoryIdOfItem(const QString& item);
QString categoryNameOfItem(const QString& item);

}  // namespace ui
