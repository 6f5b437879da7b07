#pragma once
// The case browser "读取": categories, years, months and cases in four lists, keyword search,
// the texts of the picked case, renaming a category, and opening a case in the main window.
#include <QDialog>
#include <functional>

#include "store/case_lists.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace app {
class Prompter;
}
namespace cloud {
class CloudCaseService;
}

namespace browser {

class CaseBrowser : public QDialog {
    Q_OBJECT
public:
    // openLocalCase opens a stored case in the main window (false when there is no such row).
    CaseBrowser(store::CaseLists& lists, app::Prompter& prompter, std::function<bool(qint64)> openLocalCase,
                QWidget* parent = nullptr);

    // The case service of a logged-in run and how the main window opens one of its cases. The
    // lists come from it while "网络云存储" is selected; renames go to it whatever is selected.
    void setCloud(cloud::CloudCaseService* cloud, std::function<bool(qint64)> openCloudCase);

    // The first showing decides the sources for the run: logged out, only the local one.
    void prepareFirstShowing(bool loggedIn);

    QRadioButton* cloudSource = nullptr;   // RadioButton1 "网络云存储"
    QRadioButton* localSource = nullptr;   // RadioButton2 "本机数据"
    QRadioButton* byCategory = nullptr;    // RadioButton3 "按分类查看"
    QRadioButton* byTime = nullptr;        // RadioButton4 "按时间查看"
    QLineEdit* keywordEdit = nullptr;      // Edit1
    QPushButton* searchButton = nullptr;   // Button1 "搜索"
    QListWidget* categoryList = nullptr;   // ListBox1
    QListWidget* yearList = nullptr;       // ListBox2
    QListWidget* monthList = nullptr;      // ListBox3
    QListWidget* caseList = nullptr;       // ListBox4
    QPlainTextEdit* textsView = nullptr;   // Memo1
    QPushButton* openButton = nullptr;     // Button2 "读取此卦"
    QLabel* selectedLabel = nullptr;       // Label2
    QLineEdit* newNameEdit = nullptr;      // Edit2
    QPushButton* renameButton = nullptr;   // Button3 "更改分类名称"

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
    void sourceClicked(QRadioButton* clicked);
    bool guarded(const std::function<void()>& operation);
    bool cloudInUse() const;
    // Shows a cloud operation's message; true when there was none.
    bool cloudAnswered(const QString& message);

    store::CaseLists& lists_;
    app::Prompter& prompter_;
    std::function<bool(qint64)> openLocalCase_;
    cloud::CloudCaseService* cloud_ = nullptr;
    std::function<bool(qint64)> openCloudCase_;
    bool firstShowingDone_ = false;
};

// "(lei_id)name" and back.
QString categoryItem(const store::Category& category);
qint64 categoryIdOfItem(const QString& item);
QString categoryNameOfItem(const QString& item);

}  // namespace browser
