#include <gtest/gtest.h>

#include "TestElements.h"
#include "TestWrapper.h"
#include "core/RecordView.h"
#include "shuttle/TransformBase.h"

// What the wrapper hands to the element set through the entry protocol.

TEST(ElementSetCalls, SettingsCodeTwoHandsItsThreeValuesToTheElementSet)
{
    TestWrapper wrapper;
    Plugin plugin(wrapper.creation(), PluginFactoryImpl::product());
    const auto& set = dynamic_cast<DSP::TransformBase&>(plugin.elementSet()).GetDSPSet();
    const int target = 0;
    struct Case {
        uint64_t pointer;
        uint64_t word;
        uint32_t flag;
    };
    const Case cases[] = {
        {reinterpret_cast<uintptr_t>(&target), 0x0123456789ABCDEFull, 1},
        {0, 5, 0},
        {reinterpret_cast<uintptr_t>(&wrapper), 0xFFFFFFFF00000000ull, 0x100}, // any nonzero word is a set flag
    };
    for (const auto& c : cases) {
        uint8_t record[328] = {};
        const RecordView r(record);
        r.setU32(0, 2);
        r.setU64(280, c.pointer);
        r.setU64(288, c.word);
        r.setU32(296, c.flag);
        EXPECT_EQ(Entry::call(plugin, 37, 1, record), 0);
        const auto given = set.GetHostContext();
        EXPECT_EQ(given.pointer, c.pointer);
        EXPECT_EQ(given.word, c.word);
        EXPECT_EQ(given.flag, c.flag != 0);
    }
}

TEST(ElementSetCalls, ClosingTheEditorRunsEveryElementsClosingStepFirst)
{
    TestWrapper wrapper;
    TestElementFactory factory;
    std::vector<std::string> order;
    factory.makeEditor = [&] {
        auto editor = std::make_unique<StubEditor>();
        editor->onClose = [&] { order.push_back("editor"); };
        return editor;
    };
    Plugin plugin(wrapper.creation(), factory);
    auto mix = std::dynamic_pointer_cast<MixElement>(plugin.elementSet().dspSet()->FindElement(MixElement::Name));
    ASSERT_NE(mix, nullptr);
    mix->onEditorClosing = [&] { order.push_back("element"); };

    uint8_t record[76] = {};
    const RecordView r(record);
    r.setU32(0, 0);
    ASSERT_EQ(Entry::call(plugin, 28, 1, record), 0);
    ASSERT_NE(plugin.editor(), nullptr);
    r.setU32(0, 1);
    EXPECT_EQ(Entry::call(plugin, 28, 1, record), 0);
    EXPECT_EQ(order, (std::vector<std::string>{"element", "editor"}));
    EXPECT_EQ(plugin.editor(), nullptr);
}
