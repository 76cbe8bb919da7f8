#include "dsp/Command.h"

namespace Atomic {

Command::~Command()
{
    // A volatile store: the mark must reach memory although the object dies here.
    *static_cast<volatile uint32_t*>(&lifeMark_) = kDeadMark;
}

} // namespace Atomic
