// Writes the four coin pictures y1.bmp, y2.bmp, q1.bmp, q2.bmp into the folder given.
#include <QDir>
#include <cstdio>

#include "coin_pictures.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: gen_coin_pictures FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    using namespace coin_pictures;
    for (Style style : {Style::Pattern, Style::Plain})
        for (Face face : {Face::Zi, Face::Hua}) {
            const QString path = folder.filePath(fileName(style, face));
            if (!draw(style, face).save(path, "BMP")) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
                return 1;
            }
        }
    return 0;
}
