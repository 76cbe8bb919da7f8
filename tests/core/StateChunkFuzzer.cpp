// libFuzzer target: every input is restored into the product's DSP set (with a
// test element holding every parameter kind) and a context twice: as a state
// chunk, and as the state text of a chunk (mutations of compressed bytes
// seldom reach the text). A refused chunk must leave everything as it was; a
// taken one must come out again as a chunk that restores to the same state.
// Built with clang by tests/core/tests.cmake; the seed corpus is
// tests/core/corpus/state-chunk (chunks and texts).
#include "MixElement.h"
#include "product/PluginContext.h"
#include "core/PluginState.h"
#include "core/StateChunk.h"
#include "dsp/DSPSet.h"
#include "dsp/ElementHost.h"
#include "util/Log.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

class Host final : public DSP::ElementHost {
public:
    Platform::CriticalSection& GetProcessingLock() override { return lock_; }

private:
    Platform::CriticalSection lock_{"Fuzz Processing CritSec"};
};

struct Instance {
    Host host;
    DSP::DSPSet set{host, 48000.0f, 1};
    Context::PluginContext context;
    PluginState state{&set, context};

    Instance()
    {
        Util::Log::setEcho(false);
        set.AddElement(std::make_shared<MixElement>(host));
    }
    Util::TypedDictionary now() const { return state.collect(PluginState::Flavour::First, {}); }
};

} // namespace

namespace {

void restore(Instance& instance, const uint8_t* data, size_t size)
{
    const auto before = instance.now();
    const auto taken = instance.state.restore(data, size);
    if (!taken) {
        if (!(instance.now() == before))
            std::abort(); // a refused chunk changed the instance
        return;
    }
    const auto restored = instance.now();
    const std::vector<uint8_t> again = instance.state.chunk(PluginState::Flavour::First, *taken);
    if (!instance.state.restore(again.data(), again.size()) || !(instance.now() == restored))
        std::abort(); // what we wrote does not read back as itself
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Instance instance;
    restore(instance, data, size);
    const auto packed = StateChunk::pack(Util::String(reinterpret_cast<const char*>(data), size));
    restore(instance, packed.data(), packed.size());
    return 0;
}
