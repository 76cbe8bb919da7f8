#include <gtest/gtest.h>

#include "platform/posix/X11Clipboard.h"
#include "support/TestDisplay.h"

#include <X11/Xlib.h>

#include <algorithm>

#include <chrono>
#include <cstdio>
#include <thread>
#include <memory>
#include <string>

namespace {

// What an independent X client (GTK's clipboard, in a process of its own) reads
// from the CLIPBOARD selection in the given target; its exit status beside it.
struct Read {
    std::string text;
    int status = -1;
};

Read readSelection(const std::string& target)
{
    const std::string command = "NO_AT_BRIDGE=1 timeout 60 '" RELAY_CLIPBOARD_READER "' '" + target + "'";
    Read read;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe)
        return read;
    char buffer[65536];
    size_t got = 0;
    while ((got = fread(buffer, 1, sizeof buffer, pipe.get())) > 0)
        read.text.append(buffer, got);
    read.status = pclose(pipe.release());
    return read;
}

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
    for (const auto& c : cases) {
        const Read read = readSelection(c.target);
        EXPECT_EQ(read.status, 0) << c.target;
        EXPECT_EQ(read.text, c.expected) << c.target;
    }
    const Read targets = readSelection("TARGETS");
    for (const char* offered : {"TARGETS", "UTF8_STRING", "text/plain;charset=utf-8", "STRING"})
        EXPECT_NE(targets.text.find(offered), std::string::npos) << offered << " in " << targets.text;
}

TEST_F(X11ClipboardTest, TheLastTextIsTheOneServed)
{
    board->setText("first");
    board->setText("second, longer");
    EXPECT_EQ(readSelection("UTF8_STRING").text, "second, longer");
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
    const Read read = readSelection("UTF8_STRING");
    EXPECT_EQ(read.status, 0);
    ASSERT_EQ(read.text.size(), text.size());
    EXPECT_TRUE(read.text == text);
}

TEST_F(X11ClipboardTest, AnotherOwnerTakesTheSelectionAwayUntilTheNextText)
{
    board->setText("ours");
    ASSERT_TRUE(board->ownsSelection());
    Platform::Posix::X11Clipboard other;
    other.setText("theirs");
    EXPECT_EQ(readSelection("UTF8_STRING").text, "theirs");
    // The server tells the first owner; wait for it (bounded for a loaded machine).
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (board->ownsSelection() && std::chrono::steady_clock::now() < until)
        std::this_thread::yield();
    EXPECT_FALSE(board->ownsSelection());
    board->setText("ours again");
    EXPECT_EQ(readSelection("UTF8_STRING").text, "ours again");
}

} // namespace
