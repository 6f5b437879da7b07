#pragma once
// "设置" of the main window's popup menu: the program options that are not chart display
// options: 节气算法, where the pillars take their term moments and new moons, and the school
// choices (流派), one list per rule the books disagree on, the place of a cast and the
// interface's language (界面语言, shown from the next start). "确定" applies the choices to the
// current chart (the workbench stores them); "取消" leaves them.
#include <QDialog>
#include <QList>

class QComboBox;
class QRadioButton;

namespace workbench {
class Workbench;
}

namespace ui {

class PlaceFields;

class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit SettingsDialog(workbench::Workbench& bench, QWidget* parent = nullptr);

private:
    void apply();

    workbench::Workbench& bench_;
    QRadioButton* formulaRadio_ = nullptr;       // 公式(默认)
    QRadioButton* astronomicalRadio_ = nullptr;  // 天文
    QList<QComboBox*> schoolCombos_;             // each item's data is "KEY=VALUE"
    PlaceFields* placeFields_ = nullptr;         // 起卦地点
    QComboBox* languageCombo_ = nullptr;         // 界面语言: item data the code, empty to follow the system
};

}  // namespace ui
