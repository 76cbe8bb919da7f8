#include <gtest/gtest.h>

#include "LoadedPlugin.h"

#include <zlib.h>

TEST(StateChunkThroughTheLibrary, TheShuttleStateSurvivesIntoAFreshInstance)
{
    LoadedPlugin plugin;
    std::vector<uint8_t> chunk;
    {
        Wrapper saved(plugin);
        saved.create();
        const uint32_t state = secondListIndex(plugin, saved.instance, "Shuttle State");
        Bytes set(8);
        set.put<uint32_t>(0, state);
        set.put<float>(4, 3.0f);
        ASSERT_EQ(plugin(15, 1, saved.instance, *set), 0);

        Bytes record(40);
        ASSERT_EQ(plugin(31, 1, saved.instance, *record), 0);
        chunk.resize(record.get<uint32_t>(8));
        record.put<uint32_t>(0, 2);
        record.putPointer(16, chunk.data());
        ASSERT_EQ(plugin(31, 1, saved.instance, *record), 0);
        ASSERT_EQ(record.get<uint8_t>(4), 0);
    }
    // The chunk is the stated length word and one zlib stream, whatever reads it.
    uint32_t length = 0;
    std::memcpy(&length, chunk.data(), 4);
    std::string text(length, '\0');
    uLongf produced = length;
    ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(text.data()), &produced, chunk.data() + 4, uLong(chunk.size() - 4)),
              Z_OK);
    EXPECT_NE(text.find("\"Shuttle State\""), std::string::npos);

    Wrapper fresh(plugin);
    fresh.create();
    const uint32_t state = secondListIndex(plugin, fresh.instance, "Shuttle State");
    EXPECT_EQ(secondValue(plugin, fresh.instance, state), 0.0f);
    Bytes record(40);
    record.put<uint32_t>(0, 4);
    record.put<uint32_t>(8, uint32_t(chunk.size()));
    record.putPointer(16, chunk.data());
    ASSERT_EQ(plugin(31, 1, fresh.instance, *record), 0);
    EXPECT_EQ(record.get<uint8_t>(4), 0);
    EXPECT_EQ(record.get<uint32_t>(32), 1u);
    EXPECT_EQ(secondValue(plugin, fresh.instance, state), 3.0f);

    // A damaged copy is refused and changes nothing.
    auto damaged = chunk;
    damaged[damaged.size() / 2] ^= 0x5A;
    record.put<uint32_t>(0, 3);
    record.putPointer(16, damaged.data());
    ASSERT_EQ(plugin(31, 1, fresh.instance, *record), 0);
    EXPECT_EQ(record.get<uint8_t>(4), 1);
    EXPECT_EQ(secondValue(plugin, fresh.instance, state), 3.0f);
}
