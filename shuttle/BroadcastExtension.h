#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace Shuttle {

// The 'bext' chunk of a clip file, laid out as the Broadcast Wave Format's:
// 602 bytes of fixed fields and one of coding history, all zero but the
// originator, the origination date and time (local, now) and the time
// reference, the clip's start in samples since the timeline's origin.
class BroadcastExtension {
public:
    static constexpr size_t Size = 603;
    static constexpr size_t OriginatorOffset = 256;
    static constexpr size_t OriginatorSize = 32;
    static constexpr size_t OriginationDateOffset = 320; // "yyyy-mm-dd"
    static constexpr size_t OriginationDateSize = 10;
    static constexpr size_t OriginationTimeOffset = 330; // "hh:mm:ss"
    static constexpr size_t OriginationTimeSize = 8;
    static constexpr size_t TimeReferenceLowOffset = 338;
    static constexpr size_t TimeReferenceHighOffset = 342;
    static constexpr const char* Originator = "TW 6 Relay";

    static std::vector<uint8_t> chunk(uint64_t timeReference); // [disk-thread]
};

} // namespace Shuttle
