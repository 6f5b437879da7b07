#include "ui/common/splash.h"

#include <QApplication>
#include <QPainter>

#include "ui/common/object_names.h"

namespace ui {
namespace {

// The splash picture and its one line of text.
constexpr QSize kPicture{320, 120};
constexpr QRect kText{6, 6, 308, 40};
constexpr int kTextPixels = 18;

QPixmap splashPicture() {
    QPixmap picture(kPicture);
    picture.fill(QColor(234, 242, 236));
    QPainter painter(&picture);
    QFont font = QApplication::font();
    font.setPixelSize(kTextPixels);
    painter.setFont(font);
    painter.setPen(QColor(40, 80, 60));
    painter.drawText(kText, Qt::AlignLeft | Qt::AlignTop, QCoreApplication::translate("ui::Splash", "青岚 启动中……"));
    return picture;
}

}  // namespace

Splash::Splash() : QSplashScreen(splashPicture()) { setObjectName(objectnames::splash); }

}  // namespace ui
