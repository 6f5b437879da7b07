#include "ui/main/reading_panel.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include "language/generated_text.h"
#include "reading/reading.h"
#include "reading/reading_text.h"
#include "ui/common/field_words.h"
#include "ui/main/object_names.h"
#include "workbench/workbench.h"

namespace ui {
namespace {

namespace names = objectnames::readingpanel;

constexpr int kPositionRole = Qt::UserRole;
constexpr int kHiddenRole = Qt::UserRole + 1;
constexpr int kDateRole = Qt::UserRole + 2;

void addHeading(QListWidget* list, const QString& text) {
    auto* item = new QListWidgetItem(text, list);
    QFont bold = item->font();
    bold.setBold(true);
    item->setFont(bold);
    item->setFlags(Qt::ItemIsEnabled);
}

void addText(QListWidget* list, const QString& text) { (new QListWidgetItem(text, list))->setFlags(Qt::ItemIsEnabled); }

}  // namespace

ReadingPanel::ReadingPanel(workbench::Workbench& bench, QWidget* parent) : QWidget(parent), bench_(bench) {
    setObjectName(names::panel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    auto* title = new QLabel(tr("断卦辅助"), this);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    layout->addWidget(title);

    auto* form = new QFormLayout;
    questionBox_ = new QComboBox(this);
    questionBox_->setObjectName(names::questionBox);
    questionBox_->setAccessibleName(tr("占类"));
    questionBox_->addItem(QString(), QString());
    for (const QString& type : reading::questionTypes()) questionBox_->addItem(shownQuestionType(type), type);
    form->addRow(tr("占类："), questionBox_);
    genderLabel_ = new QLabel(this);
    genderLabel_->setObjectName(names::genderLabel);
    form->addRow(tr("性别："), genderLabel_);
    layout->addLayout(form);

    lines_ = new QListWidget(this);
    lines_->setObjectName(names::lines);
    lines_->setAccessibleName(tr("断卦辅助"));
    lines_->setWordWrap(true);
    lines_->setTextElideMode(Qt::ElideNone);
    layout->addWidget(lines_, 1);

    connect(questionBox_, &QComboBox::currentIndexChanged, this, [this] {
        if (!refreshing_) bench_.setQuestionType(questionBox_->currentData().toString());
    });
    connect(lines_, &QListWidget::itemClicked, this, &ReadingPanel::choose);
    connect(lines_, &QListWidget::itemActivated, this, &ReadingPanel::choose);
    connect(&bench_, &workbench::Workbench::chartChanged, this, &ReadingPanel::refresh);
    connect(&bench_, &workbench::Workbench::schoolsChanged, this, &ReadingPanel::refresh);
}

void ReadingPanel::showEvent(QShowEvent* event) {
    refresh();
    QWidget::showEvent(event);
}

void ReadingPanel::refresh() {
    if (!isVisible() || refreshing_) return;
    refreshing_ = true;
    const QString type = bench_.questionType();
    questionBox_->setCurrentIndex(std::max(0, questionBox_->findData(type)));
    const QString gender = reading::genderOfCaseHeader(bench_.caseHeader());
    genderLabel_->setText(gender.isEmpty() ? tr("未知") : shownSex(gender));

    const int current = lines_->currentRow();
    lines_->clear();
    const chart::ChartState& chart = bench_.chart();
    if (chart.isEmpty()) {
        addText(lines_, tr("尚未排卦"));
    } else {
        const reading::ReadingRequest request{type, gender, 60, bench_.schools()};
        addHeading(lines_, tr("用神"));
        for (const reading::TextLine& line : reading::useGodLines(reading::readUseGod(chart, request))) {
            auto* item = new QListWidgetItem(language::shown(line.text), lines_);
            if (line.position) {
                item->setData(kPositionRole, *line.position);
                item->setData(kHiddenRole, line.hidden);
                item->setToolTip(tr("在卦图上标出此爻"));
            } else if (line.date.isValid()) {
                item->setData(kDateRole, line.date);
                item->setToolTip(tr("选中后点“取应期”，填为预测应期"));
            } else {
                item->setFlags(Qt::ItemIsEnabled);
            }
        }
        addHeading(lines_, tr("卦象结构"));
        for (const QString& line : reading::structureLines(reading::chartStructure(chart, request.schools)))
            addText(lines_, language::shown(line));
        addHeading(lines_, tr("神煞"));
        for (const QString& line : reading::spiritLines(reading::spiritsOf(chart, request.schools)))
            addText(lines_, language::shown(line));
    }
    if (current >= 0 && current < lines_->count() && (lines_->item(current)->flags() & Qt::ItemIsSelectable))
        lines_->setCurrentRow(current);
    refreshing_ = false;
}

void ReadingPanel::choose(QListWidgetItem* item) {
    if (!item) return;
    if (const QDate date = item->data(kDateRole).toDate(); date.isValid()) {
        bench_.chooseTiming(date);
        return;
    }
    const QVariant position = item->data(kPositionRole);
    if (!position.isValid()) return;
    bench_.highlightLine(position.toInt(), item->data(kHiddenRole).toBool());
}

}  // namespace ui
