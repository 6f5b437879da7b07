#pragma once
// The hand-over of a finished cast: the case details of the dialog, the method word, the stored
// case-number string and the case for the store; and the texts under the date pickers.
#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>
#include <array>

#include "calendar/calendar_source.h"
#include "chart/cast_place.h"
#include "chart/divination_data.h"
#include "store/case_store.h"
#include "store/settings_table.h"

namespace casting {

class RandomSource;

// The case details and cast moment of one tab of the dialog: date and time pickers, category,
// sex, birth year, subject and question type.
struct CaseInputs {
    QDate date;
    QTime time;
    int category = -1;  // index into the category list
    int sex = 2;        // index into sexItems(): "未知"
    QString birthYear;
    QString subject;
    QString question;  // the question type (占类), or empty
};

// "男", "女", "未知".
QStringList sexItems();
// The text of a combo-box index; empty for none.
QString itemText(const QStringList& items, int index);

// The first tab's inputs to the second tab, before a cast started on the first tab.
void copyCommonInputs(const CaseInputs& firstTab, CaseInputs& secondTab);

// The category preselected after showing: "杂类" when listed, else the first (-1 when none).
int defaultCategory(const QStringList& categories);

// The method of a cast under the dialog's option: "随机" draws one line value and takes
// "藏山卜" for 老阴 (one cast in eight), "京房式" otherwise.
chart::ArrangementMethod chooseMethod(store::ChartStyle option, RandomSource& random);
// The method option of its stored number; unknown numbers keep "随机".
store::ChartStyle chartStyleOfNumber(qint64 number);

// Eight date digits, six codes top line first, the method word, "T:" and the time "hh:mm:ss":
// 20240204123412京房式T:16:25:00.
QString makeCaseString(const QDate& date, const std::array<int, 6>& codesTopFirst, chart::ArrangementMethod method,
                       const QTime& time);

// A cast ready for the main window and the store.
struct FinishedCast {
    std::array<int, 6> codes{};  // top line first
    QDate date;
    QTime time;
    chart::ArrangementMethod method = chart::ArrangementMethod::Jingfang;
    QString caseString;  // makeCaseString
    QString nameLabel;   // the hexagram-name text shown, stored as gua_ming
    chart::CastPlace place{};  // where it was cast, and the clock of its pillars
};

// The case handed to store::CaseStore::createCase; chartOnly stores nothing.
store::CastCase finishCast(const FinishedCast& cast, const CaseInputs& inputs, const QStringList& categories,
                           bool chartOnly);

// Texts of the date-change routine: the date header above the pickers and the solar term of
// the day (empty when no term falls on it).
struct DateTexts {
    QString header;
    QString term;
};
DateTexts dateTexts(const QDate& date, const QTime& time, cal::CalendarSource source,
                    const chart::CastPlace& place = {});

}  // namespace casting
