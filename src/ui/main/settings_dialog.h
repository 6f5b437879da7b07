#pragma once
// "设置" of the main window's popup menu: the program options that are not chart display
// options. Today one: 节气算法, where the pillars take their term moments and new moons.
// "确定" applies the choice to the current case (which stores it); "取消" leaves it.
#include <QDialog>

class QRadioButton;

namespace workbench {
class Workbench;
}

namespace ui {

class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit SettingsDialog(workbench::Workbench& bench, QWidget* parent = nullptr);

private:
    void apply();

    workbench::Workbench& bench_;
    QRadioButton* formulaRadio_ = nullptr;       // 公式(默认)
    QRadioButton* astronomicalRadio_ = nullptr;  // 天文
};

}  // namespace ui
