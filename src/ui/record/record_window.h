#pragma once
// 验证统计: the record of the outcomes over the whole library or one category and a range of cast
// dates. Every grouping, the timing error and the hit rate by quarter as a table with its chart
// beside it; the cases still 待验 after 90 days, each opening its case; the whole record saved as
// a PNG picture or a CSV file.
#include <QDialog>

#include "record/practice_record.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QTableView;
class QTableWidget;
class QVBoxLayout;

namespace store {
class Database;
}
namespace workbench {
class Workbench;
}

namespace ui {

class RecordWindow : public QDialog {
    Q_OBJECT
public:
    RecordWindow(store::Database& db, workbench::Workbench& bench, QWidget* parent = nullptr);
    // Computes the record again under the filter shown and lays it out.
    void refresh();
    const record::PracticeRecord& shownRecord() const { return record_; }
    // The table of a grouping (objectName "groupTable_" + its word), of the quarters and of the
    // timing error.
    QTableWidget* groupTable(record::GroupBy by) const;
    bool savePicture(const QString& path);
    bool saveCsv(const QString& path);

private:
    void fillCategories();
    record::RecordFilter filter() const;
    void openPendingCase(int row);

    store::Database& db_;
    workbench::Workbench& bench_;
    record::PracticeRecord record_;
    QComboBox* categoryBox_ = nullptr;
    QCheckBox* rangeBox_ = nullptr;
    QDateEdit* fromEdit_ = nullptr;
    QDateEdit* toEdit_ = nullptr;
    QLabel* summary_ = nullptr;
    QWidget* content_ = nullptr;  // what the picture shows
    QVBoxLayout* sections_ = nullptr;
    QTableView* overdueView_ = nullptr;
};

}  // namespace ui
