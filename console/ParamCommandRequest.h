#pragma once
#include "util/Text.h"

#include <cstdint>
#include <vector>

namespace ConsoleCommand {

// What a parameter command (scramble, default, comptodefault, comptoseed,
// snapshot) is asked to do, read from its words: the parameter set, whether
// random values must differ from the defaults, the repetition count and the
// random seed. [ui-thread]
struct ParamCommandRequest {
    enum class Mode : uint32_t { Scramble = 0, Default = 1, CompToDefault = 2, CompToSeed = 3, Snapshot = 4 };
    enum class Set : uint32_t { Session = 0, Config = 1, All = 2 };

    Mode mode = Mode::Snapshot;
    Set set = Set::Session;
    bool nonDefault = false;
    uint32_t repetitions = 1;
    uint32_t seed = 0;
    bool seedGiven = false;

    // Reads the words after the command's name (in any order, any case):
    // "session", "config" or "all"; "nondefault" (scramble and comptoseed);
    // "<n>x", the repetition count (scramble); a number, the seed. Other words
    // are passed over. Throws ParseCommandParamArgsError when comptoseed has
    // no seed, or scramble has a seed and more than one repetition.
    static ParamCommandRequest parse(Mode mode, const std::vector<Util::String>& words);

    static Util::String nameOf(Mode mode);
    static Util::String nameOf(Set set);
};

} // namespace ConsoleCommand
