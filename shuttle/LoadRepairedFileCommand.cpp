#include "shuttle/LoadRepairedFileCommand.h"
#include "shuttle/Transform.h"

namespace Shuttle {

bool LoadRepairedFileCommand::ExecuteHigh()
{
    transform_->fileHandler().setRepairedList(std::move(files_));
    transform_->setState(3);
    return false;
}

} // namespace Shuttle
