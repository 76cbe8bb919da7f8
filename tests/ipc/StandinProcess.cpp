#include "StandinProcess.h"

#include <regex>
#include <stdexcept>

namespace TestSupport {

namespace {
std::vector<std::string> commandLine(std::vector<std::string> arguments, bool fixedPorts)
{
    std::vector<std::string> words{RELAY_SOURCE_DIR "/tools/editor-standin/editor-standin"};
    if (!fixedPorts)
        words.insert(words.end(), {"--request-port", "0", "--reply-port", "0", "--push-port", "0"});
    words.insert(words.end(), arguments.begin(), arguments.end());
    return words;
}
} // namespace

StandinProcess::StandinProcess(std::vector<std::string> arguments, bool fixedPorts)
    : process_(commandLine(std::move(arguments), fixedPorts))
{
    const std::string ready = expect("READY ");
    // A stand-in that could not bind its ports ends at once: say so here,
    // instead of letting the test wait for an editor that is not there.
    if (ready.empty()) {
        std::string said;
        for (const auto& line : log())
            said += "\n  " + line;
        throw std::runtime_error("editor-standin never said READY (ports taken?); its output:" +
                                 (said.empty() ? std::string(" none") : said));
    }
    const std::regex field(R"((request|reply|push)=(\S+))");
    for (std::sregex_iterator it(ready.begin(), ready.end(), field), end; it != end; ++it) {
        const std::string name = (*it)[1];
        (name == "request" ? endpoints_.request : name == "reply" ? endpoints_.reply : endpoints_.push) = (*it)[2];
    }
}

} // namespace TestSupport
