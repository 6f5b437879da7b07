#include "coin_pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace coin_pictures {
namespace {

const QColor kBackground(255, 255, 255);

// The disc with its rim and the square hole, centred in the picture.
void drawCoin(QPainter& p, const QColor& face, const QColor& rim) {
    const QRectF disc(2, 2, kSize - 4, kSize - 4);
    p.setPen(QPen(rim, 3));
    p.setBrush(face);
    p.drawEllipse(disc);
    p.setPen(QPen(rim, 2));
    p.setBrush(kBackground);
    p.drawRect(QRectF(kSize / 2.0 - 6, kSize / 2.0 - 6, 12, 12));
}

// Four stroke groups around the hole standing for the four characters of a cash coin.
void drawCharacters(QPainter& p, const QColor& ink) {
    p.setPen(QPen(ink, 2, Qt::SolidLine, Qt::FlatCap));
    const double c = kSize / 2.0;
    for (int quarter = 0; quarter < 4; ++quarter) {
        p.save();
        p.translate(c, c);
        p.rotate(90.0 * quarter);
        p.drawLine(QPointF(-5, -16), QPointF(5, -16));
        p.drawLine(QPointF(0, -19), QPointF(0, -11));
        p.drawLine(QPointF(-4, -12), QPointF(4, -12));
        p.restore();
    }
}

// Four petals between the hole and the rim, with a dot between each pair.
void drawFlower(QPainter& p, const QColor& ink) {
    const double c = kSize / 2.0;
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    for (int quarter = 0; quarter < 4; ++quarter) {
        p.save();
        p.translate(c, c);
        p.rotate(90.0 * quarter + 45.0);
        p.drawEllipse(QRectF(-3.5, -19, 7, 10));
        p.restore();
        const double angle = M_PI / 2 * quarter;
        p.drawEllipse(QPointF(c + 14 * std::cos(angle), c + 14 * std::sin(angle)), 2, 2);
    }
}

}  // namespace

QImage draw(Style style, Face face) {
    QImage image(kSize, kSize, QImage::Format_RGB32);
    image.fill(kBackground);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    if (style == Style::Pattern) {
        drawCoin(p, QColor(212, 170, 86), QColor(128, 88, 30));
        if (face == Face::Zi)
            drawCharacters(p, QColor(96, 60, 16));
        else
            drawFlower(p, QColor(150, 40, 30));
    } else {
        if (face == Face::Zi) {
            drawCoin(p, QColor(230, 230, 230), QColor(90, 90, 90));
            drawCharacters(p, QColor(60, 60, 60));
        } else {
            drawCoin(p, QColor(110, 110, 110), QColor(40, 40, 40));
            drawFlower(p, QColor(245, 245, 245));
        }
    }
    p.end();
    return image;
}

QString fileName(Style style, Face face) {
    return QString(style == Style::Pattern ? u'y' : u'q') + QString::number(int(face)) + QStringLiteral(".bmp");
}

}  // namespace coin_pictures
