#include <gtest/gtest.h>

#include "platform/CriticalSection.h"
#include "support/FakeClock.h"
#include "util/Text.h"

#include <cstring>
#include <thread>

TEST(FakeClock, ReplacesTheSystemTickWhileItLives)
{
    {
        Platform::FakeClock fake(5000);
        EXPECT_EQ(Platform::tickCount(), 5000u);
        fake.advance(2500);
        EXPECT_EQ(Platform::tickCount(), 7500u);
    }
    // The system clock is back: two readings a moment apart never go backwards by much.
    const uint32_t a = Platform::tickCount();
    const uint32_t b = Platform::tickCount();
    EXPECT_LE(uint32_t(b - a), 1000u);
}

TEST(Text, PlaceholdersAreReplacedInOrderWithDecimalNumbers)
{
    struct Case { const char* pattern; std::string expected; };
    const Case cases[] = {
        {"%1 Processing CritSec", "Relay 1 Processing CritSec"},
        {"%2-%1", "42-Relay 1"},
        {"%1%1", "Relay 1Relay 1"},
        {"100% sure, %3 stays", "100% sure, %3 stays"},
        {"%10 is not %1 followed by 0", "%10 is not Relay 1 followed by 0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Util::format(c.pattern, "Relay 1", 42), c.expected) << c.pattern;
    EXPECT_EQ(Util::format("%1->%1", 3u), "3->3");
    EXPECT_EQ(Util::format("%1", -7), "-7");
}

TEST(Text, FixedFieldsAreCutToSizeLessOneAndTerminated)
{
    char field[8];
    std::memset(field, 'x', sizeof field);
    Util::copyTextField(field, sizeof field, "TW 6 Relay");
    EXPECT_STREQ(field, "TW 6 Re");
    Util::copyTextField(field, sizeof field, "ab");
    EXPECT_STREQ(field, "ab");
    for (size_t i = 2; i < sizeof field; ++i)
        EXPECT_EQ(field[i], '\0');
}

TEST(CriticalSection, IsRecursiveForItsOwnerAndExclusiveForOthers)
{
    Platform::CriticalSection cs("Relay Processing CritSec");
    cs.enter();
    EXPECT_TRUE(cs.tryEnter()); // re-entrant
    bool otherGotIt = true;
    std::thread([&] { otherGotIt = cs.tryEnter(); if (otherGotIt) cs.leave(); }).join();
    EXPECT_FALSE(otherGotIt);
    cs.leave();
    cs.leave();
    std::thread([&] { otherGotIt = cs.tryEnter(); if (otherGotIt) cs.leave(); }).join();
    EXPECT_TRUE(otherGotIt);
}
