#include <gtest/gtest.h>

#include "core/StateChunk.h"
#include "support/TestEnvironment.h"
#include "util/Base64.h"
#include "util/TypedDictionaryJson.h"

#include <json/json.h>
#include <zlib.h>

using Util::TypedDictionary;
using Util::TypedDictionaryJson;
using Util::TypedValue;

namespace {

TypedDictionary everyType()
{
    TypedDictionary inner;
    inner.set("Gain", TypedValue::fromFloat(-3.25));
    inner.set("Shuttle State", TypedValue::fromUInt(3));
    TypedDictionary d;
    d.set("Major Version", TypedValue::fromUInt(1));
    d.set("Offset", TypedValue::fromInt(-9000000000LL));
    d.set("Ratio", TypedValue::fromFloat(0.1));
    d.set("Flag", TypedValue::fromBool(true));
    d.set("Name", TypedValue::fromString("Pro Tools 1 [tw-relay] 1 captured.wav \"quoted\" \xC3\xA9"));
    d.set("Blob", TypedValue::fromBytes({0, 1, 2, 253, 254, 255, 7}));
    d.set("Empty Blob", TypedValue::fromBytes({}));
    d.set("DSP State", TypedValue::fromDictionary(inner));
    d.set("List", TypedValue::fromArray({TypedValue::fromUInt(1), TypedValue::fromString("two"),
                                         TypedValue::fromDictionary(inner)}));
    return d;
}

// Packs `text` with a length word of our choosing.
std::vector<uint8_t> chunkWithLength(const std::string& text, uint32_t lengthWord)
{
    auto chunk = StateChunk::pack(text);
    std::memcpy(chunk.data(), &lengthWord, 4);
    return chunk;
}

} // namespace

TEST(TypedDictionary, EveryTypeSurvivesTheJsonText)
{
    const auto d = everyType();
    const auto text = TypedDictionaryJson::write(d);
    const auto back = TypedDictionaryJson::read(text);
    ASSERT_TRUE(back.has_value()) << text;
    EXPECT_TRUE(*back == d);
    // The text is the library's indented form, members in key order, each typed.
    Json::Value root;
    ASSERT_TRUE(Json::Reader().parse(text, root));
    EXPECT_EQ(root["Blob"]["Type"].asString(), "Base64");
    EXPECT_EQ(root["Blob"]["Value"].asString(), "AAEC/f7/Bw==");
    EXPECT_EQ(root["Offset"]["Value"].asInt64(), -9000000000LL);
    EXPECT_NE(text.find("\n\t\"Blob\""), std::string::npos);
    EXPECT_LT(text.find("\"Blob\""), text.find("\"DSP State\""));
}

TEST(TypedDictionary, TextsThatAreNotTypedDictionariesAreRefused)
{
    const char* const texts[] = {
        "",
        "not json",
        "[1, 2]",
        R"({"A": {"Type": "UInt"}})",
        R"({"A": {"Value": 1}})",
        R"({"A": {"Type": "Complex", "Value": 1}})",
        R"({"A": {"Type": "UInt", "Value": -1}})",
        R"({"A": {"Type": "Bool", "Value": "yes"}})",
        R"({"A": {"Type": "Base64", "Value": "abc"}})",
        R"({"A": {"Type": "Dictionary", "Value": {"B": {"Type": "Int"}}}})",
        R"({"A": {"Type": "Array", "Value": [{"Type": "Int", "Value": 1}, 2]}})",
        R"({"A": 5})",
    };
    for (const char* text : texts)
        EXPECT_FALSE(TypedDictionaryJson::read(text).has_value()) << text;
    EXPECT_TRUE(TypedDictionaryJson::read("{}").has_value());
}

TEST(StateChunk, PacksTheTextLengthThenOneZlibStream)
{
    const std::string text = TypedDictionaryJson::write(everyType());
    const auto chunk = StateChunk::pack(text);
    uint32_t length;
    std::memcpy(&length, chunk.data(), 4);
    EXPECT_EQ(length, text.size());
    // zlib itself reads the stream back.
    std::string inflated(text.size(), '\0');
    uLongf produced = uLongf(inflated.size());
    ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(inflated.data()), &produced, chunk.data() + 4, uLong(chunk.size() - 4)),
              Z_OK);
    EXPECT_EQ(inflated, text);
    EXPECT_EQ(StateChunk::unpack(chunk.data(), chunk.size()), text);
}

TEST(StateChunk, BadChunksAreRefusedWithoutLargeAllocations)
{
    const std::string text(5000, 'x');
    auto truncated = StateChunk::pack(text);
    truncated.resize(truncated.size() / 2);
    std::vector<uint8_t> garbage = {16, 0, 0, 0, 'n', 'o', 't', ' ', 'z', 'l', 'i', 'b'};
    const struct {
        const char* name;
        std::vector<uint8_t> chunk;
        bool refusedBeforeAllocating;
    } cases[] = {
        {"empty", {}, true},
        {"length word only", {5, 0, 0, 0}, true},
        {"not zlib", garbage, false},
        {"truncated stream", truncated, false},
        {"length word smaller than the text", chunkWithLength(text, 4999), false},
        {"length word larger than the text", chunkWithLength(text, 5001), false},
        {"length word of 4 GiB", chunkWithLength(text, 0xFFFFFFFFu), true},
        {"length word far beyond what the stream can expand to", chunkWithLength(text, 50000000), true},
    };
    for (const auto& c : cases) {
        const auto before = TestSupport::threadAllocationCount();
        EXPECT_FALSE(StateChunk::unpack(c.chunk.data(), c.chunk.size()).has_value()) << c.name;
        if (c.refusedBeforeAllocating) {
            EXPECT_EQ(TestSupport::threadAllocationCount(), before) << c.name;
        }
    }
}

TEST(Base64, RoundTripsEveryLengthAndRejectsBrokenText)
{
    for (size_t n = 0; n < 10; ++n) {
        std::vector<uint8_t> bytes(n);
        for (size_t i = 0; i < n; ++i)
            bytes[i] = uint8_t(i * 97 + 13);
        EXPECT_EQ(Util::Base64::decode(Util::Base64::encode(bytes)), bytes) << n;
    }
    EXPECT_EQ(Util::Base64::encode({'M', 'a', 'n'}), "TWFu");
    for (const char* bad : {"TWF", "TW=u", "T===", "TWFu=", "TW!u", "=AAA"})
        EXPECT_FALSE(Util::Base64::decode(bad).has_value()) << bad;
}
