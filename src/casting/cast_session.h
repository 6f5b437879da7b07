#pragma once
// The casting dialog without its window: what every button of "起卦" does to the inputs, the
// lines and the labels, and what the window must do next. The window mirrors the public state
// after each call and acts on the returned outcome.
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "casting/cast_handover.h"
#include "casting/manual_cast.h"
#include "casting/random_source.h"
#include "chart/cast_place.h"
#include "reading/schools.h"
#include "chart/divination_data.h"
#include "store/case_store.h"
#include "store/settings.h"

namespace casting {

struct CastOutcome {
    enum class Kind {
        Stay,        // nothing more to do; refresh the controls
        Message,     // show message; the dialog stays open
        CaseNumber,  // put caseNumber into the main window's entry, run it, close the dialog
        Finished,    // hand cast over (handOver), write it into the chart record, close with OK
    };
    Kind kind = Kind::Stay;
    QString message;
    QString caseNumber;
    // reset_main_for_cast ran: clear the judgment and feedback boxes, disable their save
    // buttons and check the method button of method.
    bool resetMain = false;
    chart::ArrangementMethod method = chart::ArrangementMethod::Jingfang;
    // The six line records of the chart were cleared before a check stopped the cast.
    bool chartLinesCleared = false;
    std::optional<FinishedCast> cast;
};

class CastSession {
public:
    using Clock = std::function<QDateTime()>;

    // Creation: the random source is chosen and the stored method option read.
    CastSession(const chart::DivinationData& data, store::Settings& settings, RandomSource random = RandomSource(),
                Clock clock = &QDateTime::currentDateTime);

    // Inputs the window edits and shows.
    CaseInputs firstTab;               // 常用功能
    CaseInputs secondTab;              // 高级功能: the cast moment and details every cast uses
    QString nameOrNumber;              // the case number or hexagram names typed
    bool randomDate = false;           // "使用随机日期"
    bool chartOnly = false;            // "仅排盘，不保存"
    CoinSet coinSet = CoinSet::Plain;  // "显示硬币图案"
    QStringList categories;            // the category choices of both tabs
    // Where the date labels and the pillar date search take their terms (the main window's 节气算法).
    cal::CalendarSource calendarSource = cal::CalendarSource::Formula;
    // The place of the cast and the clock of its pillars (设置's, changeable for one cast).
    chart::CastPlace place;
    // The 梅花 school choices of 设置.
    reading::Schools schools;
    // Called with the source label's text whenever a cast changes it, so the window can repaint.
    std::function<void(const QString&)> onSourceText;

    const ManualCast& lines() const { return manual_; }
    const QString& sourceText() const { return sourceText_; }    // the random source in use
    const DateTexts& dateLabels() const { return dateLabels_; }  // date header and term
    store::ChartStyle methodOption() const { return methodOption_; }
    const RandomSource& random() const { return random_; }

    // FormShow: pickers to now on the first showing; header; lines and throws reset; a pending
    // text is read.
    void show();
    // After show: the category lists with "杂类" preselected on both tabs.
    void afterShow(const QStringList& categoryNames);
    // A method button: the option is stored at once.
    void setMethodOption(store::ChartStyle option);
    // Any of the four pickers changed (the window has written the new value into the inputs).
    void dateChanged();
    // A coin picture of the current set.
    QString coinPicture(int coin) const { return casting::coinPicture(coinSet, manual_.coins()[std::size_t(coin)]); }

    // Line, throw, coin and radio clicks (a line or throw click empties nameOrNumber).
    void clickThrow(int k);
    void clickLine(int line);
    void clickCoin(int coin) { manual_.clickCoin(coin); }
    void clickRadio(int line) { manual_.clickRadio(line); }
    void clearLines() { manual_.clear(); }  // "清空"
    CastOutcome nextLine();                 // "下一爻"

    CastOutcome manualCastFirstTab();  // "手工起卦"
    CastOutcome finishManualCast();    // "完成手工起卦"
    CastOutcome computerCast();        // "电脑自动起卦", second tab
    CastOutcome computerCastFirstTab();
    CastOutcome castByNameOrNumber();  // "根据卦名排盘" and Enter in the name box
    // Page "数字/时间", each at the cast moment of the second tab: 梅花 by the time, by two or
    // three numbers (addHour: two numbers and the hour's number), and six lines by the yarrow odds.
    CastOutcome plumCastByTime();
    CastOutcome plumCastByNumbers(const QStringList& numbers, bool addHour);
    CastOutcome yarrowCast();
    // "匹配干支": false when the input held no month and day (nothing changes).
    bool matchPillars(const QString& input);
    // The viewer's date ("查看干支纪年" closed with OK).
    void takeViewerDate(const QDate& date);

    // finishCast through the store; "仅排盘，不保存" is unchecked afterwards.
    store::CreateResult handOver(store::CaseStore& cases, const FinishedCast& cast);

private:
    QDate today() const { return clock_().date(); }
    void setSourceText(const QString& text);
    void readPendingText();
    CastOutcome startCast();
    void takeRandomDate();
    FinishedCast finished(const std::array<int, 6>& codes, chart::ArrangementMethod method) const;
    // The cast moment outside the calendar's dates, or skipped by the place's clock: the message.
    std::optional<CastOutcome> momentRefusal() const;
    // A cast of the page "数字/时间" with these codes (top line first).
    CastOutcome finishedWith(const std::array<int, 6>& codes);

    const chart::DivinationData& data_;
    store::Settings& settings_;
    RandomSource random_;
    Clock clock_;
    ManualCast manual_;
    store::ChartStyle methodOption_ = store::ChartStyle::Random;
    QString sourceText_;
    DateTexts dateLabels_;
    QStringList pendingText_;  // a cast text handed in, while it is marked pending
    bool pending_ = false;
    bool shown_ = false;
};

}  // namespace casting
