#include <gtest/gtest.h>

#include "param/BoolParamConfigFile.h"
#include "param/ControllerSet.h"
#include "param/FloatParamConfigFile.h"
#include "param/FloatParamMemory.h"
#include "param/PersistentBoolParam.h"
#include "param/PersistentEnumParam.h"
#include "param/PersistentFloatParam.h"
#include "param/StringParamConfigFile.h"
#include "io/ConfigFile.h"

#include <memory>

namespace {

std::shared_ptr<Util::ConfigFile> settings(const std::string& path = "SOFTWARE/Quillex/TW6Relay/Tests")
{
    return std::make_shared<Util::ConfigFile>(path);
}

} // namespace

TEST(ControllerParams, MemoryParametersStartAtTheirDefaultAndReportConstrainedValues)
{
    Controller::FloatParamMemory gain("Gain", -60.0f, 12.0f, -6.0f);
    std::vector<float> told;
    gain.changed.connect([&](float v) { told.push_back(v); });
    EXPECT_EQ(gain.GetValue(), -6.0f);
    gain.SetValue(40.0f);
    EXPECT_EQ(gain.GetValue(), 12.0f);
    gain.ResetToDefault();
    EXPECT_EQ(told, (std::vector<float>{12.0f, -6.0f}));
}

TEST(ControllerParams, ConfigFileParametersLiveInTheSettingsStore)
{
    const auto config = settings();
    for (const char* name : {"Shuttle Folder", "Reference Clip", "Level"})
        config->RemoveValue(name); // a run before in this process stored them
    {
        Controller::StringParamConfigFile folder("Shuttle Folder", config, "/default");
        Controller::BoolParamConfigFile reference("Reference Clip", config, true);
        Controller::FloatParamConfigFile level("Level", config, 0.0f, 1.0f, 0.25f);
        EXPECT_EQ(folder.GetValue(), "/default"); // nothing stored yet
        EXPECT_TRUE(reference.GetValue());
        EXPECT_EQ(level.GetValue(), 0.25f);
        folder.SetValue("/home/user/clips");
        reference.SetValue(false);
        level.SetValue(3.0f);
    }
    // Another configuration object on the same path reads what they stored
    // (the level constrained first), as does a parameter made anew.
    const auto other = settings("SOFTWARE\\Quillex\\TW6Relay\\Tests");
    EXPECT_EQ(other->GetString("Shuttle Folder", ""), "/home/user/clips");
    EXPECT_FALSE(other->GetBool("Reference Clip", true));
    EXPECT_EQ(other->GetFloat("Level", 0.0f), 1.0f);
    Controller::BoolParamConfigFile again("Reference Clip", other, true);
    EXPECT_FALSE(again.GetValue());
    // A string parameter has a default but no range.
    static_assert(!Controller::StringParam::Ranged);
}

TEST(ControllerParams, PersistentParametersShareTheirValueAndOutliveEachOther)
{
    Controller::PersistentParamsHolder holder;
    auto first = std::make_unique<Controller::PersistentFloatParam>(holder, "Meter Decay", 0.0f, 10.0f, 2.0f);
    auto second = std::make_unique<Controller::PersistentFloatParam>(holder, "Meter Decay", 0.0f, 10.0f, 2.0f);
    EXPECT_EQ(holder.GetLiveCount("Meter Decay"), 2u);
    first->SetValue(7.5f);
    EXPECT_EQ(second->GetValue(), 7.5f);

    second.reset();
    EXPECT_EQ(holder.GetLiveCount("Meter Decay"), 1u);
    first->SetValue(4.0f); // must not reach the destroyed one
    first.reset();
    EXPECT_EQ(holder.GetLiveCount("Meter Decay"), 0u);

    const Controller::PersistentFloatParam later(holder, "Meter Decay", 0.0f, 10.0f, 2.0f);
    EXPECT_EQ(later.GetValue(), 4.0f);
    // A value of another type under the name is not taken.
    const Controller::PersistentBoolParam clash(holder, "Meter Decay", true);
    EXPECT_TRUE(clash.GetValue());
    Controller::PersistentEnumParam mode(holder, "Meter Mode", std::vector<Util::String>{"Peak", "RMS"}, 0);
    mode.SetValue(1);
    EXPECT_EQ(std::get<uint32_t>(*holder.GetRemembered("Meter Mode")), 1u);
}

TEST(ControllerParams, DestructionIsAnnouncedWithTheParametersAddress)
{
    const Controller::DestructorObserver* gone = nullptr;
    const void* address = nullptr;
    {
        Controller::FloatParamMemory level("Level", 0.0f, 1.0f, 0.5f);
        address = static_cast<const Controller::DestructorObserver*>(&level);
        level.destroyed.connect([&](const Controller::DestructorObserver* p) { gone = p; });
    }
    EXPECT_EQ(gone, address);
}

TEST(ControllerParams, KeyPathsReachParametersOfTheRightKindOnly)
{
    Controller::ControllerSet inner("Mix");
    inner.Add("Gain", std::make_unique<Controller::FloatParamMemory>("Gain", 0.0f, 1.0f, 0.5f));
    struct Outer : Controller::KeyValueCoding {
        Controller::ControllerSet* mix;
        Controller::KeyValue ValueForKey(const Util::String& key) override
        {
            return key == "Mix" ? Controller::KeyValue(static_cast<Controller::KeyValueCoding*>(mix))
                                : Controller::KeyValue();
        }
        std::vector<Util::String> AllKeys() const override { return {"Mix"}; }
    } outer;
    outer.mix = &inner;
    EXPECT_NE(Controller::ValueForKeyPathAs<Controller::FloatParam>(outer, "Mix.Gain"), nullptr);
    EXPECT_EQ(Controller::ValueForKeyPathAs<Controller::BoolParam>(outer, "Mix.Gain"), nullptr);
    EXPECT_EQ(Controller::ValueForKeyPathAs<Controller::FloatParam>(outer, "Mix.Loudness"), nullptr);
    EXPECT_EQ(Controller::ValueForKeyPathAs<Controller::FloatParam>(outer, "Gain"), nullptr);
}
