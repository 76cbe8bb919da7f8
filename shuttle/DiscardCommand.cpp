#include "shuttle/DiscardCommand.h"
#include "shuttle/Transform.h"

namespace Shuttle {

bool DiscardCommand::ExecuteHigh()
{
    using State = DSP::Transform::State;
    const State state = transform_->state();
    if (state == State::Captured || state == State::ReadyToWrite)
        transform_->setState(State::Idle);
    return false;
}

} // namespace Shuttle
