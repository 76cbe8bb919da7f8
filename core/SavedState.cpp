#include "core/SavedState.h"

#include "core/PluginCore.h"

#include <cstring>
#include <random>

namespace {

Util::String newSessionIdentifier()
{
    std::random_device seed;
    std::mt19937_64 random((uint64_t(seed()) << 32) ^ seed());
    uint8_t bytes[16];
    for (auto& byte : bytes)
        byte = uint8_t(random());
    bytes[6] = uint8_t((bytes[6] & 0x0F) | 0x40); // version 4
    bytes[8] = uint8_t((bytes[8] & 0x3F) | 0x80); // the RFC 4122 variant
    static const char digits[] = "0123456789abcdef";
    Util::String text;
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            text += '-';
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 0x0F];
    }
    return text;
}

} // namespace

SavedState::SavedState(PluginCore& core, DSP::DSPSetImpl* set, Context::ContextBase& context)
    : core_(core),
      state_(set, context),
      carriesDefaultState_(core.definition().hostNumber() == DefaultStateHostNumber),
      usesSessionIdentifier_(core.definition().usesSessionIdentifier())
{
}

const Util::String& SavedState::sessionIdentifier()
{
    if (sessionIdentifier_.empty())
        sessionIdentifier_ = newSessionIdentifier();
    return sessionIdentifier_;
}

PluginState::Extras SavedState::extras()
{
    PluginState::Extras extras;
    if (carriesDefaultState_)
        extras.defaultState = core_.stateNotYetRestored();
    if (usesSessionIdentifier_)
        extras.sessionIdentifier = sessionIdentifier();
    return extras;
}

const std::vector<uint8_t>& SavedState::chunk(PluginState::Flavour flavour) { return state_.chunk(flavour, extras()); }

uint32_t SavedState::measure() { return uint32_t(chunk(PluginState::Flavour::First).size()); }

bool SavedState::write(PluginState::Flavour flavour, uint32_t size, void* buffer)
{
    const auto& bytes = chunk(flavour);
    if (bytes.empty() || !buffer || size != bytes.size())
        return false;
    std::memcpy(buffer, bytes.data(), bytes.size());
    if (flavour == PluginState::Flavour::First)
        core_.clearStateNotYetRestored();
    return true;
}

bool SavedState::restore(const void* data, uint32_t size)
{
    core_.clearStateNotYetRestored();
    const auto taken = state_.restore(static_cast<const uint8_t*>(data), size);
    if (!taken)
        return false;
    if (taken->defaultState)
        core_.setStateNotYetRestored(*taken->defaultState);
    if (taken->sessionIdentifier)
        sessionIdentifier_ = *taken->sessionIdentifier;
    return true;
}
