#include "shuttle/HostSets.h"

#include "core/HostTable.h"

#include <algorithm>
#include <initializer_list>

namespace Shuttle {

namespace {
bool in(uint32_t host, std::initializer_list<uint32_t> set) { return std::find(set.begin(), set.end(), host) != set.end(); }
} // namespace

bool HostSets::unsupported(uint32_t host) { return host < 37 && host != 36 && !HostTable::supported(host); }

bool HostSets::stopClosesPlayback(uint32_t host, std::optional<HostVersion> version)
{
    if (in(host, {1, 2, 3, 4, 11, 14, 25, 26}))
        return true;
    if (host != 6)
        return false;
    const HostVersion v = version.value_or(HostVersion{1, 0, 0}); // unknown counts as 1.0
    return v.major > 8 || (v.major == 8 && v.minor >= 1);
}

bool HostSets::linkDropping(uint32_t host) { return in(host, {25, 26}); }
bool HostSets::refreshIdles(uint32_t host) { return in(host, {5, 6}); }
bool HostSets::supported(uint32_t host) { return in(host, {1, 2, 3, 4, 10, 11, 14, 25, 26, 27}); }
bool HostSets::writeTimeOut(uint32_t host) { return in(host, {1, 2, 3, 4, 10, 14, 25, 26, 27}); }
bool HostSets::readTimeOut(uint32_t host) { return in(host, {1, 2, 3, 4, 11, 14, 25, 26, 27}); }
bool HostSets::rescanInReadyState(uint32_t host) { return in(host, {4, 11}); }
bool HostSets::silentClose(uint32_t host) { return in(host, {1, 2, 34}); }
bool HostSets::noSilenceAfterEnd(uint32_t host) { return host == 10; }

} // namespace Shuttle
