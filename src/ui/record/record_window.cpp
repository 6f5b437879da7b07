#include "ui/record/record_window.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollArea>
#include <QTableView>
#include <QTableWidget>

#include "record/record_csv.h"
#include "store/database.h"
#include "ui/common/busy_cursor.h"
#include "ui/common/field_words.h"
#include "ui/record/object_names.h"
#include "ui/record/record_charts.h"
#include "workbench/clock.h"
#include "workbench/prompter.h"
#include "workbench/workbench.h"

namespace ui {
namespace {

namespace names = objectnames::recordwindow;

QString shown(const char* text, const char* which = nullptr) {
    return QCoreApplication::translate("ui::RecordWindow", text, which);
}

QStringList groupColumns() {
    return {QString(),
            QCoreApplication::translate("ui::RecordWindow", "总数"),
            QCoreApplication::translate("ui::RecordWindow", "已验"),
            QCoreApplication::translate("ui::RecordWindow", "应验"),
            QCoreApplication::translate("ui::RecordWindow", "部分应验"),
            QCoreApplication::translate("ui::RecordWindow", "未应验"),
            QCoreApplication::translate("ui::RecordWindow", "待验"),
            QCoreApplication::translate("ui::RecordWindow", "应验率")};
}

// The record's own words (headings, use gods, methods, the placeholders of a
// missing value) as the interface shows them; categories are the user's and stay as they are.
[[maybe_unused]] constexpr const char* kShownWords[][2] = {
    QT_TRANSLATE_NOOP3("ui::RecordWindow", "占类", ""), QT_TRANSLATE_NOOP3("ui::RecordWindow", "分类", ""),
    QT_TRANSLATE_NOOP3("ui::RecordWindow", "年份", ""), QT_TRANSLATE_NOOP3("ui::RecordWindow", "用神", ""),
    QT_TRANSLATE_NOOP3("ui::RecordWindow", "排卦方式", ""), QT_TRANSLATE_NOOP3("ui::RecordWindow", "动爻数", ""),
    QT_TRANSLATE_NOOP3("ui::RecordWindow", "未分类", ""), QT_TRANSLATE_NOOP3("ui::RecordWindow", "未选占类", ""),
    QT_TRANSLATE_NOOP3("ui::RecordWindow", "无日期", ""), QT_TRANSLATE_NOOP3("ui::RecordWindow", "未定", ""),
    QT_TRANSLATE_NOOP3("ui::RecordWindow", "未知", ""), QT_TRANSLATE_NOOP3("ui::RecordWindow", "京房式", ""),
    QT_TRANSLATE_NOOP3("ui::RecordWindow", "藏山卜", ""),
    QT_TRANSLATE_NOOP3("ui::RecordWindow", "世", "use god"), QT_TRANSLATE_NOOP3("ui::RecordWindow", "应", "use god"),
    QT_TRANSLATE_NOOP3("ui::RecordWindow", "父母", "use god"), QT_TRANSLATE_NOOP3("ui::RecordWindow", "兄弟", "use god"),
    QT_TRANSLATE_NOOP3("ui::RecordWindow", "子孙", "use god"), QT_TRANSLATE_NOOP3("ui::RecordWindow", "妻财", "use god"),
    QT_TRANSLATE_NOOP3("ui::RecordWindow", "官鬼", "use god"),
};

QString shownTitle(record::GroupBy by) { return shown(record::groupByTitle(by).toUtf8().constData()); }

// "按" and the heading of the grouping.
QString sectionTitle(record::GroupBy by) {
    switch (by) {
    case record::GroupBy::Question: return QCoreApplication::translate("ui::RecordWindow", "按占类");
    case record::GroupBy::Category: return QCoreApplication::translate("ui::RecordWindow", "按分类");
    case record::GroupBy::Year: return QCoreApplication::translate("ui::RecordWindow", "按年份");
    case record::GroupBy::Relative: return QCoreApplication::translate("ui::RecordWindow", "按用神");
    case record::GroupBy::Method: return QCoreApplication::translate("ui::RecordWindow", "按排卦方式");
    case record::GroupBy::Moving: return QCoreApplication::translate("ui::RecordWindow", "按动爻数");
    }
    return {};
}

// A group's key as shown: the user's category names as they are.
QString shownKey(record::GroupBy by, const QString& key) {
    const QByteArray word = key.toUtf8();
    switch (by) {
    case record::GroupBy::Question:
        if (const QString shownType = shownQuestionType(key); shownType != key) return shownType;
        break;
    case record::GroupBy::Relative:
        if (const QString shownGod = shown(word.constData(), "use god"); shownGod != key) return shownGod;
        break;
    case record::GroupBy::Category:
        return key == u"未分类" ? shown("未分类") : key;
    default: break;
    }
    return shown(word.constData());
}

QTableWidgetItem* cell(const QString& text, const QVariant& value = {}) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    if (value.isValid()) item->setData(Qt::UserRole, value);
    return item;
}

QTableWidget* tableOf(const QString& name, const QStringList& headers, QWidget* parent) {
    auto* table = new QTableWidget(0, int(headers.size()), parent);
    table->setObjectName(name);
    table->setHorizontalHeaderLabels(headers);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    return table;
}

// A group table: key, counts, the rate as text (the rate itself, or nothing, under Qt::UserRole).
QTableWidget* tableOfGroups(const QString& name, const QString& title, const QList<record::Group>& groups,
                            std::optional<record::GroupBy> by, QWidget* parent) {
    QStringList headers = groupColumns();
    headers[0] = title;
    QTableWidget* table = tableOf(name, headers, parent);
    table->setRowCount(int(groups.size()));
    for (int row = 0; row < groups.size(); ++row) {
        const record::Tally& t = groups[row].tally;
        table->setItem(row, 0, cell(by ? shownKey(*by, groups[row].key) : groups[row].key));
        const qint64 counts[] = {t.total, t.decided(), t.hits, t.partial, t.misses, t.pending};
        for (int c = 0; c < 6; ++c) table->setItem(row, c + 1, cell(QString::number(counts[c]), counts[c]));
        const auto rate = t.hitRate();
        table->setItem(row, 7, cell(record::hitRateText(rate), rate ? QVariant(*rate) : QVariant()));
    }
    table->resizeColumnsToContents();
    return table;
}

// A table as tall as its rows: the window scrolls, not each table.
void showAllRows(QTableWidget* table) {
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setFixedHeight(table->horizontalHeader()->sizeHint().height() + 2 * table->frameWidth() +
                          table->verticalHeader()->length());
}

// A section: its table with the chart beside it.
QGroupBox* section(const QString& title, QWidget* table, QWidget* chart, QWidget* parent) {
    auto* box = new QGroupBox(title, parent);
    auto* row = new QHBoxLayout(box);
    table->setMinimumWidth(420);
    if (auto* grid = qobject_cast<QTableWidget*>(table)) {
        showAllRows(grid);
        // Wider headings (a translation) widen the table rather than hide its last columns.
        grid->setMinimumWidth(std::max(420, grid->horizontalHeader()->length() + 2 * grid->frameWidth()));
    }
    row->addWidget(table, 1, Qt::AlignTop);
    if (chart) row->addWidget(chart, 1);
    return box;
}

// The long-pending cases, possibly many: a model reads them as the view shows them.
class PendingModel : public QAbstractTableModel {
public:
    PendingModel(const QList<record::PendingCase>& cases, QObject* parent)
        : QAbstractTableModel(parent), cases_(cases) {}
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(cases_.size()); }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 4; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid()) return {};
        const record::PendingCase& c = cases_.at(index.row());
        switch (index.column()) {
        case 0: return c.id;
        case 1: return c.castDate.toString(QStringLiteral("yyyy-MM-dd"));
        case 2: return c.caseNumber;
        default: return c.subject;
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
        const QString names[] = {QCoreApplication::translate("ui::RecordWindow", "编号"),
                                 QCoreApplication::translate("ui::RecordWindow", "起卦日期"),
                                 QCoreApplication::translate("ui::RecordWindow", "卦号"),
                                 QCoreApplication::translate("ui::RecordWindow", "占事")};
        return names[section];
    }

private:
    QList<record::PendingCase> cases_;
};

}  // namespace

RecordWindow::RecordWindow(store::Database& db, workbench::Workbench& bench, QWidget* parent)
    : QDialog(parent), db_(db), bench_(bench) {
    setObjectName(names::window);
    setWindowTitle(tr("验证统计"));
    resize(1000, 720);

    auto* filterRow = new QHBoxLayout;
    categoryBox_ = new QComboBox(this);
    categoryBox_->setObjectName(names::categoryBox);
    auto* categoryLabel = new QLabel(tr("分类(&C)："), this);
    categoryLabel->setBuddy(categoryBox_);
    rangeBox_ = new QCheckBox(tr("起卦日期(&D)"), this);
    rangeBox_->setObjectName(names::rangeBox);
    fromEdit_ = new QDateEdit(this);
    fromEdit_->setObjectName(names::fromEdit);
    toEdit_ = new QDateEdit(this);
    toEdit_->setObjectName(names::toEdit);
    for (QDateEdit* edit : {fromEdit_, toEdit_}) {
        edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        edit->setCalendarPopup(true);
        edit->setEnabled(false);
    }
    fromEdit_->setDate(bench_.clock().today().addYears(-1));
    toEdit_->setDate(bench_.clock().today());
    auto* pictureButton = new QPushButton(tr("导出图片(&P)…"), this);
    pictureButton->setObjectName(names::pictureButton);
    auto* csvButton = new QPushButton(tr("导出CSV(&V)…"), this);
    csvButton->setObjectName(names::csvButton);
    filterRow->addWidget(categoryLabel);
    filterRow->addWidget(categoryBox_);
    filterRow->addSpacing(12);
    filterRow->addWidget(rangeBox_);
    filterRow->addWidget(fromEdit_);
    filterRow->addWidget(new QLabel(tr("至"), this));
    filterRow->addWidget(toEdit_);
    filterRow->addStretch(1);
    filterRow->addWidget(pictureButton);
    filterRow->addWidget(csvButton);

    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    content_ = new QWidget;
    content_->setObjectName(names::content);
    auto* contentLayout = new QVBoxLayout(content_);
    summary_ = new QLabel(content_);
    summary_->setObjectName(names::summary);
    summary_->setWordWrap(true);
    QFont bold = summary_->font();
    bold.setBold(true);
    summary_->setFont(bold);
    contentLayout->addWidget(summary_);
    sections_ = new QVBoxLayout;
    contentLayout->addLayout(sections_);
    scroll->setWidget(content_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filterRow);
    layout->addWidget(scroll, 1);

    fillCategories();
    connect(categoryBox_, &QComboBox::currentIndexChanged, this, &RecordWindow::refresh);
    connect(rangeBox_, &QCheckBox::toggled, this, [this](bool on) {
        fromEdit_->setEnabled(on);
        toEdit_->setEnabled(on);
        refresh();
    });
    connect(fromEdit_, &QDateEdit::dateChanged, this, [this] { if (rangeBox_->isChecked()) refresh(); });
    connect(toEdit_, &QDateEdit::dateChanged, this, [this] { if (rangeBox_->isChecked()) refresh(); });
    connect(pictureButton, &QPushButton::clicked, this, [this] {
        if (const auto path = bench_.prompter().chooseSaveFile(tr("导出验证统计图片"),
                                                               tr("验证统计.png"),
                                                               tr("PNG 图片 (*.png)")))
            if (!savePicture(*path)) bench_.prompter().message(tr("无法写入 %1").arg(*path));
    });
    connect(csvButton, &QPushButton::clicked, this, [this] {
        if (const auto path = bench_.prompter().chooseSaveFile(tr("导出验证统计 CSV"),
                                                               tr("验证统计.csv"),
                                                               tr("CSV 文件 (*.csv)")))
            if (!saveCsv(*path)) bench_.prompter().message(tr("无法写入 %1").arg(*path));
    });
    connect(&bench_, &workbench::Workbench::casesChanged, this, [this] {
        if (isVisible()) refresh();
    });
    refresh();
}

void RecordWindow::fillCategories() {
    categoryBox_->addItem(tr("全部分类"));
    try {
        for (const QString& name : db_.getFirstItems(QStringLiteral("select lei_mingcheng from fenlei_table order by lei_id")))
            categoryBox_->addItem(name, name);
    } catch (const store::DatabaseError& e) {
        bench_.prompter().message(e.text());
    }
}

record::RecordFilter RecordWindow::filter() const {
    record::RecordFilter f;
    if (categoryBox_->currentIndex() > 0) f.category = categoryBox_->currentData().toString();
    if (rangeBox_->isChecked()) {
        f.from = fromEdit_->date();
        f.to = toEdit_->date();
    }
    return f;
}

void RecordWindow::refresh() {
    BusyCursor busy;
    try {
        record_ = record::computeRecord(db_, filter(), bench_.clock().today());
    } catch (const store::DatabaseError& e) {
        bench_.prompter().message(e.text());
        return;
    }
    const record::Tally& t = record_.overall;
    summary_->setText(tr("共 %1 例，已验 %2 例：应验 %3，部分应验 %4，未应验 %5；待验 %6。应验率 %7"
                         "（应验计 1，部分应验计 ½，除以已验）。应期误差：%8 例，中位数 %9 天。")
                          .arg(t.total)
                          .arg(t.decided())
                          .arg(t.hits)
                          .arg(t.partial)
                          .arg(t.misses)
                          .arg(t.pending)
                          .arg(record::hitRateText(t.hitRate()))
                          .arg(record_.timing.count)
                          .arg(record_.timing.median ? QString::number(*record_.timing.median)
                                                     : QStringLiteral("—")));

    while (QLayoutItem* item = sections_->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    for (record::GroupBy by : record::kGroupings) {
        const QList<record::Group>& groups = record_.groupsBy(by);
        QTableWidget* table =
            tableOfGroups(QLatin1String(names::groupTablePrefix) + record::groupByWord(by),
                          shownTitle(by), groups, by, content_);
        QList<record::Group> shownGroups = groups;
        for (record::Group& g : shownGroups) g.key = shownKey(by, g.key);
        sections_->addWidget(section(sectionTitle(by), table,
                                     hitRateBars(shownGroups, content_), content_));
    }
    sections_->addWidget(section(tr("按季度"),
                                 tableOfGroups(QLatin1String(names::quarterTable), tr("季度"), record_.quarters, std::nullopt,
                                            content_),
                                 quarterLine(record_.quarters, content_), content_));

    QTableWidget* timing = tableOf(QLatin1String(names::timingTable),
                                   {tr("实应 − 应期（天）"), tr("卦例数")}, content_);
    timing->setRowCount(int(record_.timing.histogram.size()));
    for (int row = 0; row < record_.timing.histogram.size(); ++row) {
        const record::HistogramBin& bin = record_.timing.histogram[row];
        timing->setItem(row, 0, cell(record::binText(bin)));
        timing->setItem(row, 1, cell(QString::number(bin.count), bin.count));
    }
    timing->resizeColumnsToContents();
    sections_->addWidget(section(tr("应期误差（中位数 %1 天）")
                                     .arg(record_.timing.median ? QString::number(*record_.timing.median)
                                                                : QStringLiteral("—")),
                                 timing, timingHistogram(record_.timing, content_), content_));

    auto* pendingBox = new QGroupBox(
        tr("起卦逾 %1 天仍待验（%2 例，双击打开）").arg(record::kOverdueDays).arg(record_.overdue.size()),
        content_);
    auto* pendingLayout = new QVBoxLayout(pendingBox);
    overdueView_ = new QTableView(pendingBox);
    overdueView_->setObjectName(names::overdueTable);
    overdueView_->setModel(new PendingModel(record_.overdue, overdueView_));
    overdueView_->verticalHeader()->hide();
    overdueView_->setSelectionBehavior(QAbstractItemView::SelectRows);
    overdueView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    overdueView_->horizontalHeader()->setStretchLastSection(true);
    overdueView_->setMinimumHeight(200);
    connect(overdueView_, &QTableView::activated, this, [this](const QModelIndex& index) { openPendingCase(index.row()); });
    pendingLayout->addWidget(overdueView_);
    sections_->addWidget(pendingBox);
}

QTableWidget* RecordWindow::groupTable(record::GroupBy by) const {
    return content_->findChild<QTableWidget*>(QLatin1String(names::groupTablePrefix) + record::groupByWord(by));
}

void RecordWindow::openPendingCase(int row) {
    if (row < 0 || row >= record_.overdue.size()) return;
    if (!bench_.confirmUnsaved()) return;
    if (bench_.openLocalCase(record_.overdue[row].id)) accept();  // the case shows in the main window
}

bool RecordWindow::savePicture(const QString& path) {
    // The whole record at its full height, not only the part scrolled into view.
    const QSize shown = content_->size();
    content_->resize(content_->width(), content_->sizeHint().height());
    const bool saved = content_->grab().save(path, "PNG");
    content_->resize(shown);
    return saved;
}

bool RecordWindow::saveCsv(const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    const QByteArray bytes = record::recordCsv(record_);
    return file.write(bytes) == bytes.size() && file.commit();
}

}  // namespace ui
