#pragma once
#include "console/ProductCommands.h"
#include "core/Plugin.h"
#include "core/TestElements.h"
#include "core/TestWrapper.h"
#include "platform/Clipboard.h"
#include "support/RecordingMessageBox.h"

#include "dsp/DSPSetImpl.h"
#include "dsp/Element.h"
#include "io/ConfigFile.h"

#include <map>
#include <string>
#include <vector>

// The live design settings absent from the settings store while it lives and
// after: a test that reads or changes them starts from a fresh store's state
// and leaves one, whatever ran before it in the process.
struct FreshDesignSettings {
    FreshDesignSettings() { clear(); }
    ~FreshDesignSettings() { clear(); }
    static void clear()
    {
        Util::ConfigFile maker("SOFTWARE/Quillex");
        maker.RemoveValue("RuntimeDesignEnable");
        maker.RemoveValue("PreventRuntimeDesign");
    }
};

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
    // The product's clipboard (installed when the instance was made) and the
    // notices of an enclosing fixture go back.
    ~ConsoleFixture()
    {
        Platform::installClipboard(&productClipboard);
        Platform::installMessageBox(&previousBox);
    }
    ConsoleFixture(const ConsoleFixture&) = delete;
    ConsoleFixture& operator=(const ConsoleFixture&) = delete;

    // Every element parameter's value ("element/parameter"), read from the elements themselves.
    std::map<std::string, float> elementValues()
    {
        std::map<std::string, float> values;
        for (const auto& [name, element] : plugin.elementSet().dspSet()->GetElements())
            for (uint32_t index = 0; index < element->GetParameterCount(); ++index)
                values[name + "/" + element->GetParameterDeclaration(index)->name] =
                    DSP::ParamDeclaration::ToFloat(*element->GetParameterValue(index));
        return values;
    }

    // Runs a line and answers the last notice it showed (empty when none).
    Notice run(const std::string& line)
    {
        box.shown.clear();
        plugin.consoleCommands().run(line);
        return box.shown.empty() ? Notice{} : box.shown.back();
    }

    // Hands `count` stereo blocks of `frames` silent frames to `instance`'s block pass.
    static void processBlocks(Plugin& instance, int count, uint64_t frames)
    {
        std::vector<float> left(frames), right(frames);
        float* channels[2] = {left.data(), right.data()};
        CoreRecords::Process block;
        block.frameCount = frames;
        block.channels = channels;
        for (int i = 0; i < count; ++i)
            instance.processBlock(block);
    }

    Platform::MessageBox& previousBox = Platform::messageBox();
    TestSupport::RecordingMessageBox box;
    RecordingClipboard clipboard;
    TestWrapper wrapper;
    TestElementFactory factory;
    Plugin plugin{wrapper.creation(), factory};
    Platform::Clipboard& productClipboard = Platform::clipboard();
};
