#include "chart_drawing/chart_painter.h"

#include "chart/catalogue.h"
#include "chart/elements.h"
#include "chart/stems.h"
#include "chart_drawing/chart_geometry.h"
#include "chart_drawing/free_place.h"
#include "language/english_text.h"
#include "language/generated_text.h"

namespace chart {
namespace {

using namespace geometry;

const QColor kNoteColor(235, 205, 0);
const QColor kFrameColor(100, 100, 100);
const QColor kHeaderColor(128, 0, 128);

// Point sizes of a 96-dpi screen, so the layout does not depend on the display.
QFont fontOfSize(int points) {
    QFont font;
    font.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei")});
    font.setPixelSize(points * 96 / 72);
    return font;
}

QChar charAt(const QString& s, qsizetype i) { return i < s.size() ? s.at(i) : QChar(); }

class Painter {
public:
    Painter(QPainter& p, const PaintInputs& in)
        : p_(p),
          in_(in),
          s_(in.state),
          lines_(in.showingChanged ? s_.changed : s_.main),
          withChanged_(!in.showingChanged && s_.hasChanged),
          wq_(s_.method == ArrangementMethod::Zangshan ? stemsShownOffset(in.options) : 0) {}

    // Everything with a fixed place first, then what may move (method word, notes, 京房式 stems),
    // each to the nearest place clear of what is drawn. Nothing overlaps, so this order paints
    // the same picture as the classic one.
    std::vector<DrawnText> run() {
        p_.save();
        p_.fillRect(0, 0, kChartWidth, kChartHeight, in_.faceColor);
        if (!s_.main[0].hexagramName.isEmpty() && !lines_[0].hexagramName.isEmpty()) {
            drawFrame();
            setFont(kHeaderFont, kHeaderColor);
            text(kCaseHeaderX, kCaseHeaderY, caseHeaderShown());
            setFont(kNameFont, in_.textColor);
            computeZangshanStems();
            const QString mainName = words(lines_[0].hexagramName + hexagramTagOf(lines_[0].hexagramName));
            if (english()) fitWidth(mainName, kChangedRelativeX + 2 * wq_ - kRelativeX - wq_ - 8);
            text(kRelativeX + wq_, kNameY, mainName);
            // A long changed name under 藏山卜 stems would run off the right edge.
            const QRect titles(1, 1, kChartWidth - 2, kFirstRowTop - 2);
            if (withChanged_) {
                setFont(kNameFont, in_.textColor);
                const QString changedName =
                    words(s_.changed[0].hexagramName + hexagramTagOf(s_.changed[0].hexagramName));
                if (english()) fitWidth(changedName, kChartWidth - 4 - kChangedRelativeX - 2 * wq_);
                movableText(kChangedRelativeX + 2 * wq_, kNameY, changedName, titles);
            }
            for (int i = 0; i < 6; ++i) english() ? drawEnglishRow(i) : drawRow(i);
            if (s_.method == ArrangementMethod::Zangshan) {
                setFont(kNameFont, in_.textColor);
                movableText(kMethodX, kMethodY, words(QStringLiteral("藏山卜")), titles);
            }
            for (int i = 0; i < 6; ++i) {
                const ChartLine& r = lines_[std::size_t(i)];
                if (in_.options.showAnnotations) drawNotes(r, rowTop(i));
                if (in_.options.showStems && s_.method == ArrangementMethod::Jingfang) drawSmallStems(i);
            }
        }
        p_.restore();
        return std::move(drawn_);
    }

private:
    // A text at its cell (see kCellBaselineEighths). Its rectangle is what its characters cover;
    // a text drawn while opaque_ stands on the part of that rectangle inside its cell, filled
    // with the face colour.
    void text(int x, int y, const QString& s) {
        if (s.trimmed().isEmpty()) return;
        draw(x, y, s, inkAt(x, y, s));
    }

    // A text that keeps (x, y) unless that would overlap a text drawn before; then it moves to
    // the nearest free place inside area, off the bars too where there is room.
    void movableText(int x, int y, const QString& s, const QRect& area) {
        if (s.trimmed().isEmpty()) return;
        const QRect wanted = inkAt(x, y, s);
        std::vector<QRect> taken;
        taken.reserve(drawn_.size() + bars_.size());
        for (const DrawnText& d : drawn_) taken.push_back(d.rect);
        QRect placed = nearestFreePlace(wanted, area, taken).value_or(wanted);
        if (placed != wanted) {
            taken.insert(taken.end(), bars_.begin(), bars_.end());
            placed = nearestFreePlace(wanted, area, taken).value_or(placed);
        }
        draw(x + placed.x() - wanted.x(), y + placed.y() - wanted.y(), s, placed);
    }

    int baseline() const { return p_.font().pixelSize() * kCellBaselineEighths / 8; }

    QRect inkAt(int x, int y, const QString& s) const {
        return QFontMetrics(p_.font()).tightBoundingRect(s).translated(x, y + baseline());
    }

    void draw(int x, int y, const QString& s, const QRect& rect) {
        if (opaque_)
            p_.fillRect(rect.intersected(QRect(x, y, rect.right() + 1 - x, p_.font().pixelSize())), in_.faceColor);
        p_.drawText(QPoint(x, y + baseline()), s);
        drawn_.push_back({s, rect});
    }

    // Four one-unit strips rather than a line, so each edge covers whole device pixels at any
    // scale factor.
    void drawFrame() {
        for (const QRect& edge : {QRect(0, 0, kChartWidth, 1), QRect(0, kChartHeight - 1, kChartWidth, 1),
                                  QRect(0, 0, 1, kChartHeight), QRect(kChartWidth - 1, 0, 1, kChartHeight)})
            p_.fillRect(edge, Qt::black);
    }

    QString hexagramTagOf(const QString& name) const { return hexagramTag(name, s_.method); }

    // The drawing in the current language: 繁體 converted, English in the glossary's compact
    // forms (or its full words where a column has room for them).
    bool english() const { return lang_ == language::Language::English; }
    QString words(const QString& s, language::WordForm form = language::WordForm::Compact) const {
        if (s.isEmpty() || lang_ == language::Language::SimplifiedChinese) return s;
        if (english()) return language::toEnglishWords(s, form);
        return language::localized(s, lang_);
    }
    // The case line: its labels and the gender in the language, the birth year and the matter as
    // the user wrote them.
    QString caseHeaderShown() const {
        if (lang_ == language::Language::SimplifiedChinese) return in_.caseHeader;
        if (english()) return language::toEnglish(in_.caseHeader);
        const qsizetype birth = in_.caseHeader.indexOf(QStringLiteral(" 出生:"));
        if (!in_.caseHeader.startsWith(QStringLiteral("性别:")) || birth < 0) return in_.caseHeader;
        const qsizetype matter = in_.caseHeader.indexOf(QStringLiteral(" 占事"), birth);
        if (matter < 0) return in_.caseHeader;
        return language::localized(in_.caseHeader.left(birth + 4), lang_) +
               in_.caseHeader.mid(birth + 4, matter - birth - 4) + language::localized(QStringLiteral(" 占事"), lang_) +
               in_.caseHeader.mid(matter + 3);
    }
    // Makes the current font smaller, not below 8 pixels, until the text is at most maxWidth wide.
    void fitWidth(const QString& s, int maxWidth) {
        QFont font = p_.font();
        while (font.pixelSize() > 8 && QFontMetrics(font).horizontalAdvance(s) > maxWidth)
            font.setPixelSize(font.pixelSize() - 1);
        p_.setFont(font);
    }
    // One English text of a row at the row's English size, narrowed to its column.
    void englishText(int x, int y, const QString& s, int maxWidth) {
        p_.setFont(fontOfSize(kEnglishRowFont));
        fitWidth(s, maxWidth);
        text(x, y, s);
    }
    // An item in English on two lines of its column: the relative above, the branch and element
    // (after the 藏山卜 stem when one is shown) below.
    void englishItem(int x, int right, int y, const QString& relative, const QString& branchElement, QChar stem,
                     const QColor& top, const QColor& bottom) {
        p_.setPen(top);
        englishText(x, y + 1, words(relative, language::WordForm::Full), right - x);
        QString below = words(branchElement, language::WordForm::Full);
        if (!stem.isNull() && stem != u' ') below = words(QString(stem)) + u' ' + below;
        p_.setPen(bottom);
        englishText(x, y + kEnglishSecondLine, below, right - x);
    }

    // The row in English: the beast's two words on two lines, each item on two lines, the marks.
    void drawEnglishRow(int i) {
        const ChartLine& r = lines_[std::size_t(i)];
        const int y = rowTop(i);
        const bool isStatic = r.code == 1 || r.code == 2;
        const bool stems = in_.options.showStems && s_.method == ArrangementMethod::Zangshan;
        const QString beast = words(r.beast, language::WordForm::Full);
        const qsizetype blank = beast.indexOf(u' ');
        p_.setPen(in_.textColor);
        englishText(kBeastX, y + 1, blank < 0 ? beast : beast.left(blank), kHiddenRelativeX - kBeastX - 3);
        if (blank >= 0)
            englishText(kBeastX, y + kEnglishSecondLine, beast.mid(blank + 1), kHiddenRelativeX - kBeastX - 3);
        if (!r.hiddenSpirit.isEmpty())
            englishItem(kHiddenRelativeX, kHiddenNoteX + wq_ - 2, y, r.hiddenSpirit.left(2), r.hiddenSpirit.mid(2),
                        stems ? charAt(hiddenStems_, i) : QChar(), flagColor(0, i), flagColor(0, i));
        englishItem(kRelativeX + wq_, kMainBarX + 2 * wq_ - 3, y, r.relative, r.branchElement,
                    stems ? charAt(mainStems_, i) : QChar(), in_.textColor, flagColor(1, i));
        p_.setPen(in_.textColor);
        if (r.mark == u'世' || r.mark == u'应')
            englishText(kMarkX + 2 * wq_, y + kEnglishMarkDrop, words(QString(r.mark)), kMotionX - kMarkX - 2);
        if (withChanged_) {
            const QChar mark = s_.changed[std::size_t(i)].mark;
            if (mark == u'世' || mark == u'应')
                englishText(kChangedMarkX + 3 * wq_, y + kEnglishMarkDrop, words(QString(mark)),
                            kChartWidth - 2 - kChangedMarkX - 3 * wq_);
        }
        if (withChanged_ && !r.changedLine.isEmpty()) {
            const QColor color = isStatic ? kFrameColor : flagColor(2, i);
            englishItem(kChangedRelativeX + 2 * wq_, kChangedBarX + 3 * wq_ - 3, y, r.changedLine.left(2),
                        r.changedLine.mid(2), stems ? charAt(changedStems_, i) : QChar(), color, color);
        }
        drawBars(r.code, y);
    }

    void setFont(int size, const QColor& color) {
        p_.setFont(fontOfSize(size));
        p_.setPen(color);
    }

    QColor flagColor(int column, int row) const {
        if (!in_.options.highlightClashes) return in_.textColor;
        const QColor c = highlightColor(s_.highlight[std::size_t(column * 6 + row)]);
        return c.isValid() ? c : in_.textColor;
    }

    void computeZangshanStems() {
        if (s_.method != ArrangementMethod::Zangshan || !in_.options.showStems) return;
        mainStems_ = zangshanStems(lines_[0].hexagramName);
        if (withChanged_) changedStems_ = zangshanStems(s_.changed[0].hexagramName);
        if (!s_.hiddenSpiritSource.isEmpty()) hiddenStems_ = zangshanStems(s_.hiddenSpiritSource);
    }

    void drawRow(int i) {
        const ChartLine& r = lines_[std::size_t(i)];
        const int y = rowTop(i);
        const bool isStatic = r.code == 1 || r.code == 2;
        setFont(kNameFont, in_.textColor);
        text(kBeastX, y, words(r.beast));
        if (!r.hiddenSpirit.isEmpty()) {
            p_.setPen(flagColor(0, i));
            text(kHiddenRelativeX, y, words(r.hiddenSpirit.left(2)));
            text(kHiddenBranchX + wq_, y, words(r.hiddenSpirit.mid(2)));
        }
        p_.setPen(in_.textColor);
        text(kRelativeX + wq_, y, words(r.relative));
        p_.setPen(flagColor(1, i));
        text(kBranchX + 2 * wq_, y, words(r.branchElement));
        p_.setPen(in_.textColor);
        if (r.mark == u'世' || r.mark == u'应') text(kMarkX + 2 * wq_, y, words(QString(r.mark)));
        if (withChanged_) {
            const QChar mark = s_.changed[std::size_t(i)].mark;
            if (mark == u'世' || mark == u'应') text(kChangedMarkX + 3 * wq_, y, words(QString(mark)));
        }
        if (withChanged_ && !r.changedLine.isEmpty()) {
            p_.setPen(isStatic ? kFrameColor : flagColor(2, i));
            text(kChangedRelativeX + 2 * wq_, y, words(r.changedLine.left(2)));
            text(kChangedBranchX + 3 * wq_, y, words(r.changedLine.mid(2)));
        }
        drawBars(r.code, y);
        if (in_.options.showStems && s_.method == ArrangementMethod::Zangshan) {
            opaque_ = false;
            drawZangshanStems(i, r, y, isStatic);
            opaque_ = true;
        }
    }

    // A note's row: its band, reaching a few pixels into the gaps above and below.
    static QRect noteArea(int y) {
        return QRect(1, y - kNoteReach, kChartWidth - 2, kRowPitch + 2 * kNoteReach)
            .intersected(QRect(1, 1, kChartWidth - 2, kChartHeight - 2));
    }

    void bar(int x0, int x1, int y, bool yang) {
        bars_.push_back(QRect(x0, y + kBarTop, x1 - x0, kBarHeight));
        // Right and bottom edges are exclusive, as a filled rectangle of the window system has them.
        if (yang) {
            p_.fillRect(QRect(x0, y + kBarTop, x1 - x0, kBarHeight), Qt::black);
        } else {
            p_.fillRect(QRect(x0, y + kBarTop, kYinFirstPart, kBarHeight), Qt::black);
            p_.fillRect(QRect(x0 + kYinSecondStart, y + kBarTop, x1 - x0 - kYinSecondStart, kBarHeight), Qt::black);
        }
    }

    void drawBars(int code, int y) {
        const int mainX = kMainBarX + 2 * wq_, changedX = kChangedBarX + 3 * wq_;
        const bool mainYang = code == 1 || code == 3;
        if (code < 1 || code > 4) return;
        bar(mainX, mainX + kBarWidth, y, mainYang);
        if (withChanged_) bar(changedX, changedX + kBarWidth, y, code == 1 || code == 4);
        if (code == 3 || code == 4) {
            setFont(kMotionFont, Qt::black);
            text(kMotionX + 2 * wq_, y, code == 3 ? QStringLiteral("o->") : QStringLiteral("x->"));
        }
    }

    // Void or clash note and strength note of one item (relative + branch + element).
    void itemNotes(const QString& item, int voidX, int voidY, int stateX, int stateY, const QRect& area) {
        const QChar branch = charAt(item, 2);
        setFont(kNoteFont, kNoteColor);
        if (!branch.isNull() && (branch == s_.voidPair[0] || branch == s_.voidPair[1]))
            movableText(
                voidX, voidY,
                words(clashPartner(charAt(s_.secondSlot, 1)) == branch ? QStringLiteral("冲实") : QStringLiteral("空")),
                area);
        if (in_.strengthNote) {
            const analysis::LineStrength note = in_.strengthNote(item);
            const QColor color = seasonColor(note.season);
            p_.setPen(color.isValid() ? color : kNoteColor);
            movableText(stateX, stateY, words(note.text), area);
        }
    }

    // The notes of a column move right with it when 藏山卜 stems widen the row, as its texts
    // and bars do, so they stand to its texts and bars as without stems.
    void drawNotes(const ChartLine& r, int y) {
        const QRect area = noteArea(y);
        const int hiddenX = kHiddenNoteX + wq_, mainX = kMainNoteX + 2 * wq_;
        const int changedVoidX = kChangedVoidX + 3 * wq_, changedStateX = kChangedStateX + 3 * wq_;
        if (!r.hiddenSpirit.isEmpty()) itemNotes(r.hiddenSpirit, hiddenX, y, hiddenX, y + kNoteLine, area);
        itemNotes(QStringLiteral("AB") + r.branchElement, mainX, y, mainX, y + kNoteLine, area);
        if (!withChanged_ || r.changedLine.isEmpty()) return;
        itemNotes(r.changedLine, changedVoidX, y, changedStateX, y, area);
        const QString advance = analysis::advanceNote(charAt(r.branchElement, 0), charAt(r.changedLine, 2),
                                                      in_.state.schools.sevenAdvances);
        setFont(kNoteFont, advance == u"进化" ? QColor(Qt::blue) : QColor(Qt::black));
        movableText(changedVoidX, y + kNoteLine, words(advance), area);
        if (in_.returnInfluence) {
            const QString back = in_.returnInfluence(charAt(r.branchElement, 1), charAt(r.changedLine, 3));
            p_.setPen(back == u"回头生" ? QColor(Qt::blue) : QColor(Qt::black));
            movableText(changedStateX, y + kNoteLine, words(back), area);
        }
    }

    // 京房式: the outer stems above row 0, the inner ones above row 3 (pairs 1, 2 and 3), transparent.
    void drawSmallStems(int i) {
        if (i != 0 && i != 3) return;
        const int y = rowTop(i) - kSmallStemRise;
        const QRect area(1, rowTop(i) - kRowPitch / 2, kChartWidth - 2, kRowPitch);
        setFont(kNoteFont, kFrameColor);
        opaque_ = false;
        const int offset = i == 0 ? 0 : 1;  // outer stem on row 0, inner on row 3
        const int pairs[3] = {0, in_.showingChanged ? 2 : 1, 2};
        for (int k = 0; k < 3; ++k) {
            if (k == 2 && !withChanged_) continue;
            const QChar stem = s_.stemPairs[std::size_t(2 * pairs[k] + offset)];
            if (stem != u' ') movableText(kSmallStemX[k], y, words(QString(stem)), area);
        }
        opaque_ = true;
    }

    // 藏山卜: the row's main stem, the hidden spirit's when it has one, the changed line's when
    // it has one (grey when the main line is static).
    void drawZangshanStems(int i, const ChartLine& r, int y, bool isStatic) {
        setFont(kNameFont, in_.textColor);
        text(kZangshanMainStemX, y, QString(charAt(mainStems_, i)));
        if (!r.hiddenSpirit.isEmpty()) text(kZangshanHiddenStemX, y, QString(charAt(hiddenStems_, i)));
        if (withChanged_ && !r.changedLine.isEmpty()) {
            p_.setPen(isStatic ? kFrameColor : QColor(Qt::black));
            text(kZangshanChangedStemX, y, QString(charAt(changedStems_, i)));
        }
    }

    QPainter& p_;
    const PaintInputs& in_;
    const ChartState& s_;
    const Hexagram& lines_;
    const bool withChanged_;
    const int wq_;
    const language::Language lang_ = language::currentLanguage();
    QString mainStems_, changedStems_, hiddenStems_;
    bool opaque_ = true;
    std::vector<DrawnText> drawn_;
    std::vector<QRect> bars_;
};

}  // namespace

int stemsShownOffset(const ChartOptions& options) { return options.showStems ? kStemsShift : 0; }

std::vector<DrawnText> paintChart(QPainter& painter, const PaintInputs& in) { return Painter(painter, in).run(); }

ChartHit hitTest(int x, int y) {
    for (int i = 0; i < 6; ++i) {
        if (y > rowTop(i) && y < rowTop(i) + kRowPitch)
            return {i + 1, x <= kHiddenColumnEnd ? 1 : (x > kChangedColumnStart ? 3 : 2)};
    }
    return {};
}

QColor seasonColor(analysis::SeasonState season) {
    using analysis::SeasonState;
    switch (season) {
    case SeasonState::None: return {};
    case SeasonState::Prosperous:
    case SeasonState::Supported: return {255, 0, 0};
    case SeasonState::Resting: return {210, 105, 30};
    case SeasonState::Confined: return {180, 105, 30};
    case SeasonState::Dead: return {94, 38, 18};
    }
    return {};
}

QColor highlightColor(int flag) {
    if (flag & 1) return {122, 160, 255};
    if (flag & (2 | 4)) return {171, 130, 255};
    if (flag & 8) return {211, 85, 186};
    if (flag & 16) return {143, 188, 143};
    if (flag & 32) return {191, 204, 111};
    return {};
}

}  // namespace chart
