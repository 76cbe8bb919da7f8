#pragma once
#include <cstdint>
#include <vector>

#include "core/PluginState.h"

class PluginCore;

// The instance's saved state as the host exchanges it (selector 31): chunks of
// either flavour, written only whole into a buffer of exactly their size, and
// restored from the host's bytes. Adds what the instance keeps beside its
// parameters: "PT Default State" under host 2 (the state-not-yet-restored flag
// of the instance) and the session identifier, when the product uses one.
// [ui-thread]
class SavedState {
public:
    // The host whose saved state carries "PT Default State".
    static constexpr uint32_t DefaultStateHostNumber = 2;

    SavedState(PluginCore& core, DSP::DSPSetImpl* set, Context::ContextBase& context);

    // Builds the first flavour and answers its size in bytes.
    uint32_t measure();
    // Writing the first flavour clears the state-not-yet-restored flag afterwards.
    bool write(PluginState::Flavour flavour, uint32_t size, void* buffer);
    // Clears the state-not-yet-restored flag first; false, and nothing else
    // changed, when the chunk is not a state this instance can take.
    bool restore(const void* data, uint32_t size);

    const std::vector<uint8_t>& chunk(PluginState::Flavour flavour);
    // A random (version 4) UUID made on first use, or the one a restored state carried.
    const Util::String& sessionIdentifier();

private:
    PluginState::Extras extras();

    PluginCore& core_;
    PluginState state_;
    bool carriesDefaultState_;
    bool usesSessionIdentifier_;
    Util::String sessionIdentifier_;
};
