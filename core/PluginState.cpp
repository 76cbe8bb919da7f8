#include "core/PluginState.h"

#include "core/ElementSetState.h"
#include "core/StateChunk.h"
#include "util/Log.h"
#include "util/TypedDictionaryJson.h"

using Util::TypedDictionary;
using Util::TypedValue;

namespace {

constexpr const char* DSPStateKey = "DSP State";
constexpr const char* ContextStateKey = "Context State";
constexpr const char* MajorVersionKey = "Major Version";
constexpr const char* MinorVersionKey = "Minor Version";
constexpr const char* DefaultStateKey = "PT Default State";
constexpr const char* SessionKey = "Session UUID";

void refuse(const Util::String& reason) { Util::Log::write("The saved state was not restored: " + reason); }

// The member of that name if it has the type; `wrongType` tells a member of another type from a missing one.
const TypedValue* memberOfType(const TypedDictionary& state, const char* key, TypedValue::Type type, bool& wrongType)
{
    const TypedValue* value = state.find(key);
    if (value && value->type() != type) {
        wrongType = true;
        return nullptr;
    }
    return value;
}

} // namespace

TypedDictionary PluginState::collect(Flavour flavour, const Extras& extras) const
{
    TypedDictionary state;
    state.set(DSPStateKey, TypedValue::fromDictionary(ElementSetState::capture(set_)));
    state.set(ContextStateKey, TypedValue::fromDictionary(context_.getState()));
    state.set(MajorVersionKey, TypedValue::fromUInt(MajorVersion));
    state.set(MinorVersionKey, TypedValue::fromUInt(MinorVersion));
    if (flavour == Flavour::First && extras.defaultState)
        state.set(DefaultStateKey, TypedValue::fromBool(*extras.defaultState));
    if (extras.sessionIdentifier)
        state.set(SessionKey, TypedValue::fromString(*extras.sessionIdentifier));
    return state;
}

std::optional<PluginState::Extras> PluginState::apply(const TypedDictionary& state)
{
    bool wrongType = false;
    const TypedValue* major = memberOfType(state, MajorVersionKey, TypedValue::Type::UInt, wrongType);
    if (wrongType) {
        refuse("its major version is not a number");
        return std::nullopt;
    }
    const uint64_t version = major ? major->asUInt() : 0;
    if (version == 0) {
        auto settings = ElementSetState::readOlderLayout(set_, state);
        if (!settings) {
            refuse("a parameter value has the wrong type");
            return std::nullopt;
        }
        ElementSetState::apply(*settings);
        return Extras{};
    }
    if (version != MajorVersion) {
        refuse(Util::format("major version %1 is not known", version));
        return std::nullopt;
    }

    const TypedValue* dsp = memberOfType(state, DSPStateKey, TypedValue::Type::Dictionary, wrongType);
    const TypedValue* context = memberOfType(state, ContextStateKey, TypedValue::Type::Dictionary, wrongType);
    const TypedValue* defaultState = memberOfType(state, DefaultStateKey, TypedValue::Type::Bool, wrongType);
    const TypedValue* session = memberOfType(state, SessionKey, TypedValue::Type::String, wrongType);
    if (wrongType || !dsp || !context) {
        refuse("a part is missing or has the wrong type");
        return std::nullopt;
    }
    auto settings = ElementSetState::read(set_, dsp->asDictionary());
    if (!settings || !context_.acceptsState(context->asDictionary())) {
        refuse("the element or context state does not fit this instance");
        return std::nullopt;
    }
    ElementSetState::apply(*settings);
    context_.setState(context->asDictionary());
    Extras taken;
    if (defaultState)
        taken.defaultState = defaultState->asBool();
    if (session)
        taken.sessionIdentifier = session->asString();
    return taken;
}

const std::vector<uint8_t>& PluginState::chunk(Flavour flavour, const Extras& extras)
{
    Packed& packed = packed_[flavour == Flavour::First ? 0 : 1];
    TypedDictionary state = collect(flavour, extras);
    if (packed.chunk.empty() || !(state == packed.state)) {
        packed.chunk = StateChunk::pack(Util::TypedDictionaryJson::write(state));
        packed.state = std::move(state);
    }
    return packed.chunk;
}

std::optional<PluginState::Extras> PluginState::restore(const uint8_t* chunk, std::size_t size)
{
    const auto text = StateChunk::unpack(chunk, size);
    if (!text) {
        refuse("the chunk does not decompress to the length it states");
        return std::nullopt;
    }
    const auto state = Util::TypedDictionaryJson::read(*text);
    if (!state) {
        refuse("its text is not a typed dictionary");
        return std::nullopt;
    }
    return apply(*state);
}
