#include "ui/main/outcome_bar.h"

#include <QHBoxLayout>
#include <QPushButton>

#include "ui/common/outcome_editor.h"
#include "ui/main/object_names.h"
#include "workbench/workbench.h"

namespace ui {

OutcomeBar::OutcomeBar(workbench::Workbench& bench, QWidget* parent) : QWidget(parent), bench_(bench) {
    setObjectName(objectnames::outcomebar::bar);
    editor_ = new OutcomeEditor(this);
    takeTimingButton_ = new QPushButton(tr("取应期"), this);
    takeTimingButton_->setObjectName(objectnames::outcomebar::takeTimingButton);
    takeTimingButton_->setToolTip(tr("把断卦辅助中选中的应期填为预测应期"));
    takeTimingButton_->setEnabled(false);
    editor_->addBesideOutcome(takeTimingButton_);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(editor_);

    connect(editor_, &OutcomeEditor::edited, &bench_, &workbench::Workbench::editOutcome);
    connect(&bench_, &workbench::Workbench::caseTextsChanged, this, &OutcomeBar::showOutcome);
    connect(&bench_, &workbench::Workbench::timingChosen, this,
            [this](const QDate& date) { takeTimingButton_->setEnabled(date.isValid()); });
    connect(&bench_, &workbench::Workbench::chartChanged, this,
            [this] { takeTimingButton_->setEnabled(bench_.chosenTiming().isValid()); });
    connect(takeTimingButton_, &QPushButton::clicked, this, [this] { editor_->setPredicted(bench_.chosenTiming()); });
    showOutcome();
}

void OutcomeBar::showOutcome() {
    if (editor_->outcome() != bench_.outcome()) editor_->setOutcome(bench_.outcome());
}

}  // namespace ui
