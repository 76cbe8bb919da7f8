#include <gtest/gtest.h>

#include "util/Utf16.h"

TEST(Utf16, ConvertsEveryEncodingLengthBothWays)
{
    struct Case {
        std::string utf8;
        std::u16string utf16;
    };
    const Case cases[] = {
        {"", u""},
        {"TW6Relay", u"TW6Relay"},
        {"\xC3\xA9", u"\u00E9"},
        {"\xE2\x82\xAC", u"\u20AC"},
        {"\xF0\x9F\x8E\xB5", u"\U0001F3B5"},
        {std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Util::toUtf16(c.utf8), c.utf16) << c.utf8;
        EXPECT_EQ(Util::fromUtf16(c.utf16), c.utf8) << c.utf8;
    }
}

TEST(Utf16, InvalidSequencesBecomeTheReplacementCharacter)
{
    EXPECT_EQ(Util::toUtf16("a\xFF" "b"), u"a\uFFFDb");
    EXPECT_EQ(Util::toUtf16("\xC3"), u"\uFFFD");                 // cut short
    EXPECT_EQ(Util::toUtf16("\xC0\x80"), u"\uFFFD");             // overlong
    EXPECT_EQ(Util::toUtf16("\xED\xA0\x80"), u"\uFFFD");         // an encoded surrogate
    EXPECT_EQ(Util::fromUtf16(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
    EXPECT_EQ(Util::fromUtf16(std::u16string{char16_t(0xDC00), u'x'}), "\xEF\xBF\xBDx");
}
