#pragma once
#include "core/ContextBase.h"
#include "util/TypedValue.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace DSP {
class DSPSetImpl;
}

// The instance's saved state, kept by the host as the state chunk of selector
// 31 (see StateChunk). The state dictionary:
//   "DSP State"        Dictionary  the element parameters (see ElementSetState)
//   "Context State"    Dictionary  the state of the instance's context
//   "Major Version"    UInt        1
//   "Minor Version"    UInt        1
//   "PT Default State" Bool        only in the first flavour, when the caller gives it
//   "Session UUID"     String      only when the caller gives one
// The second flavour differs only in never carrying "PT Default State": the
// parts have one form, so that wherever that key is not written, the second
// flavour has the size code 0 answers and a host can ask for it. Reading
// follows "Major Version" (absent counts as 0): 0 is the older layout, which
// held only element parameters; 1 the current one; other versions are not
// applied. A state that cannot be read in full changes nothing. [ui-thread]
class PluginState {
public:
    enum class Flavour { First, Second };
    static constexpr uint32_t MajorVersion = 1;
    static constexpr uint32_t MinorVersion = 1;

    // What the instance adds to the dictionary, and what it takes back from it.
    struct Extras {
        std::optional<bool> defaultState;
        std::optional<Util::String> sessionIdentifier;
    };

    PluginState(DSP::DSPSetImpl* set, Context::ContextBase& context) : set_(set), context_(context) {}

    Util::TypedDictionary collect(Flavour flavour, const Extras& extras) const;
    // Nothing, and nothing changed, when the dictionary is not a state this
    // instance can take.
    std::optional<Extras> apply(const Util::TypedDictionary& state);

    // The chunk of collect()'s dictionary; empty only if compression failed. A
    // state that has not changed since the last call gives the same chunk
    // without writing and compressing it again (the host asks for the size, then
    // for the chunk).
    const std::vector<uint8_t>& chunk(Flavour flavour, const Extras& extras);
    // Unpacks, parses and applies a chunk; nothing, and nothing changed, when
    // any step fails. The reason is logged.
    std::optional<Extras> restore(const uint8_t* chunk, std::size_t size);

private:
    struct Packed {
        Util::TypedDictionary state;
        std::vector<uint8_t> chunk;
    };

    DSP::DSPSetImpl* set_; // owned by the instance's element set
    Context::ContextBase& context_;
    std::array<Packed, 2> packed_; // per flavour
};
