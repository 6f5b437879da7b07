#include "ui/main/reading_panel.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include "language/generated_text.h"
#include "reading/reading.h"
#include "reading/reading_text.h"
#include "ui/main/object_names.h"
#include "workbench/workbench.h"

namespace ui {
namespace {

namespace names = objectnames::readingpanel;

constexpr int kPositionRole = Qt::UserRole;
constexpr int kHiddenRole = Qt::UserRole + 1;
constexpr int kDateRole = Qt::UserRole + 2;

// The words of reading::questionTypes() and the genders of a case header, for the translations:
// the box shows them translated and keeps the word itself as the item's data.
[[maybe_unused]] const char* const kShownWords[] = {
    QT_TRANSLATE_NOOP("ui::ReadingPanel", "自身"), QT_TRANSLATE_NOOP("ui::ReadingPanel", "他人"),
    QT_TRANSLATE_NOOP("ui::ReadingPanel", "父母"), QT_TRANSLATE_NOOP("ui::ReadingPanel", "长辈"),
    QT_TRANSLATE_NOOP("ui::ReadingPanel", "文书"), QT_TRANSLATE_NOOP("ui::ReadingPanel", "房屋"),
    QT_TRANSLATE_NOOP("ui::ReadingPanel", "车辆"), QT_TRANSLATE_NOOP("ui::ReadingPanel", "消息"),
    QT_TRANSLATE_NOOP("ui::ReadingPanel", "考试"), QT_TRANSLATE_NOOP("ui::ReadingPanel", "兄弟"),
    QT_TRANSLATE_NOOP("ui::ReadingPanel", "朋友"), QT_TRANSLATE_NOOP("ui::ReadingPanel", "同事"),
    QT_TRANSLATE_NOOP("ui::ReadingPanel", "子女"), QT_TRANSLATE_NOOP("ui::ReadingPanel", "晚辈"),
    QT_TRANSLATE_NOOP("ui::ReadingPanel", "医药"), QT_TRANSLATE_NOOP("ui::ReadingPanel", "宠物"),
    QT_TRANSLATE_NOOP("ui::ReadingPanel", "求财"), QT_TRANSLATE_NOOP("ui::ReadingPanel", "失物"),
    QT_TRANSLATE_NOOP("ui::ReadingPanel", "工作"), QT_TRANSLATE_NOOP("ui::ReadingPanel", "功名"),
    QT_TRANSLATE_NOOP("ui::ReadingPanel", "官司"), QT_TRANSLATE_NOOP("ui::ReadingPanel", "疾病"),
    QT_TRANSLATE_NOOP("ui::ReadingPanel", "出行"), QT_TRANSLATE_NOOP("ui::ReadingPanel", "婚姻"),
    QT_TRANSLATE_NOOP("ui::ReadingPanel", "男"),   QT_TRANSLATE_NOOP("ui::ReadingPanel", "女"),
};

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
    for (const QString& type : reading::questionTypes()) questionBox_->addItem(tr(type.toUtf8().constData()), type);
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
    genderLabel_->setText(gender.isEmpty() ? tr("未知") : tr(gender.toUtf8().constData()));

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
