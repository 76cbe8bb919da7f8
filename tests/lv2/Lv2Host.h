#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <lv2/atom/forge.h>
#include <lv2/core/lv2.h>
#include <lv2/options/options.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>
#include <lv2/worker/worker.h>

namespace Lv2Test {

// The tests' own LV2 host, in process: the installed plug-in module loaded
// with dlopen, a URID map, the worker (its requests counted and run when the
// test says), the options, and a state store in memory.
class Lv2Host {
public:
    struct Offer {
        bool map = true;
        bool worker = true;
        bool options = true;
    };

    explicit Lv2Host(const std::string& module);
    ~Lv2Host();
    Lv2Host(const Lv2Host&) = delete;
    Lv2Host& operator=(const Lv2Host&) = delete;

    const LV2_Descriptor& descriptor(const std::string& uri) const;
    LV2_URID map(const std::string& uri);
    // The features to instantiate with, null-terminated.
    const LV2_Feature* const* features(Offer offer);

    // Worker requests made by run() and not yet run.
    size_t pendingWork() const { return pendingWork_; }

    const LV2_URID_Map& mapFeature() const { return map_; }

private:
    static LV2_URID mapUri(LV2_URID_Map_Handle handle, const char* uri);
    static LV2_Worker_Status scheduleWork(LV2_Worker_Schedule_Handle handle, uint32_t size, const void* data);

    void* module_ = nullptr;
    std::vector<const LV2_Descriptor*> descriptors_;
    std::map<std::string, LV2_URID> urids_;
    LV2_URID_Map map_{this, mapUri};
    LV2_Worker_Schedule schedule_{this, scheduleWork};
    int32_t maxBlockLength_ = 4096;
    float sampleRate_ = 48000.0f;
    std::vector<LV2_Options_Option> options_;
    LV2_Feature mapFeature_{LV2_URID__map, &map_};
    LV2_Feature workerFeature_{LV2_WORKER__schedule, &schedule_};
    LV2_Feature optionsFeature_{LV2_OPTIONS__options, nullptr};
    std::vector<const LV2_Feature*> features_;
    size_t pendingWork_ = 0;
};

// One instance with its port buffers: the audio channels, the control port's
// atom sequence (time:Position objects queued with transport()), the pass
// control and the latency output.
class Lv2Instance {
public:
    static constexpr uint32_t BlockFrames = 512;

    Lv2Instance(Lv2Host& host, const std::string& uri, uint32_t channels, Lv2Host::Offer offer = {});
    ~Lv2Instance();
    Lv2Instance(const Lv2Instance&) = delete;
    Lv2Instance& operator=(const Lv2Instance&) = delete;

    bool created() const { return handle_ != nullptr; }
    // The next run()'s control port carries one time:Position.
    void transport(int64_t frame, float speed);
    // One block: `input` per channel in, the outputs kept in output().
    void run(uint32_t frames);
    const std::vector<float>& output(uint32_t channel) const { return outputs_[channel]; }
    std::vector<float>& input(uint32_t channel) { return inputs_[channel]; }

    float pass = 0.0f;
    float latency = -1.0f;

    // The state extension through an in-memory store.
    struct Property {
        std::vector<uint8_t> value;
        uint32_t type = 0;
        uint32_t flags = 0;
    };
    using Store = std::map<uint32_t, Property>;
    LV2_State_Status save(Store& store);
    LV2_State_Status restore(const Store& store);
    // "Shuttle State" in a saved state chunk (its length word, then one zlib
    // stream of the state's JSON text); -1 when it is not there.
    static int shuttleStateIn(const std::vector<uint8_t>& chunk);
    // The instance's "Shuttle State" as its state chunk says; -1 without one.
    int savedShuttleState();
    // The worker's interface: runs the idle service once.
    LV2_Worker_Status work();

    LV2_Handle handle() const { return handle_; }
    const void* extension(const char* uri) const { return descriptor_.extension_data(uri); }

private:
    Lv2Host& host_;
    const LV2_Descriptor& descriptor_;
    uint32_t channels_;
    LV2_Handle handle_ = nullptr;
    std::vector<std::vector<float>> inputs_, outputs_;
    std::vector<uint64_t> control_; // 8-byte aligned atom sequence
    bool pendingPosition_ = false;
    int64_t frame_ = 0;
    float speed_ = 0.0f;
    LV2_URID timePosition_, timeFrame_, timeSpeed_;
    LV2_Atom_Forge forge_;
};

} // namespace Lv2Test
