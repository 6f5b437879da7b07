#pragma once
// Reaching a window's controls by their objectName, as a user's script would; the names are the
// constants of the window folder's object_names.h. A main window is searched in its client area
// first, so dialogs parented to it never shadow its controls.
#include <QMainWindow>
#include <QString>
#include <QWidget>

template <typename T>
T* control(const QWidget& window, const QString& name) {
    T* found = nullptr;
    if (const auto* main = qobject_cast<const QMainWindow*>(&window); main && main->centralWidget())
        found = main->centralWidget()->findChild<T*>(name);
    if (!found) found = window.findChild<T*>(name);
    if (!found) qFatal("no control %s in %s", qPrintable(name), qPrintable(window.objectName()));
    return found;
}

template <typename T>
T* control(const QWidget& window, const char* name) {
    return control<T>(window, QString::fromLatin1(name));
}
