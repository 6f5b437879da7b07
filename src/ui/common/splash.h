#pragma once
#include <QSplashScreen>

namespace ui {

// The start-up window: "青岚 启动中……" while the other windows are made.
class Splash : public QSplashScreen {
public:
    Splash();
};

}  // namespace ui
