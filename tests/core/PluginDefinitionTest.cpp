#include <gtest/gtest.h>

#include "product/PluginFactoryImpl.h"
#include "TestWrapper.h"
#include "core/HostVersion.h"
#include "product/PluginDefinitionImpl.h"
#include "core/PluginInformation.h"
#include "core/RecordView.h"
#include "platform/ProcessInfo.h"

#include <vector>

namespace {

// Switch F5 of the information record for a host context block whose second
// text (the host application's version, as our wrappers fill it) is `blockVersion`,
// with `remembered` the version an earlier instance learned from reverse call 13.
uint32_t hostVersionSwitchFor(const char* processName, const char* blockVersion, std::optional<HostVersion> remembered)
{
    Platform::overrideHostProcessFileName(processName);
    HostVersion::forget();
    if (remembered)
        HostVersion::remember(*remembered);
    HostContext context;
    context.setField(0, processName);
    context.setField(1, blockVersion);
    std::vector<uint8_t> record(PluginInformation::RecordSize, 0);
    PluginInformation::fill(TWRelay::PluginDefinitionImpl(), context, record.data());
    Platform::overrideHostProcessFileName("");
    HostVersion::forget();
    return RecordView(record.data()).u32(6428);
}

} // namespace

// The version in the host context block comes first; a block without one
// falls back to the version remembered from reverse call 13.
TEST(PluginDefinition, TheHostVersionSwitchIsOffOnlyUnderHostTwoAbove11_3_0)
{
    struct Case {
        const char* process;
        const char* blockVersion;
        std::optional<HostVersion> remembered;
        uint32_t expected;
    };
    const Case cases[] = {
        {"Pro Tools", "11.2.9", std::nullopt, 1},  {"Pro Tools", "11.3.0", std::nullopt, 1},
        {"Pro Tools", "11.3.1", std::nullopt, 0},  {"Pro Tools", "12.0.0", std::nullopt, 0},
        {"Pro Tools", "10.9.99", std::nullopt, 1}, {"Pro Tools", "11.4", std::nullopt, 0},
        {"Pro Tools", "", std::nullopt, 1}, // version unknown
        {"Cubase", "12.0.0", std::nullopt, 1},
        {"Pro Tools", "11.3.0", HostVersion{11, 3, 1}, 1},
        {"Pro Tools", "11.3.1", HostVersion{11, 3, 0}, 0},
        {"Pro Tools", "", HostVersion{11, 3, 1}, 0},        // a wrapper that leaves the text empty
        {"Pro Tools", "unknown", HostVersion{11, 3, 1}, 0}, // or puts no version there
        {"Pro Tools", "", HostVersion{11, 3, 0}, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(hostVersionSwitchFor(c.process, c.blockVersion, c.remembered), c.expected)
            << c.process << " \"" << c.blockVersion << "\" remembered " << c.remembered.has_value();
}

TEST(PluginDefinition, TheHostVersionComesFromReverseCallThirteen)
{
    struct Case {
        const char* text;
        float figure;
        uint32_t major, minor, patch;
    };
    const Case cases[] = {
        {"Pro Tools 11.3.1", 0.0f, 11, 3, 1},
        {"Pro Tools", 12.5f, 12, 5, 0},
        {"Host v2 build 12.0.4 (x64)", 0.0f, 12, 0, 4},
    };
    for (const auto& c : cases) {
        HostVersion::forget();
        TestWrapper wrapper;
        wrapper.hostText = c.text;
        wrapper.hostVersion = c.figure;
        Plugin plugin(wrapper.creation(), PluginFactoryImpl::product());
        const auto v = HostVersion::remembered();
        ASSERT_TRUE(v.has_value()) << c.text;
        EXPECT_EQ(v->major, c.major) << c.text;
        EXPECT_EQ(v->minor, c.minor) << c.text;
        EXPECT_EQ(v->patch, c.patch) << c.text;
        EXPECT_EQ(plugin.hostApplicationName(), c.text);
    }
    HostVersion::forget();
}

TEST(PluginDefinition, LongTextsAreCutToTheFieldLessOneByte)
{
    struct LongName : PluginDefinitionCommon {
        Text productName(const HostContext&) const override { return {1, std::string(70, 'N')}; }
        Text productIdentifier(const HostContext&) const override { return {1, "id"}; }
        Text productLongName(const HostContext&) const override { return {1, "0123456789"}; }
        Text versionText() const override { return {1, "1"}; }
        uint32_t versionNumber() const override { return 1; }
        uint32_t buildNumber() const override { return 1; }
        uint32_t productNumber() const override { return 1; }
        Util::String productFourCC(const HostContext&) const override { return "abcd"; }
        Text productNames(const HostContext&) const override { return {}; }
        Util::String secondProductFourCC(const HostContext&) const override { return "efgh"; }
        Text textH1(const HostContext&) const override { return {}; }
        Text textH2(const HostContext&) const override { return {}; }
        Util::String shortProductIdentifier() const override { return "id"; }
        Util::String plainProductName() const override { return "n"; }
    };
    std::vector<uint8_t> record(PluginInformation::RecordSize, 0xAA);
    PluginInformation::fill(LongName(), HostContext{}, record.data());
    const RecordView r(record.data());
    EXPECT_EQ(r.text(640, 64), std::string(63, 'N'));
    EXPECT_EQ(record[640 + 63], 0);
    EXPECT_EQ(r.text(6664, 64), std::string(63, 'N')); // the third copy too
    EXPECT_EQ(record[704 + 10], 0);                    // the long name is short and ends early
}

TEST(PluginDefinition, TheVersionLineNamesTheFormat)
{
    TestWrapper wrapper;
    auto creation = wrapper.creation();
    creation.hostContext.setFormatIdentifier(11);
    Plugin plugin(creation, PluginFactoryImpl::product());
    EXPECT_EQ(plugin.versionLine(), "v6.10.2340WIN64.VST3");
    creation.hostContext.setFormatIdentifier(12);
    Plugin unknown(creation, PluginFactoryImpl::product());
    EXPECT_EQ(unknown.versionLine(), "v6.10.2340WIN64.");
}
