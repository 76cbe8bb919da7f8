#pragma once
#include "CommandLine.h"
#include "SoundFile.h"
#include "TracingHost.h"
#include "wrapper/PluginInstance.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace RelayHost {

// One plug-in instance of a render: its host callbacks, its input (the --in
// file, "{instance}" replaced by its number), its passes and their outputs.
// create() and the user-interface calls run on the thread that made it; the
// passes on whichever thread plays the host's render thread for it.
class InstanceRun {
public:
    struct CaptureReport {
        bool answered = false;
        EntryProtocol::CaptureOutcome outcome = EntryProtocol::CaptureOutcome::NothingArrived;
        std::vector<std::string> clips;
    };

    InstanceRun(EntryProtocol::Callback entry, const Wrapper::HostDescription& host, const Options& options,
                uint32_t number);

    // Reads the input, refusing channel counts the core cannot describe, and
    // checks that every output can be written. Throws std::runtime_error. [ui-thread]
    void prepare();
    // Selectors 1 and 5. [ui-thread]
    void create();
    // One pass over the input, block by block, with the run-state, timeline
    // and processing-stopped calls around it; writes the pass's output. With
    // `idleHere` the idle service runs every --idle-every blocks on this
    // thread (a host whose one thread does both). [audio-thread]
    // `afterBlock`, when given, runs after every block (the host's cycle).
    void renderPass(uint32_t pass, bool idleHere, const std::function<void()>& afterBlock = {});
    // Selectors 6 and 7. [ui-thread]
    void finish();

    // "Shuttle State", or none when the plug-in has no such value. [ui-thread]
    std::optional<uint32_t> shuttleState();
    // The clips the instance finished, or why none (property message). [ui-thread]
    CaptureReport captureReport();

    Wrapper::PluginInstance& plugin() { return plugin_; }
    uint32_t number() const { return number_; }
    const std::string& inputPath() const { return inputPath_; }

    // `pattern` with "{pass}", "{instance}" and "{state}" replaced.
    static std::string expand(std::string pattern, uint32_t pass, uint32_t instance, std::optional<uint32_t> state = {});

private:
    std::string outputFor(uint32_t pass) const;
    void renderBlocks(SoundFile& sound, bool idleHere, const std::function<void()>& afterBlock);

    const Options& options_;
    const uint32_t number_;
    std::string inputPath_;
    TracingHost host_;
    Wrapper::PluginInstance plugin_;
    SoundFile input_;
    std::optional<uint32_t> stateIndex_;
    bool stateIndexKnown_ = false;
};

} // namespace RelayHost
