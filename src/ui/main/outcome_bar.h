#pragma once
// The outcome beside the feedback: the outcome editor bound to the case on view, and "取应期",
// which puts the 应期 candidate chosen in the reading panel into the predicted date.
#include <QWidget>

class QPushButton;

namespace workbench {
class Workbench;
}

namespace ui {

class OutcomeEditor;

class OutcomeBar : public QWidget {
    Q_OBJECT
public:
    OutcomeBar(workbench::Workbench& bench, QWidget* parent = nullptr);
    OutcomeEditor* editor() const { return editor_; }
    QPushButton* takeTimingButton() const { return takeTimingButton_; }

private:
    void showOutcome();

    workbench::Workbench& bench_;
    OutcomeEditor* editor_ = nullptr;
    QPushButton* takeTimingButton_ = nullptr;
};

}  // namespace ui
