#pragma once
#include "console/ConsoleParam.h"
#include "console/ParamCommandRequest.h"
#include "core/ConsoleCommandDelegate.h"

#include <functional>

namespace ConsoleCommand {

// scramble, default, comptodefault, comptoseed and snapshot: each walks the
// chosen parameters with a random generator seeded from the given seed (or
// from the time of day, a new seed for each repetition of scramble), writes
// one tab-separated line per parameter (what it was, what it is now, its
// default, the value drawn from the seed, and the comparisons), puts the text
// on the clipboard and shows a summary. Arguments that do not parse show the
// error and change nothing. [ui-thread]
class ParamCommand final : public Delegate {
public:
    using Mode = ParamCommandRequest::Mode;
    // The parameters of a set.
    using Params = std::function<std::vector<ConsoleParam>(ParamCommandRequest::Set)>;

    // What one run did, for its summary.
    struct Outcome {
        Util::String text; // the clipboard's text
        uint32_t compared = 0;
        uint32_t matching = 0;
        uint32_t singleValued = 0;
        Util::String firstMismatch;
    };

    ParamCommand(Mode mode, Params params);

    void consoleCommand(const Util::String& line) override;

    // Runs a parsed request and answers what it did (the clipboard and the
    // summary are left to consoleCommand).
    Outcome run(const ParamCommandRequest& request) const;
    // The summary's title and text.
    static std::pair<Util::String, Util::String> summary(const ParamCommandRequest& request, const Outcome& outcome);

    static constexpr const char* HeaderLine =
        "Element Name\tParam Type\tParam Name\tSerialization Type\tMin Value\tMax Value\tDefault Value\tOriginal "
        "Value\tNew Value\tChange?\tEqual Default?\tSeed Value\tMatch Seed?\n";

private:
    void runRepetition(const ParamCommandRequest& request, uint32_t repetition, uint32_t seed,
                       const std::vector<ConsoleParam>& params, Outcome& outcome) const;

    Mode mode_;
    Params params_;
};

} // namespace ConsoleCommand
