#include <gtest/gtest.h>

#include "platform/posix/X11Clipboard.h"
#include "support/SelectionReaders.h"
#include "support/TestDisplay.h"

#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

namespace {

using TestSupport::selectionReaders;

class X11ClipboardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!TestSupport::TestDisplay::readyForWindows())
            return;
        board = std::make_unique<Platform::Posix::X11Clipboard>();
    }
    std::unique_ptr<Platform::Posix::X11Clipboard> board;
};

TEST_F(X11ClipboardTest, AnyClientReadsTheTextInEachTextTarget)
{
    const std::string text = "TW 6 Relay\tv1.1 WIN64.VST3\nhost\t\xC3\xA9t\xC3\xA9 \xE2\x82\xAC\n";
    board->setText(text);
    ASSERT_TRUE(board->ownsSelection());

    const struct {
        const char* target;
        std::string expected;
    } cases[] = {
        {"UTF8_STRING", text},
        {"text/plain;charset=utf-8", text},
        // Latin-1: e-acute is one byte, the euro sign has no place there.
        {"STRING", "TW 6 Relay\tv1.1 WIN64.VST3\nhost\t\xE9t\xE9 ?\n"},
    };
    for (const auto& reader : selectionReaders()) {
        SCOPED_TRACE(reader.name);
        for (const auto& c : cases) {
            const auto read = reader.read(c.target);
            EXPECT_EQ(read.status, 0) << c.target;
            EXPECT_EQ(read.text, c.expected) << c.target;
        }
        const auto targets = reader.read("TARGETS");
        for (const char* offered : {"TARGETS", "UTF8_STRING", "text/plain;charset=utf-8", "STRING"})
            EXPECT_NE(targets.text.find(offered), std::string::npos) << offered << " in " << targets.text;
    }
}

TEST_F(X11ClipboardTest, TheLastTextIsTheOneServed)
{
    board->setText("first");
    board->setText("second, longer");
    for (const auto& reader : selectionReaders())
        EXPECT_EQ(reader.read("UTF8_STRING").text, "second, longer") << reader.name;
    EXPECT_EQ(board->text(), "second, longer");
}

// Beyond the server's largest request, with the big-requests extension too:
// the text goes out in pieces and must arrive whole, in order.
TEST_F(X11ClipboardTest, ATextLargerThanTheLargestRequestArrivesWhole)
{
    Display* display = TestSupport::TestDisplay::connection();
    const size_t largestRequest = size_t(std::max(XExtendedMaxRequestSize(display), XMaxRequestSize(display))) * 4;
    std::string text;
    for (int line = 0; text.size() < largestRequest + 4096; ++line)
        text += "line " + std::to_string(line) + "\tparam\t0.5\t\xC3\xA9\n";
    board->setText(text);
    for (const auto& reader : selectionReaders()) {
        const auto read = reader.read("UTF8_STRING");
        EXPECT_EQ(read.status, 0) << reader.name;
        ASSERT_EQ(read.text.size(), text.size()) << reader.name;
        EXPECT_TRUE(read.text == text) << reader.name;
    }
}

TEST_F(X11ClipboardTest, AnotherOwnerTakesTheSelectionAwayUntilTheNextText)
{
    board->setText("ours");
    ASSERT_TRUE(board->ownsSelection());
    Platform::Posix::X11Clipboard other;
    other.setText("theirs");
    const auto reader = selectionReaders().front(); // xclip
    EXPECT_EQ(reader.read("UTF8_STRING").text, "theirs");
    // The server tells the first owner; wait for it (bounded for a loaded machine).
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (board->ownsSelection() && std::chrono::steady_clock::now() < until)
        std::this_thread::yield();
    EXPECT_FALSE(board->ownsSelection());
    board->setText("ours again");
    EXPECT_EQ(reader.read("UTF8_STRING").text, "ours again");
}

} // namespace
