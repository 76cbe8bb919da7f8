#include "lv2/HostTransport.h"

#include <lv2/atom/util.h>

namespace Lv2 {

bool HostTransport::readEvents(const LV2_Atom_Sequence* events)
{
    const bool wasRolling = rolling_;
    LV2_ATOM_SEQUENCE_FOREACH (events, event) {
        const LV2_Atom& body = event->body;
        if (body.type != uris_.atomObject && body.type != uris_.atomBlank)
            continue;
        const auto* object = reinterpret_cast<const LV2_Atom_Object*>(&body);
        if (object->body.otype == uris_.timePosition)
            readPosition(object);
    }
    return rolling_ != wasRolling;
}

void HostTransport::readPosition(const LV2_Atom_Object* position)
{
    const LV2_Atom* frame = nullptr;
    const LV2_Atom* speed = nullptr;
    lv2_atom_object_get(position, uris_.timeFrame, &frame, uris_.timeSpeed, &speed, 0);
    if (frame && frame->type == uris_.atomLong)
        position_ = double(reinterpret_cast<const LV2_Atom_Long*>(frame)->body);
    if (speed && speed->type == uris_.atomFloat)
        rolling_ = reinterpret_cast<const LV2_Atom_Float*>(speed)->body != 0.0f;
    else if (speed && speed->type == uris_.atomDouble)
        rolling_ = reinterpret_cast<const LV2_Atom_Double*>(speed)->body != 0.0;
}

void HostTransport::reset()
{
    position_ = 0.0;
    rolling_ = true;
}

} // namespace Lv2
