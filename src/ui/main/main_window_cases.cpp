// The main window's case side: judgment and feedback editors with their save buttons, the save
// prompt on closing, stepping through the history and the recent-cases list.
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "ui/common/enter_key.h"
#include "ui/main/main_window.h"
#include "ui/main/main_window_layout.h"
#include "workbench/case_items.h"
#include "workbench/clock.h"
#include "workbench/prompter.h"
#include "workbench/workbench.h"

namespace ui {

using store::TextsToSave;

void MainWindow::connectCaseHandlers() {
    connect(&bench_, &workbench::Workbench::caseTextsChanged, this, &MainWindow::showCaseTexts);
    connect(&bench_, &workbench::Workbench::unsavedChanged, this, &MainWindow::showUnsaved);
    connect(judgmentEdit_, &QPlainTextEdit::textChanged, this, [this] {
        if (!mirroring_) bench_.editJudgment(judgmentEdit_->toPlainText());
    });
    connect(feedbackEdit_, &QPlainTextEdit::textChanged, this, [this] {
        if (!mirroring_) bench_.editFeedback(feedbackEdit_->toPlainText());
    });
    connect(saveJudgmentButton_, &QPushButton::clicked, this, [this] { bench_.saveTexts(TextsToSave::Judgment); });
    connect(saveFeedbackButton_, &QPushButton::clicked, this, [this] { bench_.saveTexts(TextsToSave::Feedback); });
    connect(saveAllButton_, &QPushButton::clicked, this, [this] { bench_.saveTexts(TextsToSave::Both); });
    connect(previousCaseButton_, &QPushButton::clicked, &bench_, &workbench::Workbench::stepBack);
    connect(nextCaseButton_, &QPushButton::clicked, &bench_, &workbench::Workbench::stepForward);
    connect(recentButton_, &QPushButton::clicked, this, &MainWindow::showRecentCases);
    connect(recentList_, &QListWidget::itemDoubleClicked, this, &MainWindow::pickRecentCase);
    new EnterKey(recentList_, [this] { pickRecentCase(); });
    connect(historyButton_, &QPushButton::clicked, &bench_, &workbench::Workbench::requestCaseBrowser);
    recentList_->installEventFilter(this);
    judgmentEdit_->viewport()->installEventFilter(this);
    feedbackEdit_->viewport()->installEventFilter(this);
    client_->installEventFilter(this);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == recentList_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Delete)) {
        deleteRecentCase();
        return true;
    }
    if (watched == recentList_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        recentButton_->setFocus(Qt::OtherFocusReason);  // the list hides as it loses the focus
        recentList_->hide();
        return true;
    }
    if (watched == recentList_ && event->type() == QEvent::FocusOut) {
        recentList_->hide();
    } else if (watched == client_ && event->type() == QEvent::MouseButtonRelease) {
        recentList_->hide();
    } else if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == judgmentEdit_->viewport())
            toggleJudgmentSize();
        else if (watched == feedbackEdit_->viewport())
            toggleFeedbackSize();
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::showCaseTexts() {
    mirroring_ = true;
    if (judgmentEdit_->toPlainText() != bench_.judgment()) judgmentEdit_->setPlainText(bench_.judgment());
    if (feedbackEdit_->toPlainText() != bench_.feedback()) feedbackEdit_->setPlainText(bench_.feedback());
    mirroring_ = false;
}

void MainWindow::showUnsaved() {
    saveJudgmentButton_->setEnabled(bench_.judgmentUnsaved());
    saveFeedbackButton_->setEnabled(bench_.feedbackUnsaved());
    saveAllButton_->setEnabled(bench_.judgmentUnsaved() && bench_.feedbackUnsaved());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (bench_.confirmUnsaved([this] { close(); }))
        event->accept();
    else
        event->ignore();
}

void MainWindow::showRecentCases() {
    bench_.recentCases([this](const QList<store::CaseListRow>& rows) { showRecentRows(rows); });
}

void MainWindow::showRecentRows(const QList<store::CaseListRow>& rows) {
    recentList_->clear();
    recentList_->setGeometry(main_layout::kRecentList);
    for (const store::CaseListRow& row : rows) recentList_->addItem(workbench::caseItemText(row));
    recentList_->show();
    recentList_->raise();
    recentList_->setFocus();
}

void MainWindow::pickRecentCase() {
    QListWidgetItem* item = recentList_->currentItem();
    if (!item) return;
    if (bench_.openRecentCase(item->text())) recentList_->hide();
}

void MainWindow::deleteRecentCase() {
    QListWidgetItem* item = recentList_->currentItem();
    if (!item) return;
    if (bench_.cloudCases()) {
        bench_.prompter().message(tr("最近的卦例来自网络云存储，不能在这里删除。"));
        return;
    }
    bool numeric = false;
    const qint64 id = workbench::caseItemId(item->text()).toLongLong(&numeric);
    if (numeric && bench_.deleteCase(id, item->text())) delete recentList_->takeItem(recentList_->row(item));
}

void MainWindow::backUp() {
    const QString suggested =
        QStringLiteral("qinglan-%1.backup").arg(bench_.clock().today().toString(QStringLiteral("yyyyMMdd")));
    if (const auto path =
            bench_.prompter().chooseSaveFile(tr("备份卦例库和笔记"), suggested, tr("青岚备份 (*.backup *.db)")))
        bench_.backUpTo(*path);
}

void MainWindow::restore() {
    if (!bench_.confirmUnsaved([this] { restore(); })) return;
    if (const auto path =
            bench_.prompter().chooseOpenFile(tr("从备份恢复卦例库"), tr("青岚备份 (*.backup *.db);;所有文件 (*)")))
        bench_.restoreFrom(*path);
}

void MainWindow::toggleJudgmentSize() {
    const bool enlarge = judgmentEdit_->height() == main_layout::kJudgment.height();
    feedbackEdit_->setVisible(!enlarge);
    saveFeedbackButton_->setVisible(!enlarge);
    saveJudgmentButton_->move(enlarge ? main_layout::kSaveJudgmentEnlarged : main_layout::kSaveJudgment.topLeft());
    judgmentEdit_->setGeometry(enlarge ? main_layout::kJudgmentEnlarged : main_layout::kJudgment);
}

void MainWindow::toggleFeedbackSize() {
    const bool enlarge = feedbackEdit_->height() == main_layout::kFeedback.height();
    judgmentLabel_->setText(enlarge ? tr("反馈：") : tr("断语："));
    saveJudgmentButton_->setVisible(!enlarge);
    judgmentEdit_->setVisible(!enlarge);
    feedbackEdit_->setGeometry(enlarge ? main_layout::kFeedbackEnlarged : main_layout::kFeedback);
}

}  // namespace ui
