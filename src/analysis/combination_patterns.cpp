#include "analysis/combination_patterns.h"

#include <array>

#include "analysis/chart_reading.h"
#include "analysis/pattern_dates.h"
#include "chart/cast_pillars.h"
#include "chart/chart_build.h"

namespace analysis {
namespace {

// A working copy of a pattern text from which branches are taken one occurrence at a time.
class Taking {
public:
    explicit Taking(const QString& pattern) : rest_(pattern) {}

    void take(QChar branch) {
        if (branch.isNull()) return;
        const qsizetype i = rest_.indexOf(branch);
        if (i < 0) return;
        rest_.remove(i, 1);
        ++count_;
    }
    int count() const { return count_; }
    void resetCount() { count_ = 0; }
    bool holds(QChar branch) const { return rest_.contains(branch); }
    QChar firstMissing() const { return charAt(rest_, 0); }

private:
    QString rest_;
    int count_ = 0;
};

// Per line (top first): the main branch, the changed branch of a moving line, whether it is
// active (moving or hidden-moving) and whether it moves.
struct LineBranches {
    QChar main;
    QChar changed;
    bool active = false;
    bool moving = false;
    bool still = false;  // static: young yang or yin, not hidden-moving
};
using Lines = std::array<LineBranches, 6>;

Lines linesOf(const chart::ChartState& state) {
    Lines lines;
    for (std::size_t i = 0; i < 6; ++i) {
        const chart::ChartLine& line = state.main[i];
        lines[i].main = charAt(line.branchElement, 0);
        lines[i].moving = isMoving(line);
        lines[i].changed = lines[i].moving ? itemBranch(line.changedLine) : QChar();
        lines[i].active = lines[i].moving || chart::isHiddenMoving(state, int(i));
        lines[i].still = (line.code == 1 || line.code == 2) && !lines[i].active;
    }
    return lines;
}

class Matcher {
public:
    Matcher(const chart::ChartState& state, const Lines& lines, const QString& pattern)
        : state_(state), lines_(lines), pattern_(pattern), middle_(charAt(pattern, 1)) {}

    QString run() {
        pairOfLines(0, 2, QStringLiteral("(4,6爻)"), QStringLiteral("(4,6半合)"));  // lines 6 and 4
        pairOfLines(3, 5, QStringLiteral("(1,3爻)"), QStringLiteral("(1,3半合)"));  // lines 3 and 1
        activeLines();
        activeWithMonthOrDay();
        activeWithStaticLine();
        return out_;
    }

private:
    void append(const QString& label, const QString& dates) {
        out_ += pattern_ + label + dates + QStringLiteral("\r\n");
    }
    QString clashDates() const {
        return FindClashDates(chart::pillarMomentOf(state_).date, middle_, state_.calendarSource);
    }
    QString completionDates(const Taking& w) const {
        return FindCompletionDates(chart::pillarMomentOf(state_).date, w.firstMissing(), state_.calendarSource);
    }

    void pairOfLines(std::size_t upper, std::size_t lower, const QString& full, const QString& half) {
        if (!lines_[upper].active || !lines_[lower].active) return;
        Taking w(pattern_);
        w.take(lines_[upper].main);
        w.take(lines_[lower].main);
        if (w.count() == 2) {
            for (std::size_t i : {upper, lower})
                if (lines_[i].moving) w.take(lines_[i].changed);
        }
        if (w.count() >= 3)
            append(full, clashDates());
        else if (w.count() == 2 && !w.holds(middle_))
            append(half, completionDates(w));
    }

    Taking fromActiveLines() const {
        Taking w(pattern_);
        for (const LineBranches& line : lines_)
            if (line.active) w.take(line.main);
        return w;
    }

    void activeLines() {
        const Taking w = fromActiveLines();
        if (w.count() >= 3)
            append(QStringLiteral("(3个动或暗动爻合局)"), clashDates());
        else if (w.count() == 2 && !w.holds(middle_))
            append(QStringLiteral("(3个动或暗动爻半合)"), completionDates(w));
    }

    void activeWithMonthOrDay() {
        Taking w = fromActiveLines();
        if (w.count() == 2) {
            w.take(monthBranch(state_));
            w.take(dayBranch(state_));
        } else {
            w.resetCount();
        }
        if (w.count() >= 3)
            append(QStringLiteral("(2个动或暗动爻+日或月合局)"), clashDates());
        else if (w.count() == 2 && !w.holds(middle_))
            append(QStringLiteral("(2个动或暗动爻半合)"), completionDates(w));
    }

    void activeWithStaticLine() {
        Taking w = fromActiveLines();
        if (w.count() == 2) {
            for (const LineBranches& line : lines_)
                if (line.still) w.take(line.main);
        } else {
            w.resetCount();
        }
        if (w.count() >= 3) append(QStringLiteral("(2个动或暗动爻+一个静爻合局)"), clashDates());
    }

    const chart::ChartState& state_;
    const Lines& lines_;
    const QString& pattern_;
    const QChar middle_;
    QString out_;
};

}  // namespace

const QStringList& combinationPatternTexts() {
    static const QStringList texts = {
        QStringLiteral("亥卯未合木局"), QStringLiteral("寅午戌合火局"),     QStringLiteral("巳酉丑合金局"),
        QStringLiteral("申子辰合水局"), QStringLiteral("辰戌丑未自合土局"), QStringLiteral("丑戌未三刑局"),
        QStringLiteral("巳申寅三刑局"),
    };
    return texts;
}

QString MatchCombinationPattern(const chart::ChartState& state, const QString& pattern) {
    const Lines lines = linesOf(state);
    return Matcher(state, lines, pattern).run();
}

QString CombinationPatterns(const chart::ChartState& state) {
    const Lines lines = linesOf(state);
    QStringList results;
    for (const QString& pattern : combinationPatternTexts()) results << Matcher(state, lines, pattern).run();
    return results.join(u' ');
}

}  // namespace analysis
