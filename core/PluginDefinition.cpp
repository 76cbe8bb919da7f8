#include "core/PluginDefinition.h"

#include "core/HostIdentification.h"
#include "core/HostVersion.h"

PluginDefinition::PluginDefinition() = default;

uint32_t PluginDefinition::switchA(int index) const { return index == 1 ? 1 : 0; }

uint32_t PluginDefinition::switchB(int index) const
{
    switch (index) {
    case 1:
    case 3:
    case 16:
        return 1;
    case 4:
    case 7:
    case 8:
    case 9:
    case 10:
    case 11:
    case 12:
    case 13:
        return flag_;
    default:
        return 0;
    }
}

uint32_t PluginDefinition::switchF(int index, const HostContext& context) const
{
    switch (index) {
    case 2:
    case 9:
    case 11:
        return 1;
    case 3:
        return switchF(2, context);
    case 5:
        return hostVersionSwitch(context);
    case 8:
        return hostOneSwitch();
    default:
        return 0;
    }
}

uint32_t PluginDefinition::hostVersionSwitch(const HostContext& context) const
{
    if (hostNumber() != 2)
        return 1;
    const auto version = HostVersion::of(context);
    return !version || version->atMost(11, 3, 0) ? 1 : 0;
}

uint32_t PluginDefinition::hostOneSwitch() const { return hostNumber() == 1 ? 1 : 0; }

float PluginDefinition::floatAnswer(int index) const
{
    switch (index) {
    case 1: return 15.0f;
    case 2: return 1.0f;
    case 3: return 5.0f;
    default: return 0.0f;
    }
}

uint32_t PluginDefinition::wordAnswer(int index) const
{
    switch (index) {
    case 1: return 100;
    case 2: return 8192;
    case 3: return 2;
    default: return 0;
    }
}

uint32_t PluginDefinition::hostNumber() const { return HostIdentification::coreHostNumberOfProcess(); }
