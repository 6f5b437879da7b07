#include "ui/common/splash.h"

#include <QApplication>
#include <QPainter>

namespace ui {

namespace {
QPixmap splashPicture() {
    QPixmap picture(320, 120);
    picture.fill(QColor(234, 242, 236));
    QPainter painter(&picture);
    QFont font = QApplication::font();
    font.setPixelSize(18);
    painter.setFont(font);
    painter.setPen(QColor(40, 80, 60));
    painter.drawText(QRect(6, 6, 308, 40), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("青岚 启动中……"));
    return picture;
}
}  // namespace

Splash::Splash() : QSplashScreen(splashPicture()) { setObjectName(QStringLiteral("TForm6")); }

}  // namespace ui
