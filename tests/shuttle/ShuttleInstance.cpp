#include "ShuttleInstance.h"

#include "io/ConfigFile.h"

namespace {
int32_t quietWrapper(int32_t, uint32_t, uint32_t, void*, void*) { return 1; }
} // namespace

std::unique_ptr<Plugin> createInstance(TestFactory& factory, uint32_t format)
{
    CoreRecords::Creation c;
    c.callback = &quietWrapper;
    c.name = "Shuttle Test";
    c.sampleRate = 48000.0f;
    c.channelConfiguration = 1;
    c.hostContext.setFormatIdentifier(format);
    return std::make_unique<Plugin>(c, factory);
}

int32_t RecordingShell::open(const Util::String&, const Util::String& path, const Util::String&)
{
    keyWasSet = Util::ConfigFile("SOFTWARE\\Quillex\\TW6Relay").GetBool("ShuttleOpenFilesAtStartUp", false);
    opened.push_back(path);
    return Started;
}
