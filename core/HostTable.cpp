#include "core/HostTable.h"

namespace {
constexpr HostTable::Row rows[HostTable::RowCount] = {
    {"Digital Performer", false, true, true},
    {"Pro Tools", true, false, true},
    {"Pro Tools", true, false, true},
    {"Media Composer", true, false, true},
    {"Media Composer", true, false, true},
    {"Cubase", true, false, false},
    {"Nuendo", true, false, false},
    {"Peak", false, false, false},
    {"Sample Editor", false, false, false},
    {"Wave Editor", false, false, false},
    {"SONAR", true, false, false},
    {"Wavelab", true, false, false},
    {"Sound Forge", true, false, false},
    {"Vegas", true, true, true},
    {"Audition", true, false, false},
    {"Premiere Pro", false, true, true},
    {"Soundtrack Pro", true, false, false},
    {"Logic Pro", false, true, true},
    {"Logic Express", false, false, false},
    {"Final Cut Pro", false, true, true},
    {"Live", false, true, true},
    {"Tracktion", false, false, false},
    {"Garageband", false, false, false},
    {"DSP Quattro", true, false, false},
    {"Reaper", false, true, true},
    {"Samplitude", true, false, true},
    {"Sequoia", true, false, true},
    {"Pyramix", true, false, true},
    {"Renoise", false, false, true},
    {"DaVinci Resolve", false, true, true},
    {"auval", false, false, true},
    {"SA Hook", false, false, true},
    {"VST Bridge 32", true, false, true},
    {"VST Bridge 64", true, false, true},
    {"gtest (unit tests)", true, false, true},
    {"Studio One", false, false, true},
    {"Unknown", false, false, true},
};
} // namespace

HostTable::Row HostTable::row(uint32_t hostNumber)
{
    if (hostNumber >= RowCount)
        return {"", false, false, false};
    return rows[hostNumber];
}
