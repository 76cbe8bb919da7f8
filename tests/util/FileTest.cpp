#include <gtest/gtest.h>

#include "support/TestEnvironment.h"
#include "io/DataStreamIO.h"
#include "util/ErrorVariant.h"
#include "io/File.h"
#include "io/FileStream.h"

#include <cerrno>
#include <fstream>
#include <iterator>

using Util::File;

namespace {

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeAll(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

template <typename Action>
std::string streamError(Action&& action)
{
    try {
        action();
    } catch (const Util::Exception::DataStreamIO& e) {
        EXPECT_STREQ(e.sourceName(), "filestream");
        return e.message();
    }
    return "(no exception)";
}

} // namespace

TEST(File, OpenFlagsSelectTheRuntimeMode)
{
    struct Case {
        uint32_t flags;
        const char* mode;
    };
    const Case cases[] = {
        {0x04, "wb"},        {0x14, "ab"},        {0x10, "ab"},        {0x02, "rb"},  {0x00, "rb"},
        {0x02 | 0x04, "r+b"}, {0x02 | 0x14, "a+b"}, {0x22 | 0x04, "w+b"}, {0x08, "w+b"}, {0x0A, "r+b"},
        {0x08 | 0x10, "w+b"}, {0x02 | 0x44, "r+t"}, {0x44, "wt"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(File::ModeString(c.flags), c.mode) << std::hex << c.flags;
}

TEST(File, ReadAndWriteModesBehaveAsTheirModeSays)
{
    const std::string path = TestSupport::makeTempFolder() + "/modes.bin";
    writeAll(path, "0123456789");
    {
        File f(path);
        ASSERT_TRUE(f.Open(File::kRead | File::kWrite).ok()); // "r+": keeps the content
        ASSERT_TRUE(f.Seek(2).ok());
        ASSERT_TRUE(f.Write("ab", 2).ok());
        char next[2];
        ASSERT_TRUE(f.Read(next, 2).ok()); // a read right after a write
        EXPECT_EQ(std::string(next, 2), "45");
        ASSERT_TRUE(f.Write("z", 1).ok()); // and a write right after a read
        EXPECT_EQ(f.GetSize().value(), 10u);
        EXPECT_EQ(f.GetBytesRemaining().value(), 3u);
    }
    EXPECT_EQ(readAll(path), "01ab45z789");
    {
        File f(path);
        ASSERT_TRUE(f.Open(File::kAppend).ok());
        ASSERT_TRUE(f.Write("!", 1).ok());
    }
    EXPECT_EQ(readAll(path), "01ab45z789!");
    {
        File f(path);
        ASSERT_TRUE(f.Open(File::kWrite).ok());
        EXPECT_EQ(f.GetSize().value(), 0u);
    }
    EXPECT_EQ(readAll(path), "");
}

TEST(File, FailuresCarryTheirMessagesAndThePath)
{
    const std::string folder = TestSupport::makeTempFolder();
    const std::string path = folder + "/short.bin";
    writeAll(path, "abc");

    File closed(path);
    char buffer[8];
    EXPECT_EQ(closed.Read(buffer, 4).error().Message(), "Attempt to read 4 bytes when not open");
    EXPECT_EQ(closed.Write(buffer, 5).error().Message(), "Attempt to write 5 bytes when not open");
    EXPECT_EQ(closed.Seek(12).error().Message(), "Attempt to seek to 12 when not open");
    EXPECT_EQ(closed.GetSize().error().Message(), "Could not get the number of bytes remaining");
    EXPECT_TRUE(closed.AtEnd());

    File shortFile(path);
    ASSERT_TRUE(shortFile.Open(File::kRead).ok());
    const auto shortRead = shortFile.Read(buffer, 8);
    ASSERT_FALSE(shortRead.ok());
    EXPECT_EQ(shortRead.error().Message(), "Attempt to read 8 bytes, only read 3 bytes");
    EXPECT_EQ(shortRead.error().Category(), "File");
    EXPECT_EQ(shortRead.error().Code(), 2u);
    EXPECT_EQ(shortRead.error().GetPath(), path);
    const auto badWrite = shortFile.Write("x", 1); // opened for reading only
    ASSERT_FALSE(badWrite.ok());
    EXPECT_EQ(badWrite.error().Message(), "Attempt to write 1 bytes, only wrote 0 bytes");
    EXPECT_EQ(shortFile.Seek(~0ull).error().Message(), "Seek to 18446744073709551615 failed");

    File missing(folder + "/no/such/file.wav");
    const auto opened = missing.Open(File::kRead);
    ASSERT_FALSE(opened.ok());
    EXPECT_EQ(opened.error().Message(), "Error opening file");
    EXPECT_TRUE(opened.error().HasErrorNumber());
    EXPECT_EQ(opened.error().GetErrorNumber(), ENOENT);
    const std::string description = opened.error().Description();
    EXPECT_NE(description.find("File error 2: Error opening file"), std::string::npos) << description;
    EXPECT_NE(description.find(folder + "/no/such/file.wav"), std::string::npos) << description;
    EXPECT_EQ(missing.Remove().error().Message(), "Remove failed");
    EXPECT_EQ(missing.GetFileTime().error().Message(), "Error getting file time");
}

TEST(File, RemoveClosesAndDeletes)
{
    const std::string path = TestSupport::makeTempFolder() + "/gone.bin";
    File f(path);
    ASSERT_TRUE(f.Open(File::kWrite).ok());
    EXPECT_TRUE(f.GetFileTime().ok());
    ASSERT_TRUE(f.Remove().ok());
    EXPECT_FALSE(f.IsOpen());
    EXPECT_FALSE(std::ifstream(path).good());
}

TEST(File, ErrorVariantsForwardToTheErrorTheyHold)
{
    struct Other : Util::BasicError<Other> {
        Other() : BasicError("Other", 9, "other message") {}
    };
    using Variant = Util::ErrorVariant<Other, File::Error>;
    const Variant fileError = File::Error("Close failed", "/x.wav", 5);
    EXPECT_TRUE(fileError.Is<File::Error>());
    EXPECT_FALSE(fileError.Is<Other>());
    EXPECT_EQ(fileError.Category(), "File");
    EXPECT_EQ(fileError.Message(), "Close failed");
    ASSERT_EQ(fileError.Context().size(), 2u);
    EXPECT_EQ(fileError.Context()[0], (Util::ErrorContextEntry{"path", "/x.wav"}));
    EXPECT_EQ(fileError.As<File::Error>().GetErrorNumber(), 5);
    const Variant other = Other();
    EXPECT_EQ(other.Code(), 9u);
    EXPECT_EQ(other.Description(), "Other error 9: other message");
}

TEST(FileStream, EveryKindRoundTripsThroughAFileInBothByteOrders)
{
    const std::string folder = TestSupport::makeTempFolder();
    for (uint32_t order : {0u, 2u}) {
        const std::string path = folder + "/kinds" + std::to_string(order);
        {
            Util::FileStream out(path, File::kWrite);
            out.SetByteOrder(order);
            out.WriteUInt(0x01020304);
            out.WriteString("abc");
            out.WriteBytes({9, 8});
            out.Write(2, "xy");
        }
        const std::string expected = order == 2 ? std::string("\x01\x02\x03\x04\0\0\0\x03" "abc\x09\x08xy", 15)
                                                : std::string("\x04\x03\x02\x01\x03\0\0\0" "abc\x09\x08xy", 15);
        EXPECT_EQ(readAll(path), expected);

        Util::FileStream in(path, File::kRead);
        in.SetByteOrder(order);
        EXPECT_EQ(in.GetSize(), 15u);
        EXPECT_EQ(in.ReadUInt(), 0x01020304u);
        std::string text;
        in.ReadString(text);
        EXPECT_EQ(text, "abc");
        std::vector<uint8_t> two(2);
        in.ReadBytes(two);
        EXPECT_EQ(two, (std::vector<uint8_t>{9, 8}));
        EXPECT_EQ(in.GetPosition(), 13u);
        EXPECT_EQ(in.GetBytesRemaining(), 2u);
        in.Skip(2);
        EXPECT_TRUE(in.AtEnd());
    }
}

TEST(FileStream, FailuresBecomeStreamExceptionsWithTheFileErrorInside)
{
    const std::string folder = TestSupport::makeTempFolder();
    const std::string path = folder + "/two.bin";
    writeAll(path, std::string("\x05\0", 2));

    EXPECT_EQ(streamError([&] { Util::FileStream(folder + "/none/x", File::kRead); })
                  .rfind("Can't open file: File error 2: Error opening file", 0),
              0u);

    Util::FileStream in(path, File::kRead);
    const std::string typed = streamError([&] { in.ReadUInt(); });
    EXPECT_EQ(typed.rfind("Can't extract unsigned int: File error 2: Attempt to read 4 bytes, only read 2 bytes", 0), 0u)
        << typed;
    in.Seek(0);
    std::vector<uint8_t> three(3);
    EXPECT_EQ(streamError([&] { in.ReadBytes(three); }).rfind("Can't extract 3 bytes: File error 2: Attempt to read 3", 0),
              0u);
    in.Seek(0);
    char raw[3];
    EXPECT_EQ(streamError([&] { in.Read(3, raw); }).rfind("Can't read 3 bytes: File error 2:", 0), 0u);
    in.Seek(0);
    EXPECT_EQ(streamError([&] { std::string t; in.ReadString(t); }).rfind("Can't extract string: File error 2:", 0), 0u);
    EXPECT_EQ(streamError([&] { in.WriteInt(-7); }).rfind("Can't insert -7: File error 2: Attempt to write 4", 0), 0u);
    EXPECT_EQ(streamError([&] { in.WriteString("abc"); }).rfind("Can't insert abc: ", 0), 0u);
    EXPECT_EQ(streamError([&] { in.WriteBytes({1, 2}); }).rfind("Can't insert 2 bytes: ", 0), 0u);
    EXPECT_EQ(streamError([&] { in.Write(2, "ab"); }).rfind("Can't write 2 bytes: ", 0), 0u);
    EXPECT_EQ(streamError([&] { in.Seek(~0ull); }).rfind("Can't seek to 18446744073709551615: File error 2: Seek to", 0),
              0u);

    const std::string big = folder + "/big.bin";
    writeAll(big, std::string("\x41\x0D\x03\x00", 4) + "abc"); // 200001
    Util::FileStream improbable(big, File::kRead);
    EXPECT_EQ(streamError([&] { std::string t; improbable.ReadString(t); }), "Improbable string length 200001");
}
