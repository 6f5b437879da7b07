#pragma once
// The four coin pictures of the casting dialog: the 字 face (number 1) and the 花 face
// (number 2), in the pattern set "y" and the plain set "q".
#include <QImage>
#include <QString>

namespace coin_pictures {

enum class Style { Pattern, Plain };  // "y", "q"
enum class Face { Zi = 1, Hua = 2 };  // 字, 花

inline constexpr int kSize = 48;

// A kSize × kSize picture without alpha, drawn without fonts so that it is the same everywhere.
QImage draw(Style style, Face face);
// "y1.bmp" .. "q2.bmp".
QString fileName(Style style, Face face);

}  // namespace coin_pictures
