#pragma once
// Lets GoogleTest print Qt text values in failure messages.
#include <QChar>
#include <QString>
#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(QChar c, std::ostream* os) { *os << '\'' << QString(c).toStdString() << '\''; }
QT_END_NAMESPACE
