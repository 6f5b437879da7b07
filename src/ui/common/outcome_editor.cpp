#include "ui/common/outcome_editor.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

#include "ui/common/object_names.h"

namespace ui {
namespace {

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");

// The words of store::outcomeNames(), for the translations: the box shows them translated.
[[maybe_unused]] const char* const kOutcomeWords[] = {
    QT_TRANSLATE_NOOP("ui::OutcomeEditor", "待验"),
    QT_TRANSLATE_NOOP("ui::OutcomeEditor", "应验"),
    QT_TRANSLATE_NOOP("ui::OutcomeEditor", "部分应验"),
    QT_TRANSLATE_NOOP("ui::OutcomeEditor", "未应验"),
};

QLineEdit* dateField(QWidget* parent, const char* name, const QString& accessible) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setAccessibleName(accessible);
    edit->setPlaceholderText(QStringLiteral("yyyy-mm-dd"));
    edit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,4}(-[0-9]{0,2}(-[0-9]{0,2})?)?")), edit));
    return edit;
}

QDate dateOf(const QLineEdit* edit) { return QDate::fromString(edit->text(), kDateFormat); }

}  // namespace

OutcomeEditor::OutcomeEditor(QWidget* parent) : QWidget(parent) {
    outcomeBox_ = new QComboBox(this);
    outcomeBox_->setObjectName(QLatin1String(objectnames::outcomeeditor::outcomeBox));
    outcomeBox_->setAccessibleName(tr("验证结果"));
    for (const QString& name : store::outcomeNames()) outcomeBox_->addItem(tr(name.toUtf8().constData()));
    dateEdit_ = dateField(this, objectnames::outcomeeditor::outcomeDateEdit, tr("应验日期"));
    predictedEdit_ = dateField(this, objectnames::outcomeeditor::predictedDateEdit, tr("预测应期"));

    auto* grid = grid_ = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(2);
    auto* outcomeLabel = new QLabel(tr("验证(&Y)："), this);
    outcomeLabel->setBuddy(outcomeBox_);
    auto* predictedLabel = new QLabel(tr("应期："), this);
    predictedLabel->setBuddy(predictedEdit_);
    auto* dateLabel = new QLabel(tr("实应："), this);
    dateLabel->setBuddy(dateEdit_);
    grid->addWidget(outcomeLabel, 0, 0);
    grid->addWidget(outcomeBox_, 0, 1);
    grid->addWidget(predictedLabel, 1, 0);
    grid->addWidget(predictedEdit_, 1, 1);
    grid->addWidget(dateLabel, 1, 2);
    grid->addWidget(dateEdit_, 1, 3);
    setTabOrder(outcomeBox_, predictedEdit_);
    setTabOrder(predictedEdit_, dateEdit_);

    const auto report = [this] {
        if (!showing_) emit edited(outcome());
    };
    connect(outcomeBox_, &QComboBox::currentIndexChanged, this, report);
    for (QLineEdit* edit : {dateEdit_, predictedEdit_})
        connect(edit, &QLineEdit::textEdited, this, [edit, report] {
            // Reported when whole: empty, or a date.
            if (edit->text().isEmpty() || dateOf(edit).isValid()) report();
        });
}

void OutcomeEditor::addBesideOutcome(QWidget* control) { grid_->addWidget(control, 0, 2, 1, 2); }

void OutcomeEditor::setOutcome(const store::CaseOutcome& outcome) {
    showing_ = true;
    outcomeBox_->setCurrentIndex(int(outcome.outcome));
    dateEdit_->setText(outcome.date.isValid() ? outcome.date.toString(kDateFormat) : QString());
    predictedEdit_->setText(outcome.predicted.isValid() ? outcome.predicted.toString(kDateFormat) : QString());
    showing_ = false;
}

store::CaseOutcome OutcomeEditor::outcome() const {
    return {store::Outcome(std::max(0, outcomeBox_->currentIndex())), dateOf(dateEdit_), dateOf(predictedEdit_)};
}

void OutcomeEditor::setPredicted(const QDate& date) {
    predictedEdit_->setText(date.toString(kDateFormat));
    emit edited(outcome());
}

}  // namespace ui
