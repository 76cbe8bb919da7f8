#include "lv2/Uris.h"

#include <lv2/atom/atom.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/parameters/parameters.h>
#include <lv2/time/time.h>

namespace Lv2 {

Uris::Uris(const LV2_URID_Map* map)
{
    if (!map)
        return;
    auto m = [map](const char* uri) { return map->map(map->handle, uri); };
    atomBlank = m(LV2_ATOM__Blank);
    atomObject = m(LV2_ATOM__Object);
    atomFloat = m(LV2_ATOM__Float);
    atomDouble = m(LV2_ATOM__Double);
    atomLong = m(LV2_ATOM__Long);
    atomInt = m(LV2_ATOM__Int);
    atomChunk = m(LV2_ATOM__Chunk);
    timePosition = m(LV2_TIME__Position);
    timeFrame = m(LV2_TIME__frame);
    timeSpeed = m(LV2_TIME__speed);
    sampleRate = m(LV2_PARAMETERS__sampleRate);
    maxBlockLength = m(LV2_BUF_SIZE__maxBlockLength);
    nominalBlockLength = m(LV2_BUF_SIZE__nominalBlockLength);
    stateChunk = m(StateChunk);
}

} // namespace Lv2
