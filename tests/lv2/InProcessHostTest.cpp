// The installed plug-in module under the tests' own host, in process: state,
// transport, the worker, and what run() may do on the audio thread.
#include <gtest/gtest.h>

#include "InstalledBundle.h"
#include "Lv2Host.h"
#include "support/SoundFile.h"
#include "support/TestEnvironment.h"

#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <lv2/atom/atom.h>
#include <optional>
#include <random>
#include <thread>

namespace fs = std::filesystem;
using namespace Lv2Test;
using TestSupport::SoundFile;

namespace {

constexpr const char* StateChunkKey = "http://quillex.example/lv2/tw6relay#state-chunk";

class InProcessHost : public testing::Test {
protected:
    void SetUp() override
    {
        resetShuttleFolder();
        host = std::make_unique<Lv2Host>(InstalledBundle::pluginModule());
    }

    // Blocks of noise through the instance, the inputs kept in `sent`.
    void runNoise(Lv2Instance& instance, uint32_t channels, int blocks)
    {
        std::uniform_real_distribution<float> noise(-0.5f, 0.5f);
        for (int b = 0; b < blocks; ++b) {
            for (uint32_t c = 0; c < channels; ++c)
                for (auto& sample : instance.input(c))
                    sample = noise(random);
            instance.run(Lv2Instance::BlockFrames);
            for (uint32_t f = 0; f < Lv2Instance::BlockFrames; ++f)
                for (uint32_t c = 0; c < channels; ++c)
                    sent.push_back(instance.input(c)[f]);
        }
    }

    // The clip once its header counts `frames` frames (the disk thread patches
    // it when the pass ends); bounded for a loaded machine.
    static std::optional<SoundFile> waitForClip(sf_count_t frames)
    {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::chrono::steady_clock::now() < until) {
            std::error_code ec;
            for (const auto& entry : fs::directory_iterator(shuttleFolder(), ec))
                if (entry.path().filename().string().find("captured.wav") != std::string::npos) {
                    auto clip = SoundFile::open(entry.path().string());
                    if (clip.ok() && clip.value().frames() == frames)
                        return std::move(clip.value());
                }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return {};
    }

    std::unique_ptr<Lv2Host> host;
    std::mt19937 random{7};
    std::vector<float> sent;
};

std::vector<uint8_t> savedChunk(Lv2Instance& instance, Lv2Host& host)
{
    Lv2Instance::Store store;
    if (instance.save(store) != LV2_STATE_SUCCESS)
        return {};
    return store[host.map(StateChunkKey)].value;
}

} // namespace

// Only what the transport plays is sent; its frame is the clip's start on the
// host's timeline; a Preview pass ends when the control goes back to Process,
// and the clip is the audio sent.
TEST_F(InProcessHost, APreviewPassIsCapturedFromTheTransportPosition)
{
    Lv2Instance instance(*host, InstalledBundle::Stereo, 2);
    ASSERT_TRUE(instance.created());
    instance.pass = 1.0f;
    instance.transport(90000, 0.0f);
    runNoise(instance, 2, 3);
    EXPECT_TRUE(instance.output(1) == instance.input(1)) << "a stopped transport passes the audio";
    sent.clear();
    instance.transport(96000, 1.0f);
    runNoise(instance, 2, 4);
    instance.pass = 0.0f;
    instance.run(Lv2Instance::BlockFrames);

    const auto clip = waitForClip(4 * Lv2Instance::BlockFrames);
    ASSERT_TRUE(clip) << "no clip of 4 blocks in " << shuttleFolder();
    ASSERT_EQ(clip->channels(), 2);
    EXPECT_TRUE(clip->interleaved() == sent);
    ASSERT_TRUE(clip->timeReference());
    EXPECT_EQ(*clip->timeReference(), 96000u);
    EXPECT_EQ(instance.latency, 0.0f) << "the latency port follows status word 0";
}

TEST_F(InProcessHost, TheStateChunkTravelsAsOneBinaryPropertyAndABadOneChangesNothing)
{
    Lv2Instance saved(*host, InstalledBundle::Stereo, 2);
    const auto initial = savedChunk(saved, *host);
    ASSERT_FALSE(initial.empty());
    Lv2Instance::Store store;
    ASSERT_EQ(saved.save(store), LV2_STATE_SUCCESS);
    const auto& property = store[host->map(StateChunkKey)];
    EXPECT_EQ(property.type, host->map(LV2_ATOM__Chunk));
    EXPECT_EQ(property.flags, uint32_t(LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE));

    ASSERT_EQ(Lv2Instance::shuttleStateIn(initial), 0);

    // A captured clip changes the instance's state: "Shuttle State" 2, Captured,
    // once the disk thread has finished the clip.
    saved.pass = 1.0f;
    runNoise(saved, 2, 2);
    saved.pass = 0.0f;
    saved.run(Lv2Instance::BlockFrames);
    Lv2Instance::Store chunk;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (saved.savedShuttleState() != 2 && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_EQ(saved.save(chunk), LV2_STATE_SUCCESS);
    const auto captured = chunk[host->map(StateChunkKey)].value;
    ASSERT_EQ(Lv2Instance::shuttleStateIn(captured), 2);

    Lv2Instance restored(*host, InstalledBundle::Stereo, 2);
    ASSERT_EQ(restored.restore(chunk), LV2_STATE_SUCCESS);
    EXPECT_EQ(savedChunk(restored, *host), captured);

    struct Bad {
        const char* what;
        std::function<void(Lv2Instance::Property&)> damage;
        LV2_State_Status status;
    };
    const Bad bad[] = {
        {"a flipped byte", [](Lv2Instance::Property& p) { p.value[p.value.size() / 2] ^= 0x5A; }, LV2_STATE_ERR_UNKNOWN},
        {"a cut chunk", [](Lv2Instance::Property& p) { p.value.resize(p.value.size() / 2); }, LV2_STATE_ERR_UNKNOWN},
        {"another type", [&](Lv2Instance::Property& p) { p.type = host->map(LV2_ATOM__String); }, LV2_STATE_ERR_BAD_TYPE},
    };
    for (const auto& b : bad) {
        auto damaged = chunk;
        b.damage(damaged[host->map(StateChunkKey)]);
        EXPECT_EQ(restored.restore(damaged), b.status) << b.what;
        EXPECT_EQ(savedChunk(restored, *host), captured) << b.what << " changed the instance";
    }
    EXPECT_EQ(restored.restore(Lv2Instance::Store{}), LV2_STATE_ERR_NO_PROPERTY);
}

// A host without features (lv2apply's kind): the audio passes, no transport is
// read, the state extension answers that it lacks the map, nothing is scheduled.
TEST_F(InProcessHost, WithoutFeaturesTheAudioPassesAndStateSaysWhy)
{
    Lv2Instance instance(*host, InstalledBundle::Mono, 1, {false, false, false});
    ASSERT_TRUE(instance.created());
    instance.transport(48000, 1.0f); // not mapped by the host's own map: ignored
    runNoise(instance, 1, 3);
    EXPECT_TRUE(instance.output(0) == instance.input(0));
    Lv2Instance::Store store;
    EXPECT_EQ(instance.save(store), LV2_STATE_ERR_NO_FEATURE);
    EXPECT_EQ(host->pendingWork(), 0u);
}

// One idle request at a time: the next only after the worker ran the last.
TEST_F(InProcessHost, TheIdleServiceIsAskedOfTheWorkerOneRequestAtATime)
{
    Lv2Instance instance(*host, InstalledBundle::Stereo, 2);
    runNoise(instance, 2, 40);
    EXPECT_EQ(host->pendingWork(), 1u);
    EXPECT_EQ(instance.work(), LV2_WORKER_SUCCESS);
    runNoise(instance, 2, 40);
    EXPECT_EQ(host->pendingWork(), 2u);
}

// Every kind of block the audio thread sees allocates nothing: both passes,
// the switch between them (which ends the send), transport starts and stops.
TEST_F(InProcessHost, RunAllocatesNothing)
{
    Lv2Instance instance(*host, InstalledBundle::Stereo, 2);
    struct Step {
        const char* what;
        std::function<void()> before;
    };
    const Step steps[] = {
        {"a Process block", [] {}},
        {"the transport starts", [&] { instance.transport(1000, 1.0f); }},
        {"the first Preview block", [&] { instance.pass = 1.0f; }},
        {"a Preview block", [] {}},
        {"back to Process", [&] { instance.pass = 0.0f; }},
        {"the transport stops", [&] { instance.transport(5000, 0.0f); }},
        {"a Preview block while stopped", [&] { instance.pass = 1.0f; }},
        {"the transport starts again", [&] { instance.transport(0, 1.0f); }},
    };
    instance.run(Lv2Instance::BlockFrames); // the first block of the instance
    for (const auto& step : steps) {
        step.before();
        const auto before = TestSupport::threadAllocationCount();
        instance.run(Lv2Instance::BlockFrames);
        EXPECT_EQ(TestSupport::threadAllocationCount() - before, 0u) << step.what;
    }
}
