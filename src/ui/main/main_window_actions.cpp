// The main window's chart side: each control forwards to the current case, and the labels,
// buttons and drawing reflect it when it signals.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QUrl>

#include "chart/cast_pillars.h"
#include "chart/text_forms.h"
#include "language/generated_text.h"
#include "ui/common/busy_cursor.h"
#include "ui/common/widget_place.h"
#include "ui/main/chart_area.h"
#include "ui/main/main_window.h"
#include "ui/main/main_window_layout.h"
#include "ui/main/settings_dialog.h"
#include "workbench/clock.h"
#include "workbench/prompter.h"
#include "workbench/workbench.h"

namespace ui {
namespace {

const QString kGroupUrl = QStringLiteral("https://qinglan.example.org/group");
const QString kMoreGroupsUrl = QStringLiteral("https://qinglan.example.org/groups");

}  // namespace

void MainWindow::connectHandlers() {
    chartArea_->setPaintInputs([this] { return bench_.paintInputs(); });
    connect(&bench_, &workbench::Workbench::chartChanged, this, &MainWindow::showChart);
    connect(chartArea_, &ChartArea::released, this, &MainWindow::chartReleased);
    connect(chartArea_, &QWidget::customContextMenuRequested, this,
            [this](QPoint at) { popupMenu_->popup(chartArea_->mapToGlobal(at)); });

    connect(recastButton_, &QPushButton::clicked, &bench_, &workbench::Workbench::requestCast);
    connect(showChangedButton_, &QPushButton::clicked, &bench_, &workbench::Workbench::toggleChangedView);
    connect(hideChangedButton_, &QPushButton::clicked, &bench_, &workbench::Workbench::showMainHexagram);
    connect(refreshButton_, &QPushButton::clicked, &bench_, &workbench::Workbench::refresh);
    connect(invertButton_, &QPushButton::clicked, &bench_, &workbench::Workbench::toggleInvertedView);
    connect(copyTextButton_, &QPushButton::clicked, this, &MainWindow::copyText);
    connect(copyPictureButton_, &QPushButton::clicked, this, &MainWindow::copyPicture);
    connect(saveNoteButton_, &QPushButton::clicked, this, &MainWindow::saveNote);
    connect(reportButton_, &QPushButton::clicked, this, [this] { bench_.runReport(0, 0); });
    connect(enterButton_, &QPushButton::clicked, this, &MainWindow::pressEnter);
    connect(caseNumberEdit_, &QLineEdit::textEdited, &bench_, &workbench::Workbench::setCaseNumberText);
    connect(caseNumberEdit_, &QLineEdit::returnPressed, enterButton_, &QPushButton::click);
    connect(calendarButton_, &QPushButton::clicked, this, &MainWindow::calendarRequested);
    connect(settingsButton_, &QPushButton::clicked, this, &MainWindow::passwordChangeRequested);

    // Whether ticked by a click, a key or a program, a box says the same to the current case.
    connect(highlightBox_, &QCheckBox::toggled, &bench_, &workbench::Workbench::setHighlightClashes);
    connect(annotationsBox_, &QCheckBox::toggled, &bench_, &workbench::Workbench::setShowAnnotations);
    connect(stemsBox_, &QCheckBox::toggled, &bench_, &workbench::Workbench::setShowStems);
    connect(allChangedBox_, &QCheckBox::toggled, &bench_, &workbench::Workbench::setShowAllChanged);
    connect(hiddenChangesBox_, &QCheckBox::toggled, &bench_, &workbench::Workbench::setShowHiddenChanges);
    connect(jingfangRadio_, &QRadioButton::clicked, this,
            [this] { bench_.setMethod(chart::ArrangementMethod::Jingfang); });
    connect(zangshanRadio_, &QRadioButton::clicked, this,
            [this] { bench_.setMethod(chart::ArrangementMethod::Zangshan); });
    for (QRadioButton* r : {beastYear_, beastMonth_, beastDay_})
        connect(r, &QRadioButton::clicked, this, &MainWindow::beastOptionChanged);
    for (QRadioButton* r : {directionXiantian_, directionHoutian_, ordinalXiantian_, ordinalHoutian_})
        connect(r, &QRadioButton::clicked, this, &MainWindow::trigramOptionChanged);

    new LinkHover(voidLabel_, [this] { askVoidDate(); });
    new LinkHover(groupLinkLabel_, [] { QDesktopServices::openUrl(QUrl(kGroupUrl)); });
    new LinkHover(moreGroupsLabel_, [] { QDesktopServices::openUrl(QUrl(kMoreGroupsUrl)); });
    new LinkHover(messageLabel_, [this] {
        const QString url = messageLabel_->property("url").toString();
        if (!url.isEmpty()) QDesktopServices::openUrl(QUrl(url));
    });
}

void MainWindow::showChart() {
    const chart::ChartState& state = bench_.chart();
    const chart::ChartView& view = bench_.view();
    const chart::ChartOptions& options = bench_.options();
    pillarLabel_->setText(language::shown(state.pillarLabel));
    termLabel_->setText(language::shown(state.termText));
    titleLabel_->setText(language::shown(state.title));
    mainDescLabel_->setText(language::shown(state.mainDescription));
    changedDescLabel_->setText(language::shown(state.changedDescription));
    monthBranchLabel_->setText(language::shown(state.monthBranchText));
    dayBranchLabel_->setText(language::shown(state.dayBranchText));
    voidLabel_->setText(state.voidText.isEmpty() ? tr("旬空出空") : language::shown(state.voidText));
    if (language::currentLanguage() != language::Language::SimplifiedChinese) fitChartLabels();
    showChangedButton_->setEnabled(state.hasChanged);
    showChangedButton_->setText(view.showingChanged ? tr("显示主卦") : tr("显示变卦"));
    invertButton_->setText(view.inverted ? tr("显示本卦") : tr("显示综卦"));
    invertedLabel_->setVisible(view.inverted);
    if (caseNumberEdit_->text() != bench_.caseNumberText()) caseNumberEdit_->setText(bench_.caseNumberText());
    (bench_.methodShown() == chart::ArrangementMethod::Zangshan ? zangshanRadio_ : jingfangRadio_)->setChecked(true);
    for (std::size_t i = 0; i < basisActions_.size(); ++i) basisActions_[i]->setChecked(int(state.basis) == int(i));
    highlightBox_->setChecked(options.highlightClashes);
    annotationsBox_->setChecked(options.showAnnotations);
    stemsBox_->setChecked(options.showStems);
    allChangedBox_->setChecked(options.showAllChanged);
    hiddenChangesBox_->setChecked(options.showHiddenChanges);
    chartArea_->update();
}

void MainWindow::pressEnter() {
    BusyCursor busy;
    bench_.enterCaseNumber(caseNumberEdit_->text());
}

void MainWindow::beastOptionChanged() {
    bench_.setBeastPillar(beastYear_->isChecked()    ? chart::BeastPillar::Year
                          : beastMonth_->isChecked() ? chart::BeastPillar::Month
                                                     : chart::BeastPillar::Day);
}

void MainWindow::trigramOptionChanged() {
    bench_.setTrigramBases(
        directionXiantian_->isChecked() ? chart::TrigramBasis::Xiantian : chart::TrigramBasis::Houtian,
        ordinalXiantian_->isChecked() ? chart::TrigramBasis::Xiantian : chart::TrigramBasis::Houtian);
}

void MainWindow::askVoidDate() {
    const auto answer =
        bench_.prompter().input(tr("输入新的旬空出空日期"), tr("输入 "), chart::dateText(bench_.clock().today()));
    if (!answer || answer->trimmed().isEmpty()) return;
    bench_.setVoidDate(*answer);
}

void MainWindow::copyText() {
    const QStringList lines = bench_.chartTextLines();
    if (lines.isEmpty()) return;
    QApplication::clipboard()->setText(lines.join(u'\n'));
}

QImage MainWindow::chartPicture() {
    const QRect area = main_layout::kPicture;
    QImage image(area.size(), QImage::Format_RGB32);
    image.fill(palette().color(QPalette::Window));
    {
        QPainter painter(&image);
        chartArea_->setFocusMarksShown(false);
        client_->render(&painter, QPoint(), QRegion(area));
        chartArea_->setFocusMarksShown(true);
        QFont font;
        font.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei")});
        font.setPixelSize(main_layout::kPicturePublisherFontPixels);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(main_layout::kPicturePublisher, Qt::AlignLeft | Qt::AlignTop,
                         QStringLiteral("排盘 ") + chart::kPublisherUrl);
    }
    return image;
}

void MainWindow::copyPicture() { QApplication::clipboard()->setImage(chartPicture()); }

void MainWindow::saveNote() {
    const QString remark = bench_.prompter().input(tr("备注"), tr("备注"), {}).value_or(QString());
    bench_.saveNote(remark);
}

void MainWindow::chartReleased(QPoint position, Qt::MouseButton button) {
    recentList_->hide();
    if (button == Qt::LeftButton) bench_.clickChart(position.x(), position.y());
}

void MainWindow::openSettings() {
    SettingsDialog dialog(bench_, this);
    dialog.exec();
}

}  // namespace ui
