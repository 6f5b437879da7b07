#include "casting/manual_cast.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "store/data_root.h"

namespace casting {
namespace {

const std::array<const char*, 4> kCoinPictureNames = {"q1.bmp", "q2.bmp", "y1.bmp", "y2.bmp"};

// The installed coin pictures (share/qinglan/coins) when all four are there, else the copies
// built into the program.
QString coinPictureFolder() {
    const QString installed = store::installedDataFolder(QCoreApplication::applicationDirPath());
    if (installed.isEmpty()) return QStringLiteral(":/casting/");
    const QString folder = QDir(installed).filePath(QStringLiteral("coins")) + u'/';
    for (const char* name : kCoinPictureNames)
        if (!QFileInfo(folder + QLatin1String(name)).isFile()) return QStringLiteral(":/casting/");
    return folder;
}

const std::array<const char*, 6> kThrowCaptions = {
    QT_TRANSLATE_NOOP("casting::ManualCast", "第一次摇得"), QT_TRANSLATE_NOOP("casting::ManualCast", "第二次摇得"),
    QT_TRANSLATE_NOOP("casting::ManualCast", "第三次摇得"), QT_TRANSLATE_NOOP("casting::ManualCast", "第四次摇得"),
    QT_TRANSLATE_NOOP("casting::ManualCast", "第五次摇得"), QT_TRANSLATE_NOOP("casting::ManualCast", "第六次摇得")};

}  // namespace

QString coinPicture(CoinSet set, int state) {
    static const QString folder = coinPictureFolder();
    return folder + (set == CoinSet::Pattern ? u'y' : u'q') + QString::number(state + 1) + QStringLiteral(".bmp");
}

QString initialThrowCaption(int k) { return QString::fromUtf8(kThrowCaptions[std::size_t(k)]); }

QString shownThrowCaption(int k, const QString& caption) {
    if (caption != initialThrowCaption(k)) return caption;
    return QCoreApplication::translate("casting::ManualCast", kThrowCaptions[std::size_t(k)]);
}

void ManualCast::clear() {
    values_.fill(1);
    radioValues_.fill(1);
    checked_ = 0;
    setCoins({1, 0, 0});
}

void ManualCast::resetForShow() {
    clear();
    for (int k = 0; k < 6; ++k) throwCaptions_[std::size_t(k)] = initialThrowCaption(k);
    nameLabel_.clear();
}

void ManualCast::cycleLine(int line) {
    checked_ = line;
    // Coins one turn short of the next value; turning the first coin completes the step.
    switch (value(line)) {
    case 1: setCoins({0, 1, 0}); break;
    case 2: setCoins({0, 1, 1}); break;
    case 3: setCoins({1, 0, 0}); break;
    case 4: setCoins({0, 0, 0}); break;
    default: break;  // a line without value keeps the coins as they are
    }
    clickCoin(0);
}

void ManualCast::clickThrow(int k) {
    if (throwCaptions_[std::size_t(k)].contains(u'第')) values_[std::size_t(k)] = 4;
    cycleLine(k);
    throwCaptions_[std::size_t(k)] = symbol(k);
}

void ManualCast::clickCoin(int coin) {
    coins_[std::size_t(coin)] = 1 - coins_[std::size_t(coin)];
    const int v = lineValueOfCoins(coins_);
    radioValues_[std::size_t(checked_)] = v;
    values_[std::size_t(checked_)] = v;
    refreshNames();
}

void ManualCast::clickRadio(int line) {
    checked_ = line;
    switch (radioValue(line)) {
    case 1: setCoins({1, 0, 0}); break;
    case 2: setCoins({1, 1, 0}); break;
    case 3: setCoins({1, 1, 1}); break;
    case 4: setCoins({0, 0, 0}); break;
    default: break;
    }
    if (nameLabel_.isEmpty()) refreshNames();
}

void ManualCast::moveCheckUp() {
    if (checked_ < 5) ++checked_;
    if (nameLabel_.isEmpty()) refreshNames();
}

QString ManualCast::unclickedThrowMessage() const {
    for (int k = 0; k < 6; ++k)
        if (throwCaptions_[std::size_t(k)] == initialThrowCaption(k))
            return QCoreApplication::translate("casting::ManualCast", "“%1”位置请用鼠标点击来更改爻值。")
                .arg(shownThrowCaption(k, initialThrowCaption(k)));
    return {};
}

}  // namespace casting
