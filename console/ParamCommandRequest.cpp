#include "console/ParamCommandRequest.h"

#include "console/ParseCommandParamArgsError.h"
#include "util/Log.h"

#include <charconv>
#include <optional>

namespace ConsoleCommand {

namespace {
std::optional<uint32_t> numberOf(std::string_view word)
{
    uint32_t value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc() || end != word.data() + word.size() || word.empty())
        return std::nullopt;
    return value;
}
} // namespace

ParamCommandRequest ParamCommandRequest::parse(Mode mode, const std::vector<Util::String>& words)
{
    ParamCommandRequest request;
    request.mode = mode;
    const bool takesNonDefault = mode == Mode::Scramble || mode == Mode::CompToSeed;
    for (const auto& original : words) {
        const Util::String word = Util::toLower(original);
        if (word == "session")
            request.set = Set::Session;
        else if (word == "config")
            request.set = Set::Config;
        else if (word == "all")
            request.set = Set::All;
        else if (word == "nondefault" && takesNonDefault)
            request.nonDefault = true;
        else if (const auto seed = numberOf(word)) {
            request.seed = *seed;
            request.seedGiven = true;
        } else if (const auto count = word.size() > 1 && word.back() == 'x'
                                          ? numberOf(std::string_view(word).substr(0, word.size() - 1))
                                          : std::nullopt;
                   count && mode == Mode::Scramble)
            request.repetitions = std::max<uint32_t>(*count, 1);
        else
            Util::Log::write(Util::format("The console command word \"%1\" is not understood; it is passed over", word));
    }
    if (mode == Mode::CompToSeed && !request.seedGiven)
        throw ParseCommandParamArgsError("When comparing to a seed, a random seed must be given. We have a seed need "
                                         "that you need to feed, agreed?");
    if (mode == Mode::Scramble && request.repetitions > 1 && request.seedGiven)
        throw ParseCommandParamArgsError("When scrambling params with more than one repetition, don't provide a seed. "
                                         "Your seed greed cannot proceed!");
    return request;
}

Util::String ParamCommandRequest::nameOf(Mode mode)
{
    switch (mode) {
    case Mode::Scramble: return "scramble";
    case Mode::Default: return "default";
    case Mode::CompToDefault: return "comptodefault";
    case Mode::CompToSeed: return "comptoseed";
    case Mode::Snapshot: return "snapshot";
    }
    return {};
}

Util::String ParamCommandRequest::nameOf(Set set)
{
    switch (set) {
    case Set::Session: return "session";
    case Set::Config: return "config";
    case Set::All: return "all";
    }
    return {};
}

} // namespace ConsoleCommand
