// The coin pictures that ship in data/ are the generator's, and the program carries them.
#include "coin_pictures.h"

#include <gtest/gtest.h>
#include <QImage>

#include "casting/manual_cast.h"
#include "test_support/qt_printers.h"

namespace {

using coin_pictures::Face;
using coin_pictures::Style;

TEST(CoinPictures, ShippedPicturesAreTheGeneratedOnes) {
    for (Style style : {Style::Pattern, Style::Plain})
        for (Face face : {Face::Zi, Face::Hua}) {
            const QString name = coin_pictures::fileName(style, face);
            SCOPED_TRACE(name.toStdString());
            const QImage shipped(QStringLiteral(QINGLAN_DATA_DIR "/") + name, "BMP");
            ASSERT_FALSE(shipped.isNull());
            EXPECT_EQ(shipped.size(), QSize(coin_pictures::kSize, coin_pictures::kSize));
            EXPECT_EQ(shipped.convertToFormat(QImage::Format_RGB32), coin_pictures::draw(style, face));
        }
}

TEST(CoinPictures, FacesAndStylesDiffer) {
    EXPECT_NE(coin_pictures::draw(Style::Pattern, Face::Zi), coin_pictures::draw(Style::Pattern, Face::Hua));
    EXPECT_NE(coin_pictures::draw(Style::Plain, Face::Zi), coin_pictures::draw(Style::Plain, Face::Hua));
    EXPECT_NE(coin_pictures::draw(Style::Plain, Face::Zi), coin_pictures::draw(Style::Pattern, Face::Zi));
}

TEST(CoinPictures, TheProgramCarriesAllFour) {
    for (casting::CoinSet set : {casting::CoinSet::Pattern, casting::CoinSet::Plain})
        for (int state : {0, 1}) EXPECT_FALSE(QImage(casting::coinPicture(set, state)).isNull());
}

}  // namespace
