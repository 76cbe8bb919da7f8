#include "core/HostIdentification.h"

#include "platform/ProcessInfo.h"

#include <initializer_list>
#include <vector>

namespace {

// One row: the host number and its alternatives; an alternative matches when all
// of its words occur in the name.
struct HostRule {
    uint32_t number;
    std::vector<std::vector<std::string_view>> alternatives;
};

bool matches(std::string_view name, const HostRule& rule)
{
    for (const auto& words : rule.alternatives) {
        bool all = true;
        for (auto word : words)
            all = all && name.find(word) != std::string_view::npos;
        if (all)
            return true;
    }
    return false;
}

const std::vector<HostRule>& commonRulesBefore31()
{
    static const std::vector<HostRule> rules = {
        {0, {{"dp"}, {"digital performer"}}},
        {2, {{"pro", "tools"}}},
        {4, {{"dsm_server"}, {"mediacomposer"}}},
        {5, {{"cubase"}}},
        {6, {{"nuendo"}}},
        {7, {{"peak"}}},
        {8, {{"sample", "editor"}}},
        {9, {{"wave", "editor"}}},
        {10, {{"sonar"}}},
        {11, {{"wavelab"}}},
        {12, {{"forge"}}},
        {13, {{"vegas"}}},
        {14, {{"audition"}}},
        {15, {{"premiere", "pro"}}},
        {16, {{"soundtrack", "pro"}}},
        {17, {{"logic", "pro"}}},
        {18, {{"logic", "express"}}},
        {19, {{"final", "cut"}}},
        {20, {{"live"}}},
        {21, {{"tracktion"}}},
        {22, {{"garageband"}}},
        {23, {{"quattro"}}},
        {24, {{"reaper"}}},
        {25, {{"sam"}}},
        {26, {{"sequoia"}}},
        {27, {{"pyramix"}}},
        {28, {{"renoise"}}},
        {29, {{"resolve"}}},
        {30, {{"auval"}}},
    };
    return rules;
}

const std::vector<HostRule>& coreRulesFrom31()
{
    static const std::vector<HostRule> rules = {
        {31, {{"pluginhookssa"}, {"sahook"}}},
        {32, {{"vstbridge32"}}},
        {33, {{"vstbridge64"}}},
        {34, {{"otest"}, {"unit tests"}, {"xctest"}}},
        {35, {{"tw"}}},
    };
    return rules;
}

const std::vector<HostRule>& shuttleRulesFrom31()
{
    static const std::vector<HostRule> rules = {
        {31, {{"pluginhookssa"}}},
        {32, {{"vstbridge32"}}},
        {33, {{"vstbridge64"}}},
        {34, {{"otest"}, {"unit tests"}}},
        {35, {{"studioapp"}, {"studio", "one"}}},
    };
    return rules;
}

uint32_t identify(std::string_view fileName, const std::vector<HostRule>& tail)
{
    const Util::String name = Util::toLower(fileName);
    for (const auto* rules : {&commonRulesBefore31(), &tail})
        for (const auto& rule : *rules)
            if (matches(name, rule))
                return rule.number;
    return HostIdentification::Unknown;
}

} // namespace

uint32_t HostIdentification::coreHostNumber(std::string_view fileName) { return identify(fileName, coreRulesFrom31()); }

uint32_t HostIdentification::shuttleHostNumber(std::string_view fileName)
{
    return identify(fileName, shuttleRulesFrom31());
}

uint32_t HostIdentification::coreHostNumberOfProcess() { return coreHostNumber(Platform::hostProcessFileName()); }

uint32_t HostIdentification::shuttleHostNumberOfProcess()
{
    return shuttleHostNumber(Platform::hostProcessFileName());
}
