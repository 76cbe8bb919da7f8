#include <gtest/gtest.h>

#include "TestWrapper.h"
#include "core/PluginCoreCallback.h"
#include "core/RecordView.h"

#include <stdexcept>
#include <thread>

namespace {

PluginCore* create(TestWrapper& wrapper)
{
    void* created = nullptr;
    std::vector<uint8_t> record(3120, 0);
    RecordView r(record.data());
    r.setU64(0, reinterpret_cast<uintptr_t>(&TestWrapper::callback));
    r.setU64(8, reinterpret_cast<uintptr_t>(&wrapper));
    r.setText(16, 2048, "Lock Test");
    r.setU64(3096, reinterpret_cast<uintptr_t>(&created));
    r.setF32(3104, 48000.0f);
    r.setU32(3108, 1);
    EXPECT_EQ(EntryDispatcher::dispatch(1079, 1, 0, nullptr, record.data()), 0);
    return static_cast<PluginCore*>(created);
}

} // namespace

// Activation (selector 5) calls the wrapper back (reverse 18) while the section
// named by the lock index is held; a throwing wrapper must not leave it held.
TEST(EntryLocks, TheNamedSectionIsHeldDuringTheCallAndReleasedAfterAnException)
{
    for (uint32_t index : {0u, 1u}) {
        TestWrapper wrapper;
        PluginCore* plugin = create(wrapper);
        ASSERT_NE(plugin, nullptr);
        auto& held = plugin->threadController().section(index);
        auto& other = plugin->threadController().section(1 - index);
        EXPECT_EQ(held.name(), index == 0 ? "Lock Test Processing CritSec" : "Lock Test UI CritSec");

        bool heldDuring = false, otherFreeDuring = false;
        wrapper.during = [&](uint32_t selector) {
            if (selector != 18)
                return;
            heldDuring = !anotherThreadCanEnter(held);
            otherFreeDuring = anotherThreadCanEnter(other);
        };
        EXPECT_EQ(EntryDispatcher::dispatch(1079, 5, index, plugin, nullptr), 0);
        EXPECT_TRUE(heldDuring) << index;
        EXPECT_TRUE(otherFreeDuring) << index;
        EXPECT_TRUE(anotherThreadCanEnter(held));

        wrapper.during = [](uint32_t selector) {
            if (selector == 18)
                throw std::runtime_error("wrapper failed");
        };
        EXPECT_THROW(EntryDispatcher::dispatch(1079, 5, index, plugin, nullptr), std::runtime_error);
        EXPECT_TRUE(anotherThreadCanEnter(held)) << "left held after an exception, index " << index;
        wrapper.during = nullptr;
        EXPECT_EQ(EntryDispatcher::dispatch(1079, 7, index, plugin, nullptr), 0);
    }
}

TEST(EntryLocks, UncheckedSelectorsTakeTheUiSectionOnlyForIndexOne)
{
    TestWrapper wrapper;
    PluginCore* plugin = create(wrapper);
    // Selector 24 accepts any index. Holding the section an index must NOT take,
    // the call still completes.
    for (uint32_t index : {0u, 1u, 7u}) {
        auto& notTaken = index == 1 ? plugin->threadController().processing() : plugin->threadController().userInterface();
        notTaken.enter();
        int32_t status = -1;
        std::thread([&] {
            uint32_t word = 5;
            status = EntryDispatcher::dispatch(1079, 24, index, plugin, &word);
        }).join();
        notTaken.leave();
        EXPECT_EQ(status, 0) << index;
    }
    EntryDispatcher::dispatch(1079, 7, 0, plugin, nullptr);
}
