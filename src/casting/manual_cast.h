#pragma once
// The manual cast of the casting dialog: six line values with their radio buttons, three coins
// and the six throws of the first tab. Lines and throws are numbered 0 (初爻, "第一次摇得") to
// 5 (上爻, "第六次摇得").
#include <QString>
#include <array>

#include "casting/line_values.h"

namespace casting {

enum class CoinSet { Plain, Pattern };  // "q" pictures; "y" pictures under "显示硬币图案"

// The picture of a coin state (1 花, 0 字) in a set: "y2.bmp" and so on, from the installed
// share/qinglan/coins, else the copy built in (":/casting/y2.bmp").
QString coinPicture(CoinSet set, int state);

class ManualCast {
public:
    ManualCast() { resetForShow(); }

    // "清空": every line 少阳, 初爻 checked, coins (花, 字, 字). The name label is left.
    void clear();
    // Every showing of the dialog: "清空", the throws' initial captions, an empty name label.
    void resetForShow();

    // Advances one line 一 → - - → o → x → 一 through its coins (the window also empties the
    // name/case-number field).
    void cycleLine(int line);
    // A click on throw k: the first click since the reset yields 一; the caption shows the symbol.
    void clickThrow(int k);
    // A click on a coin: it turns over and the checked line takes the coins' value.
    void clickCoin(int coin);
    // A click on a radio button: the coins show the value that radio holds.
    void clickRadio(int line);
    // "下一爻" after a possible finish: the check moves one line up.
    void moveCheckUp();

    // The message for the first throw not yet clicked; empty when all six were.
    QString unclickedThrowMessage() const;
    bool topLineChecked() const { return checked_ == 5; }

    // Fills the lines from a cast by name or by computer; the name label is not touched.
    void setValues(const LineValues& values) { values_ = values; }
    void setNameLabel(const QString& text) { nameLabel_ = text; }
    // hexagramNamesLabel into the name label.
    void refreshNames() { nameLabel_ = hexagramNamesLabel(values_); }

    const LineValues& values() const { return values_; }
    int value(int line) const { return values_[std::size_t(line)]; }
    QString symbol(int line) const { return lineSymbol(value(line)); }
    int radioValue(int line) const { return radioValues_[std::size_t(line)]; }
    int checkedLine() const { return checked_; }
    const std::array<int, 3>& coins() const { return coins_; }
    const QString& throwCaption(int k) const { return throwCaptions_[std::size_t(k)]; }
    const QString& nameLabel() const { return nameLabel_; }

private:
    void setCoins(const std::array<int, 3>& coins) { coins_ = coins; }

    LineValues values_{};
    LineValues radioValues_{};
    int checked_ = 0;
    std::array<int, 3> coins_{};
    std::array<QString, 6> throwCaptions_;
    QString nameLabel_;
};

// "第一次摇得" .. "第六次摇得".
QString initialThrowCaption(int k);
// A throw's caption as the window shows it: the untouched caption in the interface's language, a
// drawn line as it is.
QString shownThrowCaption(int k, const QString& caption);

}  // namespace casting
