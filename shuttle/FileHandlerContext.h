#pragma once
#include <cstdint>

namespace Util {
class ConfigFile;
}

namespace Shuttle {

// What the file handler asks of its owner (the product transform).
class FileHandlerContext {
public:
    struct Position {
        int64_t samples = 0;
        bool valid = false;
    };
    virtual ~FileHandlerContext() = default;

    virtual uint32_t channelCount() const = 0;           // the instance's configured count [any-thread]
    virtual Position transportPosition() const = 0;      // the host's sample position, rounded [audio-thread]
    virtual Util::ConfigFile& configurationStore() = 0;  // the plug-in's settings [any-thread], not audio
    virtual uint32_t shuttleState() const = 0;           // "Shuttle State", DSP::ShuttleElement::State [any-thread]
    // Sets a boolean key of the plug-in's settings after the call returns: the
    // settings store is a database, and the disk thread does not wait on it. [disk-thread]
    virtual void storeFlagLater(const char* key, bool value) = 0;
};

} // namespace Shuttle
