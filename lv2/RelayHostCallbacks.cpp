#include "lv2/RelayHostCallbacks.h"

#include <fstream>

namespace Lv2 {

RelayHostCallbacks::RelayHostCallbacks() : HostCallbacks(describeProcess()) {}

Wrapper::HostDescription RelayHostCallbacks::describeProcess()
{
    Wrapper::HostDescription host;
    host.formatIdentifier = EntryProtocol::Format::Lv2;
    std::ifstream comm("/proc/self/comm");
    std::string name;
    if (std::getline(comm, name) && !name.empty())
        host.name = name;
    else
        host.name = "LV2 host";
    return host;
}

void RelayHostCallbacks::statusWordChanged(uint32_t word, uint32_t value)
{
    if (word == 0)
        setLatency(value);
    HostCallbacks::statusWordChanged(word, value);
}

} // namespace Lv2
