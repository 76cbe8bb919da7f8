#include <gtest/gtest.h>

#include "TestWrapper.h"
#include "core/EntryBarrier.h"
#include "util/Log.h"

#include <cstring>
#include <functional>
#include <stdexcept>
#include <thread>

namespace {

// The product's factory, except that no editor window can be made: making one throws.
class NoWindowFactory final : public PluginFactory {
public:
    const PluginDefinition& definition(const HostContext& context) const override
    {
        return PluginFactory::instance().definition(context);
    }
    std::unique_ptr<PluginEditor> createMainWindow(Plugin&) override { throw std::runtime_error("no window today"); }
    std::unique_ptr<ElementSet> createElementSet(Plugin&) override { return std::make_unique<RecordingElementSet>(); }
    PluginCore* createPlugin(const CoreRecords::Creation& creation) override { return new Plugin(creation, *this); }
    std::unique_ptr<Context::ContextBase> createContext(Plugin& plugin) override
    {
        return PluginFactory::instance().createContext(plugin);
    }
};

} // namespace

// Whatever an operation throws stays inside: the call answers its selector's
// error status, the log says why, and the section the call held is free again.
TEST(EntryBarrier, AThrowingOperationAnswersItsSelectorsErrorAndLogsTheReason)
{
    struct Case {
        const char* what;
        uint32_t selector;
        uint32_t lockIndex;
        uint32_t firstWord; // of the record
        std::function<void()> throwInReverseCall18;
        int32_t expected;
        const char* logged;
    };
    const Case cases[] = {
        {"activation, a standard exception", 5, 0, 0, [] { throw std::runtime_error("wrapper gone"); }, 6,
         "Selector 5 failed: wrapper gone"},
        {"activation, anything else", 5, 1, 0, [] { throw 42; }, 6,
         "Selector 5 failed: an exception of unknown type"},
        {"opening the editor", 28, 1, 0, nullptr, 7, "Selector 28 failed: no window today"},
    };
    NoWindowFactory factory;
    for (const auto& c : cases) {
        TestWrapper wrapper;
        auto* plugin = factory.createPlugin(wrapper.creation());
        wrapper.during = [&](uint32_t selector) {
            if (selector == 18 && c.throwInReverseCall18)
                c.throwInReverseCall18();
        };
        uint8_t record[128] = {};
        std::memcpy(record, &c.firstWord, 4);
        Util::Log::Capture log;
        EXPECT_EQ(EntryBarrier::call(EntryProtocol::ProtocolNumber, c.selector, c.lockIndex, plugin, record), c.expected)
            << c.what;
        EXPECT_TRUE(log.contains(c.logged)) << c.what;
        EXPECT_TRUE(anotherThreadCanEnter(plugin->threadController().section(c.lockIndex))) << c.what;
        wrapper.during = nullptr;
        EXPECT_EQ(EntryBarrier::call(EntryProtocol::ProtocolNumber, 7, 0, plugin, nullptr), 0);
    }
}

TEST(EntryBarrier, CallsThatDoNotThrowAnswerAsTheDispatcherDoes)
{
    TestWrapper wrapper;
    NoWindowFactory factory;
    auto* plugin = factory.createPlugin(wrapper.creation());
    uint32_t word = 0;
    EXPECT_EQ(EntryBarrier::call(1078, 18, 0, plugin, &word), 1);
    EXPECT_EQ(EntryBarrier::call(EntryProtocol::ProtocolNumber, 18, 2, plugin, &word), 2);
    EXPECT_EQ(EntryBarrier::call(EntryProtocol::ProtocolNumber, 5, 0, plugin, nullptr), 0);
    EXPECT_EQ(EntryBarrier::call(EntryProtocol::ProtocolNumber, 7, 0, plugin, nullptr), 0);
}
