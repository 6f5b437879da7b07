// The main window's handlers: each forwards to the chart engine and shows what comes back.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QUrl>

#include "app/busy_cursor.h"
#include "app/chart_area.h"
#include "app/clock.h"
#include "app/main_window.h"
#include "app/prompter.h"
#include "app/widget_place.h"
#include "chart/cast_pillars.h"
#include "chart/text_forms.h"
#include "chart/void_branches.h"

namespace app {
namespace {

const QString kGroupUrl = QStringLiteral("https://qinglan.example.org/group");
const QString kMoreGroupsUrl = QStringLiteral("https://qinglan.example.org/groups");

}  // namespace

void MainWindow::connectHandlers() {
    chartArea->setPaintInputs([this] {
        std::function<chart::StrengthNote(const QString&)> notes;
        if (strengthNotes_) notes = [this](const QString& item) { return strengthNotes_(state_, item); };
        return chart::PaintInputs{state_, options_, view_.showingChanged, caseHeader_, notes, returnInfluence_,
                                  QColor(240, 240, 240), Qt::black};
    });
    connect(chartArea, &ChartArea::released, this, &MainWindow::chartReleased);
    connect(chartArea, &QWidget::customContextMenuRequested, this,
            [this](QPoint at) { popupMenu->popup(chartArea->mapToGlobal(at)); });

    connect(recastButton, &QPushButton::clicked, this, &MainWindow::recast);
    connect(showChangedButton, &QPushButton::clicked, this, &MainWindow::toggleChanged);
    connect(hideChangedButton, &QPushButton::clicked, this, &MainWindow::hideChanged);
    connect(refreshButton, &QPushButton::clicked, this, [this] { redraw(true); });
    connect(invertButton, &QPushButton::clicked, this, &MainWindow::toggleInverted);
    connect(copyTextButton, &QPushButton::clicked, this, &MainWindow::copyText);
    connect(copyPictureButton, &QPushButton::clicked, this, &MainWindow::copyPicture);
    connect(saveNoteButton, &QPushButton::clicked, this, &MainWindow::saveNote);
    connect(reportButton, &QPushButton::clicked, this, [this] { runReport(0, 0); });
    connect(enterButton, &QPushButton::clicked, this, &MainWindow::pressEnter);
    connect(caseNumberEdit, &QLineEdit::returnPressed, enterButton, &QPushButton::click);
    connect(calendarButton, &QPushButton::clicked, this, [this] {
        if (calendarViewer_) calendarViewer_();
    });

    connect(highlightBox, &QCheckBox::clicked, this, [this](bool on) {
        options_.highlightClashes = on;
        redraw(false);
        settings_.setHighlightClashes(on);
    });
    connect(annotationsBox, &QCheckBox::clicked, this, [this](bool on) {
        options_.showAnnotations = on;
        redraw(false);
        settings_.setShowAnnotations(on);
    });
    connect(stemsBox, &QCheckBox::clicked, this, [this](bool on) {
        options_.showStems = on;
        redraw(false);
        settings_.setShowStems(on);
    });
    connect(allChangedBox, &QCheckBox::clicked, this, [this](bool on) {
        options_.showAllChanged = on;
        chart::fillChangedLines(state_, options_);
        redraw(false);
        settings_.setShowAllChanged(on);
    });
    connect(hiddenChangesBox, &QCheckBox::clicked, this, [this](bool on) {
        options_.showHiddenChanges = on;
        showMessages(chart::zhuanggua(state_, context()));
        view_.showingChanged = false;
        showChartTexts();
        redraw(false);
    });
    for (QRadioButton* r : {jingfangRadio, zangshanRadio})
        connect(r, &QRadioButton::clicked, this, &MainWindow::methodChanged);
    for (QRadioButton* r : {beastYear, beastMonth, beastDay})
        connect(r, &QRadioButton::clicked, this, &MainWindow::beastOptionChanged);
    for (QRadioButton* r : {directionXiantian, directionHoutian, ordinalXiantian, ordinalHoutian})
        connect(r, &QRadioButton::clicked, this, &MainWindow::trigramOptionChanged);

    new LinkHover(voidLabel, [this] { askVoidDate(); });
    new LinkHover(groupLinkLabel, [] { QDesktopServices::openUrl(QUrl(kGroupUrl)); });
    new LinkHover(moreGroupsLabel, [] { QDesktopServices::openUrl(QUrl(kMoreGroupsUrl)); });
    new LinkHover(messageLabel, [this] {
        const QString url = messageLabel->property("url").toString();
        if (!url.isEmpty()) QDesktopServices::openUrl(QUrl(url));
    });
}

void MainWindow::showChartTexts() {
    pillarLabel->setText(state_.pillarLabel);
    termLabel->setText(state_.termText);
    titleLabel->setText(state_.title);
    mainDescLabel->setText(state_.mainDescription);
    changedDescLabel->setText(state_.changedDescription);
    monthBranchLabel->setText(state_.monthBranchText);
    dayBranchLabel->setText(state_.dayBranchText);
    voidLabel->setText(state_.voidText.isEmpty() ? QStringLiteral("旬空出空") : state_.voidText);
    showChangedButton->setEnabled(state_.hasChanged);
    showChangedButton->setText(view_.showingChanged ? QStringLiteral("显示主卦") : QStringLiteral("显示变卦"));
    if (!state_.caseNumber.isEmpty()) caseNumberEdit->setText(state_.caseNumber);
    (state_.method == chart::ArrangementMethod::Zangshan ? zangshanRadio : jingfangRadio)->setChecked(true);
    for (std::size_t i = 0; i < basisActions.size(); ++i)
        basisActions[i]->setChecked(int(state_.basis) == int(i));
}

void MainWindow::redraw(bool clearHighlights) {
    if (clearHighlights && !state_.isEmpty()) state_.clearHighlights();
    if (!state_.isEmpty()) chart::refreshVoid(state_, context());
    if (!state_.voidText.isEmpty()) voidLabel->setText(state_.voidText);
    chartArea->update();
}

void MainWindow::showMessages(const QStringList& messages) {
    for (const QString& m : messages) prompter_.message(m);
}

void MainWindow::resetInversionDisplay() {
    view_.inverted = false;
    invertButton->setText(QStringLiteral("显示综卦"));
    invertedLabel->hide();
}

bool MainWindow::enterCaseNumber(const QString& text) {
    caseNumberEdit->setText(text);
    const chart::CaseEntry entry = chart::enterCaseNumber(state_, text, context());
    if (!entry.ok) {
        prompter_.message(entry.error);
        return false;
    }
    resetInversionDisplay();
    view_.showingChanged = false;
    showChartTexts();
    redraw(false);
    showMessages(entry.messages);
    return true;
}

void MainWindow::pressEnter() {
    BusyCursor busy;
    enterCaseNumber(caseNumberEdit->text());
}

void MainWindow::rebuildFromCast() {
    resetInversionDisplay();
    chart::get_tiangandizhi(state_);
    view_.showingChanged = false;
    const QStringList messages = chart::zhuanggua(state_, context());
    showChartTexts();
    redraw(false);
    showMessages(messages);
}

void MainWindow::useCastDate(const QDate& date) {
    state_.castDate = date;
    chart::get_tiangandizhi(state_);
    state_.termText.clear();
    view_.showingChanged = false;
    const QStringList messages = chart::zhuanggua(state_, context());
    showChartTexts();
    redraw(false);
    showMessages(messages);
}

void MainWindow::recast() {
    if (!confirmUnsaved()) return;
    if (castDialog_ && castDialog_()) rebuildFromCast();
}

void MainWindow::toggleChanged() {
    chart::toggleChangedView(state_, view_);
    showChangedButton->setText(view_.showingChanged ? QStringLiteral("显示主卦") : QStringLiteral("显示变卦"));
    redraw(false);
}

void MainWindow::hideChanged() {
    view_.showingChanged = false;
    showChangedButton->setText(QStringLiteral("显示变卦"));
    redraw(false);
}

void MainWindow::toggleInverted() {
    const QStringList messages = chart::toggleInvertedView(state_, view_, context());
    invertButton->setText(view_.inverted ? QStringLiteral("显示本卦") : QStringLiteral("显示综卦"));
    invertedLabel->setVisible(view_.inverted);
    showChartTexts();
    redraw(false);
    showMessages(messages);
}

void MainWindow::methodChanged() {
    state_.method = zangshanRadio->isChecked() ? chart::ArrangementMethod::Zangshan : chart::ArrangementMethod::Jingfang;
    view_.showingChanged = false;
    showMessages(chart::zhuanggua(state_, context()));
    showChartTexts();
    redraw(false);
}

void MainWindow::beastOptionChanged() {
    options_.beastPillar = beastYear->isChecked()    ? chart::BeastPillar::Year
                           : beastMonth->isChecked() ? chart::BeastPillar::Month
                                                     : chart::BeastPillar::Day;
    if (state_.isEmpty()) return;
    const QStringList messages = chart::reattachBeasts(state_, view_, context());
    showChartTexts();
    redraw(false);
    showMessages(messages);
}

void MainWindow::trigramOptionChanged() {
    options_.directionBasis = directionXiantian->isChecked() ? chart::TrigramBasis::Xiantian : chart::TrigramBasis::Houtian;
    options_.ordinalBasis = ordinalXiantian->isChecked() ? chart::TrigramBasis::Xiantian : chart::TrigramBasis::Houtian;
    // Only the descriptions depend on these options. Entering the short number again, as the
    // entry button does, would drop the method word and the time and turn a 藏山卜 chart into 京房式.
    if (state_.isEmpty()) return;
    const QStringList messages = chart::zhuanggua(state_, context());
    showChartTexts();
    redraw(false);
    showMessages(messages);
}

void MainWindow::chooseBasis(chart::StrengthBasis basis) {
    chart::applyStrengthBasis(state_, basis, context());
    showChartTexts();
    redraw(false);
}

void MainWindow::askVoidDate() {
    const auto answer = prompter_.input(QStringLiteral("输入新的旬空出空日期"), QStringLiteral("输入 "),
                                        chart::dateText(clock_.today()));
    if (!answer || answer->trimmed().isEmpty()) return;
    const QDate date = QDate::fromString(answer->trimmed(), QStringLiteral("yyyy-MM-dd"));
    if (!date.isValid()) {
        prompter_.message(QStringLiteral("日期格式不对，请按 yyyy-mm-dd 输入：") + *answer);
        return;
    }
    state_.voidText = chart::voidLabelText(date, state_.voidPair);
    voidLabel->setText(state_.voidText);
    chartArea->update();
}

void MainWindow::copyText() {
    const QStringList lines = chart::chartTextLines(state_, caseNumberEdit->text());
    if (lines.isEmpty()) return;
    QApplication::clipboard()->setText(lines.join(u'\n'));
}

QImage MainWindow::chartPicture() {
    QImage image(pictureRect().size(), QImage::Format_RGB32);
    image.fill(palette().color(QPalette::Window));
    {
        QPainter painter(&image);
        centralWidget()->render(&painter, QPoint(), QRegion(pictureRect()));
        QFont font;
        font.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei")});
        font.setPixelSize(14 * 96 / 72);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QRect(44, 360, 620, 30), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("排盘 ") + chart::kPublisherUrl);
    }
    return image;
}

void MainWindow::copyPicture() { QApplication::clipboard()->setImage(chartPicture()); }

void MainWindow::saveNote() {
    const QString remark = prompter_.input(QStringLiteral("备注"), QStringLiteral("备注"), {}).value_or(QString());
    QString error;
    const QString line = chart::noteLine(state_, caseNumberEdit->text(), remark);
    if (!chart::appendNote(QDir(dataRoot_).filePath(QStringLiteral("save")), clock_.today(), line, &error)) {
        prompter_.message(error);
        return;
    }
    prompter_.message(chart::kNoteSaved);
}

void MainWindow::chartReleased(QPoint position, Qt::MouseButton button) {
    recentList->hide();
    if (button != Qt::LeftButton || !highlightBox->isChecked() || state_.isEmpty()) return;
    state_.clearHighlights();
    const chart::ChartHit hit = chart::hitTest(position.x(), position.y());
    if (hit.row > 0) runReport(hit.row, hit.column);
    redraw(false);
}

void MainWindow::runReport(int row, int column) {
    if (!reportWriter_ || state_.isEmpty()) return;
    const Report report = reportWriter_(state_, row, column);
    if (!report.message.isEmpty()) prompter_.message(report.message);
    if (report.replacesText) judgmentEdit->setPlainText(report.lines.join(u'\n'));
    chartArea->update();
}

}  // namespace app
