#include "casting/line_values.h"

#include <QCoreApplication>

#include "chart/catalogue.h"

namespace casting {

QString lineSymbol(int value) {
    switch (value) {
    case 1: return QStringLiteral("一");
    case 2: return QStringLiteral("- -");
    case 3: return QStringLiteral("o");
    case 4: return QStringLiteral("x");
    default: return {};
    }
}

int lineValueOfCoins(const std::array<int, 3>& coins) {
    const int flowers = coins[0] + coins[1] + coins[2];
    return flowers == 0 ? 4 : flowers;
}

std::array<int, 6> codesTopFirst(const LineValues& values) {
    return {values[5], values[4], values[3], values[2], values[1], values[0]};
}

QStringList rulesText() {
    return {
        QCoreApplication::translate(
            "casting::LineValues",
            "有字的一面为阴，花（背面）的一面为阳。一花两字为阳（一），一字两花为阴（--）。三个花为老阳（○），"),
        QCoreApplication::translate("casting::LineValues", "三个字为老阴（X）"),
        QCoreApplication::translate(
            "casting::LineValues",
            "起卦方法：可根据摇出的硬币手工点击每个爻来完成起卦，或者根据输入的卦名起卦，或者电脑起卦。")};
}

QString hexagramNameOfKey(const QString& key) { return chart::hexagramName(key); }

QString hexagramNamesLabel(const LineValues& values) {
    const std::array<int, 6> codes = codesTopFirst(values);
    std::array<int, 6> changed = codes;
    bool moving = false;
    for (int& code : changed) {
        if (code == 3 || code == 4) {
            moving = true;
            code = code == 3 ? 2 : 1;  // 老阳 becomes yin, 老阴 yang
        }
    }
    const QString name = chart::hexagramNameOfCodes(codes);
    if (!moving) return name;
    return QStringLiteral("主卦：") + name + QStringLiteral(" 变卦：") + chart::hexagramNameOfCodes(changed);
}

}  // namespace casting
