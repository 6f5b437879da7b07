// The main window's keys: a shortcut for each main action, shown in its button's hint; the
// chart's popup menu on Shift+F10 and on the Menu key; Escape on the chart clears its colours;
// Tab leaves the text boxes; names for screen readers.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "ui/common/accessible_names.h"
#include "ui/common/outcome_editor.h"
#include "ui/common/tab_order.h"
#include "ui/main/chart_area.h"
#include "ui/main/main_window.h"
#include "ui/main/object_names.h"
#include "ui/main/outcome_bar.h"
#include "ui/main/reading_panel.h"
#include "workbench/workbench.h"

namespace ui {

void MainWindow::buildKeys() {
    struct Key {
        QPushButton* button;
        QKeySequence keys;
    };
    // Buttons hidden on the window (the analysis, the changed hexagram) are reached by their
    // keys all the same.
    for (const Key& k :
         {Key{recastButton_, QKeySequence(Qt::Key_F2)},
          Key{copyTextButton_, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)},
          Key{copyPictureButton_, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P)},
          Key{previousCaseButton_, QKeySequence(Qt::ALT | Qt::Key_Left)},
          Key{nextCaseButton_, QKeySequence(Qt::ALT | Qt::Key_Right)},
          Key{recentButton_, QKeySequence(Qt::CTRL | Qt::Key_R)}, Key{reportButton_, QKeySequence(Qt::Key_F5)},
          Key{showChangedButton_, QKeySequence(Qt::Key_F6)},
          Key{saveJudgmentButton_, QKeySequence(Qt::CTRL | Qt::Key_S)},
          Key{saveAllButton_, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)}}) {
        auto* action = new QAction(k.button->text(), this);
        action->setObjectName(k.button->objectName() + QLatin1StringView(objectnames::mainwindow::keyActionSuffix));
        action->setShortcut(k.keys);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        QPushButton* button = k.button;
        connect(action, &QAction::triggered, button, [button] {
            if (button->isEnabled()) button->click();
        });
        const QString keyText = k.keys.toString(QKeySequence::NativeText);
        const QString hint = button->toolTip();
        button->setToolTip(hint.isEmpty() ? button->text() + QStringLiteral(" (") + keyText + u')'
                                          : hint + QStringLiteral(" (") + keyText + u')');
    }

    auto* popupKey = new QAction(this);
    popupKey->setObjectName(objectnames::mainwindow::popupKey);
    popupKey->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10));
    addAction(popupKey);
    connect(popupKey, &QAction::triggered, this, &MainWindow::showPopupAtChart);
    // The Menu key on the focused chart arrives as a context-menu request of the area.
    chartArea_->setFocusPolicy(Qt::StrongFocus);
    chartArea_->setAccessibleName(tr("卦图"));

    connect(chartArea_, &ChartArea::escapePressed, &bench_, &workbench::Workbench::refresh);
    new TabLeavesTextBox(judgmentEdit_);
    new TabLeavesTextBox(feedbackEdit_);

    judgmentEdit_->setAccessibleName(tr("断语"));
    feedbackEdit_->setAccessibleName(tr("反馈"));
    recentList_->setAccessibleName(tr("最近50卦"));
    caseNumberEdit_->setAccessibleName(tr("六爻ID"));
    nameControlsByCaption(this);

    // The chart, the options beside it, the texts to its right, then the buttons below it
    // column by column from the left.
    tabInOrder({chartArea_, beastYear_, beastMonth_, beastDay_, directionXiantian_, directionHoutian_,
                 ordinalXiantian_, ordinalHoutian_, jingfangRadio_, zangshanRadio_, stemsBox_, allChangedBox_,
                 hiddenChangesBox_, judgmentEdit_, saveJudgmentButton_, feedbackEdit_, saveFeedbackButton_,
                 saveAllButton_, outcomeBar_->editor()->outcomeBox(), outcomeBar_->editor()->predictedEdit(),
                 outcomeBar_->editor()->dateEdit(), outcomeBar_->takeTimingButton(), recentButton_, recentList_, copyTextButton_, copyPictureButton_, previousCaseButton_,
                 nextCaseButton_, calendarButton_, invertButton_, recastButton_, historyButton_, settingsButton_,
                 readingPanel_->questionBox(), readingPanel_->lines()});
}

void MainWindow::showPopupAtChart() { popupMenu_->popup(chartArea_->mapToGlobal(chartArea_->rect().center())); }

}  // namespace ui
