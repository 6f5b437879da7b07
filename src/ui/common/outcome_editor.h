#pragma once
// The outcome of a case as the user sets it: 待验/应验/部分应验/未应验, the day it came true or
// failed and the predicted day (each "yyyy-mm-dd" or empty). Used beside the main window's
// feedback and in the case browser; it only reports edits, the owner saves.
#include <QWidget>

#include "store/case_outcome.h"

class QComboBox;
class QGridLayout;
class QLineEdit;

namespace ui {

class OutcomeEditor : public QWidget {
    Q_OBJECT
public:
    explicit OutcomeEditor(QWidget* parent = nullptr);
    // Shows an outcome without reporting it as an edit.
    void setOutcome(const store::CaseOutcome& outcome);
    // What the fields hold; a date field that does not hold a whole date counts as empty.
    store::CaseOutcome outcome() const;
    // Puts a predicted date in, as an edit.
    void setPredicted(const QDate& date);

    QComboBox* outcomeBox() const { return outcomeBox_; }
    QLineEdit* dateEdit() const { return dateEdit_; }
    QLineEdit* predictedEdit() const { return predictedEdit_; }
    // Room beside the outcome box, right of it in the first row, for the owner's own control.
    void addBesideOutcome(QWidget* control);

signals:
    void edited(const store::CaseOutcome& outcome);

private:
    QComboBox* outcomeBox_ = nullptr;
    QLineEdit* dateEdit_ = nullptr;
    QLineEdit* predictedEdit_ = nullptr;
    QGridLayout* grid_ = nullptr;
    bool showing_ = false;
};

}  // namespace ui
