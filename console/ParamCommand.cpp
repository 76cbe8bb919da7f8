#include "console/ParamCommand.h"

#include "console/ParseCommandParamArgsError.h"
#include "core/ConsoleCommandManager.h"
#include "platform/Clipboard.h"
#include "platform/MessageBox.h"
#include "util/Log.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <random>

namespace ConsoleCommand {

namespace {
constexpr int NonDefaultAttempts = 64;

// Floats in their shortest form that reads back to the same float.
Util::String textOf(float value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return Util::String(buffer, result.ptr);
}

const char* yesNo(bool yes) { return yes ? "yes" : "no"; }

// The time of day in milliseconds: the seed when none is given.
uint32_t timeOfDaySeed()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return uint32_t(std::chrono::duration_cast<std::chrono::milliseconds>(now).count() % 86400000);
}

// One value within the parameter's range (whole numbers where it takes only
// those); with `nonDefault`, one unequal to the default where the range allows.
float draw(std::mt19937& random, const ConsoleParam& param, bool nonDefault)
{
    const auto once = [&] {
        const uint32_t bits = random();
        if (param.whole) {
            const auto low = int64_t(std::lround(param.minimum));
            const auto span = uint64_t(std::lround(param.maximum) - low) + 1;
            return float(low + int64_t(bits % span));
        }
        const double unit = double(bits) / 4294967296.0;
        return float(param.minimum + (double(param.maximum) - param.minimum) * unit);
    };
    float value = once();
    for (int attempt = 0; nonDefault && !param.singleValue() && value == param.defaultValue &&
                          attempt < NonDefaultAttempts;
         ++attempt)
        value = once();
    return value;
}

Util::String mismatch(const ConsoleParam& param, float value, float reference, bool toSeed)
{
    return Util::format(toSeed ? "Element %1 %2 param %3 value %4 seed %5" : "Element %1 %2 param %3 value %4 default %5",
                        param.element, param.type, param.name, textOf(value), textOf(reference));
}
} // namespace

ParamCommand::ParamCommand(Mode mode, Params params) : mode_(mode), params_(std::move(params)) {}

void ParamCommand::consoleCommand(const Util::String& line)
{
    ParamCommandRequest request;
    try {
        request = ParamCommandRequest::parse(mode_, Manager::arguments(line));
    } catch (const ParseCommandParamArgsError& error) {
        Platform::messageBox().show("Error", error.message(), Platform::MessageBox::Icon::Error);
        return;
    }
    const Outcome outcome = run(request);
    Platform::clipboard().setText(outcome.text);
    const auto [title, text] = summary(request, outcome);
    Platform::messageBox().show(title, text, Platform::MessageBox::Icon::Information);
}

ParamCommand::Outcome ParamCommand::run(const ParamCommandRequest& request) const
{
    const std::vector<ConsoleParam> params = params_(request.set);
    std::mt19937 seeds(timeOfDaySeed());
    Outcome outcome;
    for (uint32_t repetition = 1; repetition <= request.repetitions; ++repetition) {
        const uint32_t seed = request.seedGiven ? request.seed : uint32_t(seeds());
        runRepetition(request, repetition, seed, params, outcome);
    }
    return outcome;
}

void ParamCommand::runRepetition(const ParamCommandRequest& request, uint32_t repetition, uint32_t seed,
                                 const std::vector<ConsoleParam>& params, Outcome& outcome) const
{
    const Util::String filter = "none";
    Util::Log::write(Util::format(
        "Running repetition %1 of %2 with random seed %3 (mode = %4, set = %5, set non-default = %6, filter = %7)",
        repetition, request.repetitions, seed, ParamCommandRequest::nameOf(request.mode),
        ParamCommandRequest::nameOf(request.set), yesNo(request.nonDefault), filter));
    outcome.text += Util::format("Param snapshot\tFilter = %1\tRandom seed = %2\n", filter, seed);
    outcome.text += HeaderLine;
    outcome.compared = outcome.matching = outcome.singleValued = 0;
    outcome.firstMismatch.clear();

    std::mt19937 random(seed);
    for (const ConsoleParam& param : params) {
        const float original = param.read();
        const float seedValue = draw(random, param, request.nonDefault);
        if (request.mode == Mode::Scramble)
            param.write(seedValue);
        else if (request.mode == Mode::Default)
            param.write(param.defaultValue);
        const float now = param.read();
        const bool equalDefault = now == param.defaultValue;
        const bool matchSeed = now == seedValue;

        const bool toSeed = request.mode == Mode::CompToSeed;
        const bool matches = toSeed ? matchSeed : equalDefault;
        ++outcome.compared;
        outcome.matching += matches ? 1 : 0;
        outcome.singleValued += param.singleValue() ? 1 : 0;
        if (!matches && outcome.firstMismatch.empty())
            outcome.firstMismatch = mismatch(param, now, toSeed ? seedValue : param.defaultValue, toSeed);

        outcome.text += Util::format("%1\t%2\t%3\t%4\t%5\t%6\t%7\t%8\t", param.element, param.type, param.name,
                                     param.serialization, textOf(param.minimum), textOf(param.maximum),
                                     textOf(param.defaultValue), textOf(original));
        outcome.text += Util::format("%1\t%2\t%3\t%4\t%5\n", textOf(now), yesNo(now != original), yesNo(equalDefault),
                                     textOf(seedValue), yesNo(matchSeed));
    }
}

std::pair<Util::String, Util::String> ParamCommand::summary(const ParamCommandRequest& request,
                                                            const Outcome& outcome)
{
    const Util::String mismatchText =
        outcome.firstMismatch.empty() ? Util::String() : Util::format("First mismatch: %1.  ", outcome.firstMismatch);
    switch (request.mode) {
    case Mode::Snapshot: return {"Param Snapshot", "Paste into Excel to see a snapshot of params."};
    case Mode::CompToSeed:
        return {"Param Comp To Seed",
                Util::format("%1 of %2 params match random values for the given seed (%3 have a range that only "
                             "allows a single value, so they'll always match). %4Paste into Excel for details.",
                             outcome.matching, outcome.compared, outcome.singleValued, mismatchText)};
    case Mode::CompToDefault:
        return {"Param Comp To Defaults",
                Util::format("%1 of %2 params match their default values (%3 have a range that only allow the default "
                             "value). %4Paste into Excel for details.",
                             outcome.matching, outcome.compared, outcome.singleValued, mismatchText)};
    case Mode::Default:
        return {"Param Set Defaults", "Set params to default values successfully. Paste into Excel for details."};
    case Mode::Scramble: break;
    }
    const Util::String times = request.repetitions > 1 ? Util::format("%1 times ", request.repetitions) : "";
    const Util::String nonDefault = request.nonDefault ? "to non-default values " : "";
    return {"Param Scramble",
            Util::format("Scrambled params %1%2successfully. Paste into Excel for details.", times, nonDefault)};
}

} // namespace ConsoleCommand
