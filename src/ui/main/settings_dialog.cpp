#include "ui/main/settings_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "calendar/calendar_source.h"
#include "reading/schools.h"
#include "ui/common/accessible_names.h"
#include "ui/common/place_fields.h"
#include "ui/main/object_names.h"
#include "workbench/workbench.h"

namespace ui {
namespace {

namespace names = objectnames::settingsdialog;

// One school choice as the dialog offers it: its key, caption, the entries (value and text, the
// default first) and the help.
struct SchoolRow {
    const char* key;
    const char* caption;
    QList<std::pair<const char*, const char*>> entries;
    const char* help;
};

const QList<SchoolRow>& schoolRows() {
    static const QList<SchoolRow> rows{
        {"multi",
         QT_TRANSLATE_NOOP("ui::SettingsDialog", "用神两现："),
         {{"standard", QT_TRANSLATE_NOOP("ui::SettingsDialog", "持世、临月日、月破、旬空、发动、旺相(默认)")},
          {"ancient", QT_TRANSLATE_NOOP("ui::SettingsDialog", "古法：旺相、发动、不破、不空")}},
         QT_TRANSLATE_NOOP(
             "ui::SettingsDialog",
             "用神在卦中出现两次以上时取哪一爻。默认依《卜筮正宗》《增删卜易》：持世、临月日、月破、旬空、发动、"
             "旺相逐条筛选；古法为《增删卜易》所引：旺相、发动、不月破、不旬空。最后都取近世者。")},
        {"earth-tomb",
         QT_TRANSLATE_NOOP("ui::SettingsDialog", "土墓："),
         {{"chen", QT_TRANSLATE_NOOP("ui::SettingsDialog", "辰(默认，水土同宫)")},
          {"xu", QT_TRANSLATE_NOOP("ui::SettingsDialog", "戌(火土同宫)")}},
         QT_TRANSLATE_NOOP("ui::SettingsDialog", "应期中土的入墓之地：水土同长生者墓于辰，火土同长生者墓于戌。")},
        {"noble",
         QT_TRANSLATE_NOOP("ui::SettingsDialog", "贵人："),
         {{"program", QT_TRANSLATE_NOOP("ui::SettingsDialog", "庚辛逢马虎(默认)")},
          {"jia-wu-geng", QT_TRANSLATE_NOOP("ui::SettingsDialog", "甲戊庚牛羊")}},
         QT_TRANSLATE_NOOP("ui::SettingsDialog",
                           "两种贵人歌诀，自宋代起即有争议。\n"
                           "甲戊兼牛羊，乙己鼠猴乡，丙丁猪鸡位，壬癸兔蛇藏，庚辛逢马虎，此是贵人方（庚贵人在午寅）。\n"
                           "甲戊庚牛羊，乙己鼠猴乡，丙丁猪鸡位，壬癸兔蛇藏，六辛逢马虎，此是贵人方（庚贵人在丑未）。\n"
                           "两诀只在庚日不同。")},
        {"seasons",
         QT_TRANSLATE_NOOP("ui::SettingsDialog", "旺衰名称："),
         {{"program", QT_TRANSLATE_NOOP("ui::SettingsDialog", "旺相衰休囚(默认)")},
          {"classical", QT_TRANSLATE_NOOP("ui::SettingsDialog", "旺相休囚死")}},
         QT_TRANSLATE_NOOP("ui::SettingsDialog",
                           "同样五种状态的两套名称：与月同五行为旺，月生为相；生月者 衰/休，克月者 休/囚，"
                           "被月克者 囚/死。")},
        {"advance",
         QT_TRANSLATE_NOOP("ui::SettingsDialog", "进神退神："),
         {{"eight", QT_TRANSLATE_NOOP("ui::SettingsDialog", "八对，含戌丑(默认)")},
          {"seven", QT_TRANSLATE_NOOP("ui::SettingsDialog", "七对，不含戌丑")}},
         QT_TRANSLATE_NOOP("ui::SettingsDialog",
                           "化进化退的对子：亥子、寅卯、巳午、申酉、丑辰、辰未、未戌，以及有争议的戌丑。")},
        {"blade",
         QT_TRANSLATE_NOOP("ui::SettingsDialog", "阴干羊刃："),
         {{"after", QT_TRANSLATE_NOOP("ui::SettingsDialog", "禄后一位(默认，《渊海子平》)")},
          {"backward", QT_TRANSLATE_NOOP("ui::SettingsDialog", "逆数：乙寅 丁巳 己巳 辛申 癸亥")},
          {"none", QT_TRANSLATE_NOOP("ui::SettingsDialog", "五阴无刃")}},
         QT_TRANSLATE_NOOP("ui::SettingsDialog", "乙丁己辛癸日的羊刃。阳干都取禄后一位。")},
        {"horse",
         QT_TRANSLATE_NOOP("ui::SettingsDialog", "驿马等："),
         {{"day", QT_TRANSLATE_NOOP("ui::SettingsDialog", "按日支(默认，六爻所取)")},
          {"year", QT_TRANSLATE_NOOP("ui::SettingsDialog", "按年支")}},
         QT_TRANSLATE_NOOP("ui::SettingsDialog", "驿马、桃花、华盖、劫煞、灾煞按日支还是年支的三合局起。")},
        {"zi-hour",
         QT_TRANSLATE_NOOP("ui::SettingsDialog", "子时："),
         {{"late", QT_TRANSLATE_NOOP("ui::SettingsDialog", "23点仍算当日(默认)")},
          {"early", QT_TRANSLATE_NOOP("ui::SettingsDialog", "早子时：23点换日")}},
         QT_TRANSLATE_NOOP("ui::SettingsDialog",
                           "23:00—24:00的日柱：默认仍用当日日柱，时干按次日起；早子时则日柱在23:00换成次日。"
                           "已存卦例不变，只是排盘按此重新计算。")},
        {"plum-year",
         QT_TRANSLATE_NOOP("ui::SettingsDialog", "梅花年支："),
         {{"lunar", QT_TRANSLATE_NOOP("ui::SettingsDialog", "农历正月初一换年(默认)")},
          {"lichun", QT_TRANSLATE_NOOP("ui::SettingsDialog", "立春换年")}},
         QT_TRANSLATE_NOOP("ui::SettingsDialog", "梅花时间起卦所取的年支：按农历新年，还是按立春（与年柱相同）。")},
        {"plum-leap",
         QT_TRANSLATE_NOOP("ui::SettingsDialog", "梅花闰月："),
         {{"month", QT_TRANSLATE_NOOP("ui::SettingsDialog", "闰月按本月数(默认)")},
          {"split", QT_TRANSLATE_NOOP("ui::SettingsDialog", "闰月十六日起按下月数")}},
         QT_TRANSLATE_NOOP("ui::SettingsDialog", "梅花时间起卦遇闰月时所取的月数。")},
        {"plum-third",
         QT_TRANSLATE_NOOP("ui::SettingsDialog", "梅花三数："),
         {{"own", QT_TRANSLATE_NOOP("ui::SettingsDialog", "第三数定动爻(默认)")},
          {"sum", QT_TRANSLATE_NOOP("ui::SettingsDialog", "三数之和定动爻")}},
         QT_TRANSLATE_NOOP("ui::SettingsDialog",
                           "报三个数时：上卦取第一数，下卦取第二数，动爻取第三数，或取三数之和。")},
    };
    return rows;
}

}  // namespace

SettingsDialog::SettingsDialog(workbench::Workbench& bench, QWidget* parent) : QDialog(parent), bench_(bench) {
    setObjectName(names::window);
    setWindowTitle(tr("设置"));

    auto* terms = new QGroupBox(tr("节气算法"), this);
    terms->setObjectName(names::calendarSourceGroup);
    formulaRadio_ = new QRadioButton(tr("公式(默认)"), terms);
    formulaRadio_->setObjectName(names::formulaRadio);
    astronomicalRadio_ = new QRadioButton(tr("天文"), terms);
    astronomicalRadio_->setObjectName(names::astronomicalRadio);
    auto* note = new QLabel(tr("天文：节气和朔日按太阳、月亮的视位置计算（%1—%2年），四柱的节气文字带“天”字；"
                               "范围之外仍用公式。已存卦例的排盘按此处的选择重新计算。")
                                .arg(cal::kAstronomicalFirstYear)
                                .arg(cal::kAstronomicalLastYear),
                            terms);
    note->setObjectName(names::calendarSourceNote);
    note->setWordWrap(true);
    auto* termsLayout = new QVBoxLayout(terms);
    termsLayout->addWidget(formulaRadio_);
    termsLayout->addWidget(astronomicalRadio_);
    termsLayout->addWidget(note);

    auto* schools = new QGroupBox(tr("流派选择"), this);
    schools->setObjectName(names::schoolGroup);
    auto* schoolsLayout = new QFormLayout(schools);
    const QStringList chosen = reading::schoolsText(bench_.schools()).split(QLatin1Char(' '));
    for (const SchoolRow& row : schoolRows()) {
        auto* combo = new QComboBox(schools);
        combo->setObjectName(names::schoolCombo(row.key));
        for (const auto& [value, text] : row.entries)
            combo->addItem(tr(text), QLatin1String(row.key) + QLatin1Char('=') + QLatin1String(value));
        for (const QString& pair : chosen) {
            if (const int index = combo->findData(pair); index >= 0) combo->setCurrentIndex(index);
        }
        combo->setToolTip(tr(row.help));
        auto* caption = new QLabel(tr(row.caption), schools);
        caption->setToolTip(combo->toolTip());
        nameByCaption(combo, caption->text());
        schoolsLayout->addRow(caption, combo);
        schoolCombos_ << combo;
    }

    auto* placeGroup = new QGroupBox(tr("起卦地点（新起之卦与输入的卦例ID）"), this);
    placeGroup->setObjectName(names::placeGroup);
    placeFields_ = new PlaceFields(placeGroup);
    placeFields_->setPlace(bench_.defaultPlace());
    auto* placeNote = new QLabel(tr("默认东经120°、Asia/Shanghai、北京时间：钟表时间即作北京时间，不作换算。"
                                    "已存卦例按各自保存的地点排盘。"),
                                 placeGroup);
    placeNote->setWordWrap(true);
    auto* placeLayout = new QVBoxLayout(placeGroup);
    placeLayout->addWidget(placeFields_);
    placeLayout->addWidget(placeNote);

    // 界面语言: each language named in itself; the choice shows from the next start.
    auto* languageGroup = new QGroupBox(tr("界面语言"), this);
    languageGroup->setObjectName(names::languageGroup);
    languageCombo_ = new QComboBox(languageGroup);
    languageCombo_->setObjectName(names::languageCombo);
    languageCombo_->addItem(tr("跟随系统"), QString());
    languageCombo_->addItem(QStringLiteral("简体中文"), QStringLiteral("zh_CN"));
    languageCombo_->addItem(QStringLiteral("繁體中文"), QStringLiteral("zh_TW"));
    languageCombo_->addItem(QStringLiteral("English"), QStringLiteral("en"));
    languageCombo_->setCurrentIndex(std::max(0, languageCombo_->findData(bench_.interfaceLanguageCode())));
    languageCombo_->setAccessibleName(tr("界面语言"));
    auto* languageNote = new QLabel(tr("更改界面语言后，下次启动本程序时生效。"), languageGroup);
    languageNote->setObjectName(names::languageNote);
    languageNote->setWordWrap(true);
    auto* languageLayout = new QVBoxLayout(languageGroup);
    languageLayout->addWidget(languageCombo_);
    languageLayout->addWidget(languageNote);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(tr("确定"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(names::okButton);
    QPushButton* cancel = buttons->addButton(tr("取消"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(names::cancelButton);
    connect(buttons, &QDialogButtonBox::accepted, this, &SettingsDialog::apply);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(terms);
    layout->addWidget(schools);
    layout->addWidget(placeGroup);
    layout->addWidget(languageGroup);
    layout->addWidget(buttons);
    setMinimumWidth(360);

    const bool astronomical = bench_.calendarSource() == cal::CalendarSource::Astronomical;
    (astronomical ? astronomicalRadio_ : formulaRadio_)->setChecked(true);
    nameControlsByCaption(this);
}

void SettingsDialog::apply() {
    bench_.setCalendarSource(astronomicalRadio_->isChecked() ? cal::CalendarSource::Astronomical
                                                             : cal::CalendarSource::Formula);
    reading::Schools schools;
    for (const QComboBox* combo : schoolCombos_) (void)reading::applySchool(combo->currentData().toString(), schools);
    bench_.setSchools(schools);
    bench_.setDefaultPlace(placeFields_->place());
    bench_.setInterfaceLanguageCode(languageCombo_->currentData().toString());
    accept();
}

}  // namespace ui
