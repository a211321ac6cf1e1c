#include <gtest/gtest.h>

#include "platform/TextEncoding.h"

TEST(TextEncoding, ValidUtf8PassesAndLegacyBytesAreDecoded) {
    EXPECT_TRUE(isValidUtf8("plain"));
    EXPECT_TRUE(isValidUtf8("\xE2\x82\xAC"));
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));        // overlong
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));    // surrogate
    EXPECT_FALSE(isValidUtf8("\xE2\x82"));        // cut short

    setLegacyCodePage(1252);
    EXPECT_EQ(toUtf8FromLegacy("\x80 5"), "\xE2\x82\xAC 5");  // euro sign
    EXPECT_EQ(toUtf8FromLegacy("a\x81z"), "a\xC2\x81z");      // undefined in 1252: Latin-1
    EXPECT_EQ(toUtf8FromLegacy("ok \xC3\xA9"), "ok \xC3\xA9"); // already UTF-8

    setLegacyCodePage(949);
    EXPECT_EQ(getLegacyCodePage(), 949);
    EXPECT_EQ(toUtf8FromLegacy("\xC7\xD1"), "\xED\x95\x9C");  // Hangul HAN
    setLegacyCodePage(932);
    EXPECT_EQ(toUtf8FromLegacy("\x93\xFA"), "\xE6\x97\xA5");  // Japanese NICHI
    setLegacyCodePage(1);
    EXPECT_EQ(getLegacyCodePage(), 1252);
}
