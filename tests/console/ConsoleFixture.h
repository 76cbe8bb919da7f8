#pragma once
#include "console/ProductCommands.h"
#include "core/Plugin.h"
#include "core/TestElements.h"
#include "core/TestWrapper.h"
#include "platform/Clipboard.h"
#include "support/RecordingMessageBox.h"

#include <string>
#include <vector>

// An instance with the product's console commands, whose notices and
// clipboard texts the test reads.
struct ConsoleFixture {
    using Notice = TestSupport::Notice;
    struct RecordingClipboard final : Platform::Clipboard {
        std::vector<std::string> texts;
        void setText(const Util::String& utf8) override { texts.push_back(utf8); }
        Util::String text() const override { return texts.empty() ? Util::String() : texts.back(); }
    };

    // With `recordClipboard` false the installed clipboard (the product's) stays.
    explicit ConsoleFixture(bool recordClipboard = true)
    {
        Platform::installMessageBox(&box);
        if (recordClipboard)
            Platform::installClipboard(&clipboard);
        ConsoleCommand::ProductCommands::registerAll(plugin.consoleCommands(), plugin);
    }
    // The product's clipboard (installed when the instance was made) goes back.
    ~ConsoleFixture()
    {
        Platform::installClipboard(&productClipboard);
        Platform::installMessageBox(nullptr);
    }
    ConsoleFixture(const ConsoleFixture&) = delete;
    ConsoleFixture& operator=(const ConsoleFixture&) = delete;

    // Runs a line and answers the last notice it showed (empty when none).
    Notice run(const std::string& line)
    {
        box.shown.clear();
        plugin.consoleCommands().run(line);
        return box.shown.empty() ? Notice{} : box.shown.back();
    }

    TestSupport::RecordingMessageBox box;
    RecordingClipboard clipboard;
    TestWrapper wrapper;
    TestElementFactory factory;
    Plugin plugin{wrapper.creation(), factory};
    Platform::Clipboard& productClipboard = Platform::clipboard();
};
