#include <gtest/gtest.h>

#include "ipc/MessageCodec.h"
#include "support/TestEnvironment.h"

#include <climits>
#include <vector>

using IPC::MessageCodec;
using Bytes = std::vector<uint8_t>;

namespace {

Bytes bytesOf(const MessageCodec::Body& body) { return {body.bytes().begin(), body.bytes().end()}; }

// The fixed head of every enumerated body: array of 3, version 2, tag 0x33554630.
Bytes enumHead() { return {0x93, 0x02, 0xCE, 0x33, 0x55, 0x46, 0x30}; }
Bytes unsignedHead() { return {0x94, 0x02, 0xCE, 0x33, 0x55, 0x46, 0x30}; }
Bytes join(Bytes head, const Bytes& tail)
{
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

struct EnumVector {
    int32_t value;
    Bytes packedValue;
};
// Each value in the shortest MessagePack form for it.
const EnumVector enumVectors[] = {
    {1, {0x01}},
    {0, {0x00}},
    {127, {0x7F}},
    {128, {0xCC, 0x80}},
    {255, {0xCC, 0xFF}},
    {256, {0xCD, 0x01, 0x00}},
    {65536, {0xCE, 0x00, 0x01, 0x00, 0x00}},
    {INT32_MAX, {0xCE, 0x7F, 0xFF, 0xFF, 0xFF}},
    {-1, {0xFF}},
    {-32, {0xE0}},
    {-33, {0xD0, 0xDF}},
    {-129, {0xD1, 0xFF, 0x7F}},
    {INT32_MIN, {0xD2, 0x80, 0x00, 0x00, 0x00}},
};

} // namespace

TEST(MessageCodec, EnumeratedValueOneHasTheDocumentedBody)
{
    EXPECT_EQ(bytesOf(MessageCodec::encodeEnumerated(1)),
              (Bytes{0x93, 0x02, 0xCE, 0x33, 0x55, 0x46, 0x30, 0x01}));
    EXPECT_EQ(bytesOf(MessageCodec::encodeReply(true)), (Bytes{0x91, 0xC3}));
    EXPECT_EQ(bytesOf(MessageCodec::encodeReply(false)), (Bytes{0x91, 0xC2}));
}

TEST(MessageCodec, EnumeratedBodiesPackEachValueInItsShortestForm)
{
    for (const auto& v : enumVectors) {
        const Bytes golden = join(enumHead(), v.packedValue);
        EXPECT_EQ(bytesOf(MessageCodec::encodeEnumerated(v.value)), golden) << v.value;
        const auto decoded = MessageCodec::decodeEnumerated(golden);
        EXPECT_TRUE(MessageCodec::belongsToLink(decoded));
        EXPECT_EQ(decoded.value, v.value);
    }
}

TEST(MessageCodec, UnsignedBodiesCarryKindThenValue)
{
    struct Case { int32_t kind; uint32_t value; Bytes tail; };
    const Case cases[] = {
        {0, 20, {0x00, 0x14}},
        {0, 16, {0x00, 0x10}},
        {-1, 0xFFFFFFFFu, {0xFF, 0xCE, 0xFF, 0xFF, 0xFF, 0xFF}},
        {300, 200, {0xCD, 0x01, 0x2C, 0xCC, 0xC8}},
    };
    for (const auto& c : cases) {
        const Bytes golden = join(unsignedHead(), c.tail);
        EXPECT_EQ(bytesOf(MessageCodec::encodeUnsigned(c.kind, c.value)), golden) << c.kind;
        const auto decoded = MessageCodec::decodeUnsigned(golden);
        EXPECT_TRUE(MessageCodec::belongsToLink(decoded));
        EXPECT_EQ(decoded.kind, c.kind);
        EXPECT_EQ(decoded.value, c.value);
    }
}

TEST(MessageCodec, DecodingFillsWhatTheBodyHoldsOverTheDefaults)
{
    // Two elements only: the value keeps its default of -1.
    auto m = MessageCodec::decodeEnumerated(Bytes{0x92, 0x02, 0xCE, 0x33, 0x55, 0x46, 0x30});
    EXPECT_EQ(m.value, -1);
    EXPECT_TRUE(MessageCodec::belongsToLink(m));
    // An empty array keeps every default.
    const auto u = MessageCodec::decodeUnsigned(Bytes{0x90});
    EXPECT_EQ(u.kind, -1);
    EXPECT_EQ(u.value, 0u);
    // Elements beyond the expected ones are ignored.
    m = MessageCodec::decodeEnumerated(Bytes{0x94, 0x02, 0xCE, 0x33, 0x55, 0x46, 0x30, 0x04, 0x05});
    EXPECT_EQ(m.value, 4);
    // A longer form than needed is still the same number.
    m = MessageCodec::decodeEnumerated(join(enumHead(), {0xD2, 0x00, 0x00, 0x00, 0x04}));
    EXPECT_EQ(m.value, 4);
    EXPECT_FALSE(MessageCodec::decodeReply(Bytes{0x90}));
    EXPECT_TRUE(MessageCodec::decodeReply(Bytes{0x91, 0xC3}));
}

TEST(MessageCodec, ForeignVersionOrTagDecodesButDoesNotBelongToTheLink)
{
    const auto version3 = MessageCodec::decodeEnumerated(Bytes{0x93, 0x03, 0xCE, 0x33, 0x55, 0x46, 0x30, 0x04});
    EXPECT_EQ(version3.version, 3u);
    EXPECT_FALSE(MessageCodec::belongsToLink(version3));
    const auto otherTag = MessageCodec::decodeUnsigned(Bytes{0x94, 0x02, 0xCE, 0x33, 0x55, 0x46, 0x31, 0x00, 0x01});
    EXPECT_EQ(otherTag.tag, 0x33554631u);
    EXPECT_FALSE(MessageCodec::belongsToLink(otherTag));
}

TEST(MessageCodec, MalformedBodiesAreRefused)
{
    struct Case { const char* what; Bytes body; };
    const Case cases[] = {
        {"empty", {}},
        {"never-used byte", {0xC1}},
        {"not an array", {0x02}},
        {"a map", {0x81, 0x01, 0x02}},
        {"truncated", {0x93, 0x02, 0xCE, 0x33, 0x55}},
        {"trailing byte", join(join(enumHead(), {0x01}), {0x00})},
        {"text version", {0x93, 0xA1, 0x32, 0xCE, 0x33, 0x55, 0x46, 0x30, 0x01}},
        {"negative version", {0x93, 0xFF, 0xCE, 0x33, 0x55, 0x46, 0x30, 0x01}},
        {"value above i32", join(enumHead(), {0xCE, 0x80, 0x00, 0x00, 0x00})},
        {"float value", join(enumHead(), {0xCA, 0x3F, 0x80, 0x00, 0x00})},
        {"nested array value", join(enumHead(), {0x91, 0x01})},
        {"huge array header", {0xDD, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"deep nesting", Bytes(64, 0x91)},
    };
    for (const auto& c : cases) {
        EXPECT_THROW(MessageCodec::decodeEnumerated(c.body), MessageCodec::MalformedBody) << c.what;
        EXPECT_THROW(MessageCodec::decodeUnsigned(c.body), MessageCodec::MalformedBody) << c.what;
    }
    EXPECT_THROW(MessageCodec::decodeReply(Bytes{0x91, 0x01}), MessageCodec::MalformedBody);
    EXPECT_THROW(MessageCodec::decodeReply(Bytes{0xC3}), MessageCodec::MalformedBody);
}

TEST(MessageCodec, EncodingNeverTouchesTheHeap)
{
    const auto before = TestSupport::threadAllocationCount();
    size_t total = 0;
    for (int32_t v = -300; v < 300; ++v)
        total += MessageCodec::encodeEnumerated(v).bytes().size() + MessageCodec::encodeUnsigned(v, v).bytes().size();
    total += MessageCodec::encodeReply(true).bytes().size();
    EXPECT_EQ(TestSupport::threadAllocationCount(), before);
    EXPECT_GT(total, 0u);
}
