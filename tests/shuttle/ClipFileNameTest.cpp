#include <gtest/gtest.h>

#include "shuttle/ClipFileName.h"
#include "shuttle/HostSets.h"

using Shuttle::ClipFileName;

TEST(ClipFileName, ComposesTheNamesTheEditorPairs)
{
    EXPECT_EQ(ClipFileName::compose(ClipFileName::hostPart(2), 2, "captured"), "Pro Tools 2 [tw-relay] 2 captured.wav");
    EXPECT_EQ(ClipFileName::compose(ClipFileName::hostPart(11), 1, "captured", 1),
              "Wavelab 1 (1) [tw-relay] 1 captured.wav");
    EXPECT_EQ(ClipFileName::compose(ClipFileName::hostPart(36), 1, "reference"), "Clip 1 [tw-relay] 1 reference.wav");
}

TEST(ClipFileName, ReadsClipNumbersBack)
{
    const std::pair<const char*, std::optional<uint64_t>> cases[] = {
        {"/shuttle/Pro Tools 10 [tw-relay] 10 repaired.wav", 10},
        {"Wavelab 1 (3) [tw-relay] 1 captured.wav", 1},
        {"Cubase 7 [tw-relay] 7 ready.wav", 7},
        {"Clip 12 [tw-relay] 12 reference.wav", 12},
        // "captured" is looked for before "repaired": an editor name holding both is numbered by it.
        {"X 5 [tw-relay] 5 captured repaired.wav", 5},
        {"X 9 [tw-relay] 9 repaired (edited).wav", 9},
        {"no marker 3 captured.wav", std::nullopt},
        {"X 1 [tw-relay] one repaired.wav", std::nullopt},
        {"X 1 [tw-relay] repaired.wav", std::nullopt},
    };
    for (const auto& [name, expected] : cases)
        EXPECT_EQ(ClipFileName::clipNumber(name), expected) << name;
}

TEST(ClipFileName, TellsRepairedAndKeptFiles)
{
    EXPECT_TRUE(ClipFileName::isRepaired("Live 1 [tw-relay] 1 repaired.wav"));
    EXPECT_FALSE(ClipFileName::isRepaired("Live 1 repaired.wav"));
    EXPECT_TRUE(ClipFileName::survivesFolderCleaning("A 1 [tw-relay] 1 reference.wav"));
    EXPECT_TRUE(ClipFileName::survivesFolderCleaning("A 1 [tw-relay] 1 ready.wav"));
    EXPECT_FALSE(ClipFileName::survivesFolderCleaning("A 1 [tw-relay] 1 captured.wav"));
    EXPECT_FALSE(ClipFileName::survivesFolderCleaning("reference notes.txt"));
}

TEST(HostSets, NuendoClosesPlaybackOnStopFromVersionEightPointOne)
{
    using Shuttle::HostSets;
    EXPECT_FALSE(HostSets::stopClosesPlayback(6, std::nullopt));
    EXPECT_FALSE(HostSets::stopClosesPlayback(6, HostVersion{8, 0, 9}));
    EXPECT_TRUE(HostSets::stopClosesPlayback(6, HostVersion{8, 1, 0}));
    EXPECT_TRUE(HostSets::stopClosesPlayback(6, HostVersion{10, 0, 0}));
    EXPECT_TRUE(HostSets::stopClosesPlayback(2, std::nullopt));
    EXPECT_FALSE(HostSets::stopClosesPlayback(5, HostVersion{12, 0, 0}));
    // Unsupported: known rows whose supported flag is clear; the unknown host is not.
    EXPECT_TRUE(HostSets::unsupported(0));
    EXPECT_FALSE(HostSets::unsupported(36));
    EXPECT_FALSE(HostSets::unsupported(2));
    EXPECT_FALSE(HostSets::unsupported(40));
}
