#include <gtest/gtest.h>

#include "product/PluginFactoryImpl.h"
#include "core/HistoryFile.h"
#include "core/InvalidHistoryFile.h"
#include "product/PluginDefinitionImpl.h"
#include "support/TestEnvironment.h"
#include "io/ByteStream.h"
#include "io/DataStreamIO.h"
#include "util/Log.h"

#include <cstring>
#include <fstream>

namespace {

struct Owner final : Util::HistoryDelegate {
    uint32_t word = 77;
    std::vector<uint8_t> state{1, 2, 3};
    uint32_t historyWord() const override { return word; }
    std::vector<uint8_t> historyState() override { return state; }
};

// History file bytes, little-endian, written by hand.
struct FileBytes {
    std::vector<uint8_t> bytes;
    FileBytes& u32(uint32_t v) { return raw(&v, 4); }
    FileBytes& u64(uint64_t v) { return raw(&v, 8); }
    FileBytes& text(const std::string& s) { u32(uint32_t(s.size())); return raw(s.data(), s.size()); }
    FileBytes& raw(const void* p, size_t n)
    {
        const auto* b = static_cast<const uint8_t*>(p);
        bytes.insert(bytes.end(), b, b + n);
        return *this;
    }
    FileBytes& snapshot(const std::vector<uint8_t>& data, const std::string& label)
    {
        u32(81232).u64(data.size());
        return raw(data.data(), data.size()).text(label);
    }
};

Util::History readBytes(const std::vector<uint8_t>& bytes, Owner& owner)
{
    Util::History history;
    Util::ByteStream in(bytes.size(), bytes.data());
    Util::HistoryFile::read(history, owner, in);
    return history;
}

} // namespace

TEST(HistoryFile, RoundTripsSnapshotsAndMarkers)
{
    Owner owner;
    Util::History history;
    history.add({{9, 8, 7}, "first"});
    history.add({{}, "empty"});
    history.add({std::vector<uint8_t>(5000, 0x5A), "large"});
    history.setMarker(0, 2);
    history.setMarker(9, 0);
    Util::ByteStream out;
    Util::HistoryFile::write(history, owner.word, out);

    // The layout is the documented one: magic, word, snapshots, then markers.
    const auto expected = FileBytes()
                              .u32(3891293).u32(77)
                              .snapshot({9, 8, 7}, "first").snapshot({}, "empty")
                              .snapshot(std::vector<uint8_t>(5000, 0x5A), "large")
                              .u32(17711).u32(0).u32(2).u32(17711).u32(9).u32(0)
                              .bytes;
    EXPECT_EQ(out.GetBuffer(), expected);

    const auto back = readBytes(out.GetBuffer(), owner);
    EXPECT_EQ(back.snapshots(), history.snapshots());
    EXPECT_EQ(back.marker(0), 2u);
    EXPECT_EQ(back.marker(9), 0u);
    EXPECT_FALSE(back.marker(1).has_value());
}

TEST(HistoryFile, DamagedFilesFailWithTheirMessages)
{
    const auto head = FileBytes().u32(3891293).u32(77);
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        std::string message;
    };
    const Case cases[] = {
        {"wrong magic", FileBytes().u32(3891292).u32(77).bytes, "Invalid magic number 3891292"},
        {"unknown tag", FileBytes(head).snapshot({1}, "a").u32(4242).bytes, "Encountered unknown tag 4242 at byte 26"},
        {"slot equal to the slot count", FileBytes(head).u32(17711).u32(10).u32(0).bytes,
         "Encountered invalid snapshot index 10 at byte 8"},
    };
    for (const auto& c : cases) {
        Owner owner;
        try {
            readBytes(c.bytes, owner);
            ADD_FAILURE() << c.name << ": no exception";
        } catch (const Exception::InvalidHistoryFile& e) {
            EXPECT_EQ(e.message(), c.message) << c.name;
            EXPECT_GT(e.sourceLine(), 0);
        }
    }
}

TEST(HistoryFile, ResetsInsteadOfUsingAForeignOrEmptyOrOversizedHistory)
{
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"only magic and word", FileBytes().u32(3891293).u32(77).bytes},
        {"another owner's word", FileBytes().u32(3891293).u32(78).snapshot({4}, "x").bytes},
        {"a snapshot of 1000000001 bytes", FileBytes().u32(3891293).u32(77).snapshot({4}, "kept?")
                                               .u32(81232).u64(1000000001).bytes},
        {"markers only", FileBytes().u32(3891293).u32(77).u32(17711).u32(1).u32(0).bytes},
    };
    for (const auto& c : cases) {
        Owner owner;
        const auto history = readBytes(c.bytes, owner);
        ASSERT_EQ(history.snapshots().size(), 1u) << c.name;
        EXPECT_EQ(history.snapshots()[0].text, "<Initial State>") << c.name;
        EXPECT_EQ(history.snapshots()[0].bytes, owner.state) << c.name;
        EXPECT_FALSE(history.marker(1).has_value()) << c.name;
    }
}

TEST(HistoryFile, TruncatedRecordsNeverAllocateWhatTheFileCannotHold)
{
    Owner owner;
    const auto full = FileBytes().u32(3891293).u32(77).snapshot(std::vector<uint8_t>(64, 1), "label").bytes;
    for (size_t cut = 9; cut < full.size(); ++cut) {
        const std::vector<uint8_t> truncated(full.begin(), full.begin() + long(cut));
        EXPECT_THROW(readBytes(truncated, owner), Util::Exception::DataStreamIO) << "cut at " << cut;
    }
    // A length far beyond the file but below the cap is refused before any allocation.
    const auto claim = FileBytes().u32(3891293).u32(77).u32(81232).u64(999999999).bytes;
    const auto before = TestSupport::threadAllocationCount();
    EXPECT_THROW(readBytes(claim, owner), Util::Exception::DataStreamIO);
    EXPECT_LT(TestSupport::threadAllocationCount() - before, 20u);
}

TEST(HistoryFile, TheInstanceFileLivesUnderTheUserDataFolderAndSurvivesDamage)
{
    const std::string path = Util::HistoryFile::pathFor(TWRelay::PluginDefinitionImpl());
    EXPECT_EQ(path, TestSupport::sandboxFolder() + "/.local/share/Quillex/VO6Relay/QxVO6Relay.hst");

    Owner owner;
    Util::History history;
    history.add({{5, 5}, "edit"});
    ASSERT_TRUE(Util::HistoryFile::save(history, owner.word, path));
    Util::History loaded;
    Util::HistoryFile::load(loaded, owner, path);
    EXPECT_EQ(loaded.snapshots(), history.snapshots());

    std::ofstream(path, std::ios::binary | std::ios::trunc) << "garbage!";
    Util::Log::Capture log;
    Util::HistoryFile::load(loaded, owner, path); // must not throw
    ASSERT_EQ(loaded.snapshots().size(), 1u);
    EXPECT_EQ(loaded.snapshots()[0].text, "<Initial State>");
    EXPECT_TRUE(log.contains("Invalid magic number"));
}

#include "TestWrapper.h"
#include <filesystem>

TEST(HistoryFile, TheInstanceRestoresItsHistoryAtCreationAndSavesItWhenDestroyed)
{
    const std::string path = Util::HistoryFile::pathFor(TWRelay::PluginDefinitionImpl());
    std::filesystem::remove(path);
    TestWrapper wrapper;
    {
        Plugin fresh(wrapper.creation(), PluginFactoryImpl::product());
        ASSERT_EQ(fresh.history().snapshots().size(), 1u);
        EXPECT_EQ(fresh.history().snapshots()[0].text, "<Initial State>");
    }
    ASSERT_TRUE(std::filesystem::exists(path));

    // A history of this product's version is taken as it is.
    Util::History saved;
    saved.add({{1}, "first edit"});
    saved.add({{2}, "second edit"});
    ASSERT_TRUE(Util::HistoryFile::save(saved, 6100, path));
    {
        Plugin reopened(wrapper.creation(), PluginFactoryImpl::product());
        EXPECT_EQ(reopened.history().snapshots(), saved.snapshots());
    }
    // One of another version is not.
    ASSERT_TRUE(Util::HistoryFile::save(saved, 5000, path));
    Plugin other(wrapper.creation(), PluginFactoryImpl::product());
    ASSERT_EQ(other.history().snapshots().size(), 1u);
    EXPECT_EQ(other.history().snapshots()[0].text, "<Initial State>");
}
