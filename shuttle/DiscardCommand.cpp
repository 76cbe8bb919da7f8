#include "shuttle/DiscardCommand.h"
#include "shuttle/Transform.h"

namespace Shuttle {

bool DiscardCommand::ExecuteHigh()
{
    const uint32_t state = transform_->state();
    if (state == 2 || state == 3)
        transform_->setState(0);
    return false;
}

} // namespace Shuttle
