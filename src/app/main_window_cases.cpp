// The main window's case side: judgment and feedback editors with their save buttons, the save
// prompt, stepping through the history and the recent-cases list.
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/case_items.h"
#include "app/main_window.h"
#include "app/prompter.h"
#include "cloud/cloud_case_service.h"

namespace app {
namespace {

constexpr int kEditorHeight = 120;
constexpr int kEnlargedHeight = 284;

struct SaveTexts {
    const char16_t* done;
    const char16_t* failed;
};
const SaveTexts kSaveTexts[] = {
    {u"断语保存成功。", u"断语保存失败，如果网络错误，一般重新启动程序即可恢复。"},
    {u"反馈保存成功。", u"反馈保存失败，如果网络错误，一般重新启动程序即可恢复。"},
    {u"全部保存成功。", u"全部保存失败，如果网络错误，一般重新启动程序即可恢复。"},
};

}  // namespace

void MainWindow::connectCaseHandlers() {
    connect(judgmentEdit, &QPlainTextEdit::textChanged, this, &MainWindow::judgmentEdited);
    connect(feedbackEdit, &QPlainTextEdit::textChanged, this, &MainWindow::feedbackEdited);
    connect(saveJudgmentButton, &QPushButton::clicked, this, [this] { saveTexts(1); });
    connect(saveFeedbackButton, &QPushButton::clicked, this, [this] { saveTexts(2); });
    connect(saveAllButton, &QPushButton::clicked, this, [this] { saveTexts(3); });
    connect(previousCaseButton, &QPushButton::clicked, this, &MainWindow::stepBack);
    connect(nextCaseButton, &QPushButton::clicked, this, &MainWindow::stepForward);
    connect(recentButton, &QPushButton::clicked, this, &MainWindow::showRecentCases);
    connect(recentList, &QListWidget::itemDoubleClicked, this, &MainWindow::pickRecentCase);
    connect(historyButton, &QPushButton::clicked, this, &MainWindow::openCaseBrowser);
    recentList->installEventFilter(this);
    judgmentEdit->viewport()->installEventFilter(this);
    feedbackEdit->viewport()->installEventFilter(this);
    centralWidget()->installEventFilter(this);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == recentList && event->type() == QEvent::FocusOut) {
        recentList->hide();
    } else if (watched == centralWidget() && event->type() == QEvent::MouseButtonRelease) {
        recentList->hide();
    } else if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == judgmentEdit->viewport()) toggleJudgmentSize();
        else if (watched == feedbackEdit->viewport()) toggleFeedbackSize();
    }
    return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::guarded(const std::function<void()>& operation) { return app::guarded(prompter_, operation); }

void MainWindow::judgmentEdited() {
    saveJudgmentButton->setEnabled(true);
    if (saveFeedbackButton->isEnabled()) saveAllButton->setEnabled(true);
}

void MainWindow::feedbackEdited() {
    saveFeedbackButton->setEnabled(true);
    if (saveJudgmentButton->isEnabled()) saveAllButton->setEnabled(true);
}

void MainWindow::saveTexts(int which) {
    store::SaveResult result;
    const bool ran = guarded([&] {
        result = caseStore_.saveCaseTexts(which, {judgmentEdit->toPlainText(), feedbackEdit->toPlainText()});
    });
    if (!ran) return;
    if (!result.message.isEmpty()) prompter_.message(result.message);
    const SaveTexts& texts = kSaveTexts[which - 1];
    if (!result.saved) {
        prompter_.message(QString::fromUtf16(texts.failed));
        return;
    }
    prompter_.message(QString::fromUtf16(texts.done));
    if (which != 2) saveJudgmentButton->setEnabled(false);
    if (which != 1) saveFeedbackButton->setEnabled(false);
    saveAllButton->setEnabled(false);
}

bool MainWindow::confirmUnsaved() {
    if (!saveJudgmentButton->isEnabled() && !saveFeedbackButton->isEnabled()) return true;
    switch (prompter_.askToSave()) {
    case Prompter::Answer::Cancel: return false;
    case Prompter::Answer::No: return true;
    case Prompter::Answer::Yes:
        if (saveJudgmentButton->isEnabled()) saveJudgmentButton->click();
        if (saveFeedbackButton->isEnabled()) saveFeedbackButton->click();
        return true;
    }
    return true;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (confirmUnsaved()) event->accept();
    else event->ignore();
}

void MainWindow::clearCaseEditors() {
    judgmentEdit->clear();
    feedbackEdit->clear();
    for (QPushButton* b : {saveJudgmentButton, saveFeedbackButton, saveAllButton}) b->setEnabled(false);
}

void MainWindow::resetForCast(chart::ArrangementMethod method) {
    clearCaseEditors();
    (method == chart::ArrangementMethod::Zangshan ? zangshanRadio : jingfangRadio)->setChecked(true);
}

bool MainWindow::openLocalCase(qint64 id) {
    std::optional<store::CaseTexts> texts;
    if (!guarded([&] { texts = caseStore_.loadLocalCase(id); }) || !texts) return false;
    showLoadedCase(*texts);
    return true;
}

void MainWindow::setCloudCases(cloud::CloudCaseService* cloud) {
    cloud_ = cloud;
    caseStore_.setCloud(cloud);
}

bool MainWindow::openCloudCase(qint64 id) {
    if (!cloud_) return false;
    const cloud::CloudLoad load = cloud_->loadCloudCase(id, caseStore_);
    if (!load.texts) {
        if (!load.message.isEmpty()) prompter_.message(load.message);
        return false;
    }
    showLoadedCase(*load.texts);
    return true;
}

void MainWindow::showLoadedCase(const store::CaseTexts& texts) {
    judgmentEdit->setPlainText(texts.duanyu);
    feedbackEdit->setPlainText(texts.fankui);
    for (QPushButton* b : {saveJudgmentButton, saveFeedbackButton, saveAllButton}) b->setEnabled(false);
    setCaseHeader(store::caseLineOfLoad(caseStore_.record()));
    enterCaseNumber(caseStore_.record().gua_bianhao);
}

void MainWindow::openHistoryEntry(const QString& entry) {
    const auto target = store::CaseHistory::targetOf(entry);
    if (!target) {
        prompter_.message(QStringLiteral("无法获取id") + entry);
        return;
    }
    if (target->local) openLocalCase(target->id);
    else openCloudCase(target->id);
}

void MainWindow::stepBack() {
    const auto entry = history_.stepBack();
    if (!entry) {
        prompter_.message(QStringLiteral("已经到最前面。"));
        return;
    }
    openHistoryEntry(*entry);
}

void MainWindow::stepForward() {
    const auto entry = history_.stepForward();
    if (!entry) {
        prompter_.message(QStringLiteral("已经到最后面。"));
        return;
    }
    openHistoryEntry(*entry);
}

void MainWindow::showRecentCases() {
    if (!confirmUnsaved()) return;
    recentList->clear();
    recentList->setGeometry(136, 8, 660, 498);
    QList<store::CaseListRow> rows;
    if (cloud_) {
        const cloud::CloudCaseRows recent = cloud_->recentCases();
        if (!recent.message.isEmpty()) {
            prompter_.message(recent.message);
            return;
        }
        rows = recent.rows;
    } else if (!guarded([&] { rows = lists_.recentCases(50); })) {
        return;
    }
    for (const store::CaseListRow& row : rows) recentList->addItem(caseItemText(row));
    recentList->show();
    recentList->raise();
    recentList->setFocus();
}

void MainWindow::pickRecentCase() {
    QListWidgetItem* item = recentList->currentItem();
    if (!item) return;
    const QString id = caseItemId(item->text());
    bool numeric = false;
    const qint64 value = id.toLongLong(&numeric);
    if (id.isEmpty() || !numeric) {
        prompter_.message(QStringLiteral("无法获取id") + item->text());
        return;
    }
    history_.append(cloud_ ? store::CaseHistory::cloudEntry(value) : store::CaseHistory::localEntry(value));
    recentList->hide();
    if (cloud_) openCloudCase(value);
    else openLocalCase(value);
}

void MainWindow::openCaseBrowser() {
    if (!confirmUnsaved()) return;
    if (caseBrowser_) caseBrowser_();
}

void MainWindow::toggleJudgmentSize() {
    const bool enlarge = judgmentEdit->height() == kEditorHeight;
    feedbackEdit->setVisible(!enlarge);
    saveFeedbackButton->setVisible(!enlarge);
    saveJudgmentButton->move(773, enlarge ? 416 : 252);
    judgmentEdit->resize(judgmentEdit->width(), enlarge ? kEnlargedHeight : kEditorHeight);
}

void MainWindow::toggleFeedbackSize() {
    const bool enlarge = feedbackEdit->height() == kEditorHeight;
    judgmentLabel->setText(enlarge ? QStringLiteral("反馈：") : QStringLiteral("断语："));
    saveJudgmentButton->setVisible(!enlarge);
    judgmentEdit->setVisible(!enlarge);
    feedbackEdit->setGeometry(773, enlarge ? 126 : 282, feedbackEdit->width(), enlarge ? kEnlargedHeight : kEditorHeight);
}

}  // namespace app
