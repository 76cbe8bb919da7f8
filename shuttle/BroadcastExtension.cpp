#include "shuttle/BroadcastExtension.h"

#include "core/RecordView.h"
#include "platform/LocalTime.h"

#include <algorithm>
#include <cstring>

namespace Shuttle {

std::vector<uint8_t> BroadcastExtension::chunk(uint64_t timeReference)
{
    std::vector<uint8_t> bytes(Size, 0);
    const RecordView fields(bytes.data());
    fields.setText(OriginatorOffset, OriginatorSize, Originator);
    const auto now = Platform::localDateTimeNow();
    std::memcpy(bytes.data() + OriginationDateOffset, now.date.data(), std::min(now.date.size(), OriginationDateSize));
    std::memcpy(bytes.data() + OriginationTimeOffset, now.time.data(), std::min(now.time.size(), OriginationTimeSize));
    fields.setU32(TimeReferenceLowOffset, uint32_t(timeReference));
    fields.setU32(TimeReferenceHighOffset, uint32_t(timeReference >> 32));
    return bytes;
}

} // namespace Shuttle
