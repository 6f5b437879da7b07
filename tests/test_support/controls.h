#pragma once
// Reaching a window's controls by their objectName, as a user's script would. A main window is
// searched in its client area first, so dialogs parented to it never shadow its controls.
#include <QByteArray>
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

// "Label" and 29 + 2 give "Label31": the name of a control of a numbered row.
inline QString numbered(const char* prefix, int first, int index) {
    return QString::fromLatin1(prefix) + QString::number(first + index);
}
