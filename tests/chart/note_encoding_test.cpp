// The note file keeps its encoding. Expected bytes worked out by hand: 新 is U+65B0 (UTF-8
// E6 96 B0, GB18030 D0 C2), 旧 is U+65E7 (UTF-8 E6 97 A7, GB18030 BE C9).
#include "chart/note_encoding.h"

#include <gtest/gtest.h>

namespace {

QByteArray bytes(std::initializer_list<unsigned char> values) {
    QByteArray out;
    for (unsigned char v : values) out.append(char(v));
    return out;
}

TEST(NoteEncoding, AppendsInTheFilesOwnEncoding) {
    struct Case {
        const char* what;
        QByteArray existing;
        QByteArray appended;
    };
    const Case cases[] = {
        {"empty file: UTF-8 without a mark", {}, bytes({0xE6, 0x96, 0xB0, 0x0A})},
        {"UTF-8 without a mark", bytes({0xE6, 0x97, 0xA7, 0x0A}), bytes({0xE6, 0x96, 0xB0, 0x0A})},
        {"UTF-8 with its mark, no second mark", bytes({0xEF, 0xBB, 0xBF, 0xE6, 0x97, 0xA7, 0x0A}),
         bytes({0xE6, 0x96, 0xB0, 0x0A})},
        {"UTF-16LE, last line without a break", bytes({0xFF, 0xFE, 0xE7, 0x65}),
         bytes({0x0A, 0x00, 0xB0, 0x65, 0x0A, 0x00})},
        {"UTF-16BE", bytes({0xFE, 0xFF, 0x65, 0xE7, 0x00, 0x0A}), bytes({0x65, 0xB0, 0x00, 0x0A})},
        {"GB18030 of older files", bytes({0xBE, 0xC9, 0x0A}), bytes({0xD0, 0xC2, 0x0A})},
        {"GB18030, last line without a break", bytes({0xBE, 0xC9}), bytes({0x0A, 0xD0, 0xC2, 0x0A})},
    };
    for (const Case& c : cases) {
        const std::optional<QByteArray> appended = chart::noteAppendBytes(c.existing, QStringLiteral("新"));
        ASSERT_TRUE(appended) << c.what;
        EXPECT_EQ(appended->toHex().toStdString(), c.appended.toHex().toStdString()) << c.what;
    }
}

TEST(NoteEncoding, AFileCutInsideACharacterIsLeftAlone) {
    EXPECT_FALSE(chart::noteAppendBytes(bytes({0xFF, 0xFE, 0xE7, 0x65, 0x0A}), QStringLiteral("新")));
    EXPECT_FALSE(chart::noteAppendBytes(bytes({0xFE, 0xFF, 0x65}), QStringLiteral("新")));
}

}  // namespace
