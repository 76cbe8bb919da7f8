#pragma once
#include <cstdint>

#include <lv2/atom/atom.h>

#include "lv2/Uris.h"

namespace Lv2 {

// The host's transport as the plug-in keeps it between blocks: the position
// and whether it rolls, from the time:Position objects of the control port,
// else advanced by the blocks themselves (a host that sends no transport rolls
// from 0). [audio-thread]
class HostTransport {
public:
    explicit HostTransport(const Uris& uris) : uris_(uris) {}

    // Reads the block's events; true when rolling changed.
    bool read(const LV2_Atom_Sequence* events) { return events && uris_.timePosition && readEvents(events); }
    // After a block of `frames`.
    void advance(uint32_t frames)
    {
        if (rolling_)
            position_ += double(frames);
    }
    void reset();

    double position() const { return position_; }
    bool rolling() const { return rolling_; }

private:
    bool readEvents(const LV2_Atom_Sequence* events);
    void readPosition(const LV2_Atom_Object* position);

    const Uris& uris_;
    double position_ = 0.0;
    bool rolling_ = true;
};

} // namespace Lv2
