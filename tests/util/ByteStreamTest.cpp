#include <gtest/gtest.h>

#include "io/ByteStream.h"
#include "io/DataStreamIO.h"

#include <cmath>
#include <limits>

using Util::ByteStream;
using Bytes = std::vector<uint8_t>;

namespace {

// Runs `action` and returns the message of the DataStreamIO it throws.
template <typename Action>
std::string streamError(Action&& action)
{
    try {
        action();
    } catch (const Util::Exception::DataStreamIO& e) {
        return e.message();
    }
    return "(no exception)";
}

// One value of every kind, written in slot order.
void writeEveryKind(Util::DataStream& s)
{
    s.WriteDouble(-2.5e300);
    s.WriteFloat(3.25f);
    s.WriteULong(0xDEADBEEFu);
    s.WriteLong(-123456789);
    s.WriteUInt64(0x0123456789ABCDEFull);
    s.WriteInt64(std::numeric_limits<int64_t>::min());
    s.WriteUInt(4000000000u);
    s.WriteInt(-2);
    s.WriteUInt16(0xBEEF);
    s.WriteInt16(-32768);
    s.WriteUInt8(0xFE);
    s.WriteInt8(-128);
    s.WriteChar('q');
    s.WriteBool(true);
    s.WriteString("h\xC3\xA9llo");
}

void expectEveryKind(Util::DataStream& s)
{
    double d = 0;
    s.ReadDouble(d);
    EXPECT_EQ(d, -2.5e300);
    EXPECT_EQ(s.ReadFloat(), 3.25f);
    uint32_t ul = 0;
    s.ReadULong(ul);
    EXPECT_EQ(ul, 0xDEADBEEFu);
    EXPECT_EQ(s.ReadLong(), -123456789);
    EXPECT_EQ(s.ReadUInt64(), 0x0123456789ABCDEFull);
    int64_t i64 = 0;
    s.ReadInt64(i64);
    EXPECT_EQ(i64, std::numeric_limits<int64_t>::min());
    EXPECT_EQ(s.ReadUInt(), 4000000000u);
    EXPECT_EQ(s.ReadInt(), -2);
    EXPECT_EQ(s.ReadUInt16(), 0xBEEF);
    int16_t i16 = 0;
    s.ReadInt16(i16);
    EXPECT_EQ(i16, -32768);
    EXPECT_EQ(s.ReadUInt8(), 0xFE);
    EXPECT_EQ(s.ReadInt8(), -128);
    EXPECT_EQ(s.ReadChar(), 'q');
    EXPECT_TRUE(s.ReadBool());
    std::string text;
    s.ReadString(text);
    EXPECT_EQ(text, "h\xC3\xA9llo");
    EXPECT_TRUE(s.AtEnd());
}

} // namespace

TEST(ByteStream, EveryKindRoundTripsInBothByteOrders)
{
    for (uint32_t order : {0u, 1u, 2u}) {
        ByteStream s;
        s.SetByteOrder(order);
        writeEveryKind(s);
        EXPECT_EQ(s.GetSize(), 8u + 4 + 4 + 4 + 8 + 8 + 4 + 4 + 2 + 2 + 1 + 1 + 1 + 1 + 4 + 6);
        s.Seek(0);
        expectEveryKind(s);
    }
}

TEST(ByteStream, ByteOrderTwoReversesEveryMultiByteValue)
{
    struct Case {
        uint32_t order;
        void (*write)(ByteStream&);
        Bytes expected;
    };
    const Case cases[] = {
        {0, [](ByteStream& s) { s.WriteUInt(1); }, {1, 0, 0, 0}},
        {1, [](ByteStream& s) { s.WriteUInt(1); }, {1, 0, 0, 0}},
        {2, [](ByteStream& s) { s.WriteUInt(1); }, {0, 0, 0, 1}},
        {7, [](ByteStream& s) { s.WriteLong(1); }, {0, 0, 0, 1}},
        {2, [](ByteStream& s) { s.WriteUInt16(0x0102); }, {1, 2}},
        {2, [](ByteStream& s) { s.WriteUInt64(0x0102030405060708ull); }, {1, 2, 3, 4, 5, 6, 7, 8}},
        {2, [](ByteStream& s) { s.WriteFloat(1.0f); }, {0x3F, 0x80, 0, 0}},
        {0, [](ByteStream& s) { s.WriteFloat(1.0f); }, {0, 0, 0x80, 0x3F}},
        {2, [](ByteStream& s) { s.WriteDouble(1.0); }, {0x3F, 0xF0, 0, 0, 0, 0, 0, 0}},
        {2, [](ByteStream& s) { s.WriteUInt8(0xAB); }, {0xAB}},
        {2, [](ByteStream& s) { s.Write(3, "abc"); }, {'a', 'b', 'c'}},
        {2, [](ByteStream& s) { s.WriteString("ab"); }, {0, 0, 0, 2, 'a', 'b'}},
    };
    for (const auto& c : cases) {
        ByteStream s;
        s.SetByteOrder(c.order);
        c.write(s);
        EXPECT_EQ(s.GetBuffer(), c.expected) << "order " << c.order << " size " << c.expected.size();
    }
}

TEST(ByteStream, StringsCarryTheirCountOnlyWhileThePrefixFlagIsSet)
{
    ByteStream with;
    EXPECT_TRUE(with.GetLengthPrefix());
    with.WriteString("abc");
    EXPECT_EQ(with.GetBuffer(), (Bytes{3, 0, 0, 0, 'a', 'b', 'c'}));

    ByteStream without;
    without.SetLengthPrefix(false);
    without.WriteString("abc");
    without.WriteString("");
    EXPECT_EQ(without.GetBuffer(), (Bytes{'a', 'b', 'c'}));

    // The count is read whatever the flag says.
    with.Seek(0);
    with.SetLengthPrefix(false);
    EXPECT_EQ([&] { std::string t; with.ReadString(t); return t; }(), "abc");
}

TEST(ByteStream, ReadsPastTheEndFailWithTheirMessagesAndChangeNothing)
{
    ByteStream s(3, "\x01\x02\x03");
    uint32_t value = 77;
    EXPECT_EQ(streamError([&] { s.ReadUInt(value); }), "Can't extract 4 bytes at position 0, total size 3");
    EXPECT_EQ(value, 77u);
    EXPECT_EQ(s.GetPosition(), 0u);

    s.Seek(2);
    EXPECT_EQ(streamError([&] { s.ReadUInt16(); }), "Can't extract 2 bytes at position 2, total size 3");
    char raw[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(streamError([&] { s.Read(2, raw); }), "Can't read 2 bytes");
    EXPECT_EQ(raw[0], 'x');
    Bytes two(2);
    EXPECT_EQ(streamError([&] { s.ReadBytes(two); }), "Can't read 2 bytes");
    EXPECT_EQ(s.GetPosition(), 2u);
    EXPECT_EQ(s.ReadUInt8(), 3);
    EXPECT_TRUE(s.AtEnd());
    EXPECT_EQ(s.GetBytesRemaining(), 0u);
}

TEST(ByteStream, StringLengthsAreCheckedBeforeAnyTextIsRead)
{
    struct Case {
        uint32_t count;
        size_t bytesPresent;
        std::string expected;
    };
    const Case cases[] = {
        {200001, 200001, "Improbable string length 200001"},
        {0xFFFFFFFF, 0, "Improbable string length 4294967295"},
        {200000, 200000, ""},
        {10, 9, "Can't read string of length 10"},
    };
    for (const auto& c : cases) {
        ByteStream s;
        s.WriteUInt(c.count);
        s.Write(c.bytesPresent, std::string(c.bytesPresent, 'z').data());
        s.Seek(0);
        std::string text = "kept";
        const std::string error = streamError([&] { s.ReadString(text); });
        if (c.expected.empty()) {
            EXPECT_EQ(error, "(no exception)");
            EXPECT_EQ(text.size(), c.count);
        } else {
            EXPECT_EQ(error, c.expected);
            EXPECT_EQ(text, "kept");
            EXPECT_EQ(s.GetPosition(), 0u);
        }
    }
}

TEST(ByteStream, WritingBeyondTheEndGrowsTheBufferAndOverwritingDoesNot)
{
    ByteStream s;
    s.Seek(6);
    s.WriteUInt16(0x0201);
    EXPECT_EQ(s.GetBuffer(), (Bytes{0, 0, 0, 0, 0, 0, 1, 2}));
    s.Seek(1);
    s.WriteUInt8(9);
    EXPECT_EQ(s.GetBuffer(), (Bytes{0, 9, 0, 0, 0, 0, 1, 2}));
    s.Skip(3);
    EXPECT_EQ(s.GetPosition(), 5u);
    s.Skip(-5);
    EXPECT_EQ(s.GetPosition(), 0u);
}

TEST(ByteStream, AnyNonZeroByteReadsAsTrue)
{
    ByteStream s(3, "\x00\x02\xFF");
    EXPECT_FALSE(s.ReadBool());
    EXPECT_TRUE(s.ReadBool());
    bool b = false;
    s.ReadBool(b);
    EXPECT_TRUE(b);
}

TEST(ByteStream, FailuresNameTheirSource)
{
    ByteStream s;
    try {
        s.ReadInt();
        FAIL() << "no exception";
    } catch (const Exception::Base& e) {
        const auto* io = dynamic_cast<const Util::Exception::DataStreamIO*>(&e);
        ASSERT_NE(io, nullptr);
        EXPECT_STREQ(io->sourceName(), "bytestream");
        EXPECT_GT(io->sourceLine(), 0);
    }
}
