#include "shuttle/LoadRepairedFileCommand.h"
#include "shuttle/Transform.h"

namespace Shuttle {

bool LoadRepairedFileCommand::ExecuteHigh()
{
    transform_->fileHandler().setRepairedList(std::move(files_));
    transform_->setState(DSP::Transform::State::ReadyToWrite);
    return false;
}

} // namespace Shuttle
