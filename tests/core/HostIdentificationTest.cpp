#include <gtest/gtest.h>

#include "core/HostIdentification.h"
#include "core/HostTable.h"

TEST(HostIdentification, TrickyNamesTakeTheFirstMatchingRow)
{
    struct Case {
        const char* fileName;
        uint32_t core;
        uint32_t shuttle;
    };
    const Case cases[] = {
        {"Logic Pro X", 17, 17}, // "logic"+"pro" comes before "logic"+"express"
        {"Logic Express", 18, 18},
        {"Pro Tools.exe", 2, 2},
        {"ProTools", 2, 2}, // words need not be separated
        {"Premiere Pro.exe", 15, 15},
        {"TW 6 Verov Edodod.exe", 35, 36}, // "tw" is a word of the core's list only
        {"Studio One.exe", 36, 35},
        {"StudioApp", 36, 35},
        {"PluginHooksSA", 31, 31},
        {"SAHook", 31, 36}, // the shuttle knows only "pluginhookssa"
        {"xctest", 34, 36},
        {"MyUnit Tests Runner", 34, 34},
        {"Samplitude Pro X", 25, 25},
        {"DP8", 0, 0},
        {"Ableton Live 11", 20, 20},
        {"REAPER", 24, 24},
        {"something else", 36, 36},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HostIdentification::coreHostNumber(c.fileName), c.core) << c.fileName;
        EXPECT_EQ(HostIdentification::shuttleHostNumber(c.fileName), c.shuttle) << c.fileName;
    }
}

TEST(HostTable, RowsBeyondTheTableHaveNoFlags)
{
    EXPECT_EQ(HostTable::name(35), "Studio One");
    EXPECT_EQ(HostTable::name(2), "Pro Tools");
    EXPECT_TRUE(HostTable::supported(34));
    EXPECT_TRUE(HostTable::recommend(13) && HostTable::gate(13));
    const auto beyond = HostTable::row(37);
    EXPECT_FALSE(beyond.supported || beyond.recommend || beyond.gate);
}
