#pragma once
// The chart build: six codes, the cast moment, the method and the options become a complete
// chart; and the typed case number that starts it.
#include <QDate>
#include <QStringList>

#include "chart/chart_state.h"

namespace chart {

struct BuildContext {
    const DivinationData& data;
    const ChartOptions& options;
    QDate today;
};

// Hidden movement (暗动) of main line i (top first) against the slots and the void pair.
bool isHiddenMoving(const ChartState& state, int line);
// Changed code of a line and whether it changes; hidden movement counts only when shown.
struct ChangedCode {
    int code = 0;
    bool changes = false;
};
ChangedCode changedCode(int code, bool showHiddenChanges, bool hiddenMoving);

// Forgets everything a build derived for the main lines (marks, hidden spirits, changed lines,
// layout), keeping their codes and beasts, so nothing of an earlier chart survives into the next.
void clearDerivedLines(ChartState& state);

// Builds the whole chart from the six main codes and the cast date and time, starting from
// clearDerivedLines. Returns the messages to show (the beast rows incomplete).
QStringList zhuanggua(ChartState& state, const BuildContext& context);

// Sets the void pair and text as every drawing does under the default basis.
void refreshVoid(ChartState& state, const BuildContext& context);

// Chooses a strength basis after a build: slots, branch texts and, as the basis says, the void.
void applyStrengthBasis(ChartState& state, StrengthBasis basis, const BuildContext& context);

// Sets changedLine of every main line from the changed lines as the options say.
void fillChangedLines(ChartState& state, const ChartOptions& options);

// A typed case number (14 characters, optionally the method word and "T:hh:mm:ss"). The whole
// text is checked first: a bad one changes nothing and gives the message to show.
struct CaseEntry {
    bool ok = false;
    QString error;         // when not ok
    QStringList messages;  // from the build, when ok
};
// Where the number comes from: one typed (or handed over by a cast) must lie in the calendar's
// supported dates; one of a case already stored opens whatever its date, its pillars then from
// the formulas outside those dates, so that no stored case becomes unreadable.
enum class CaseNumberOrigin { Entered, Stored };
CaseEntry enterCaseNumber(ChartState& state, const QString& text, const BuildContext& context,
                          CaseNumberOrigin origin = CaseNumberOrigin::Entered);

inline const QString kCaseNumberLength = QStringLiteral("六爻ID必须是14位，长度不对");

}  // namespace chart
