#include "shuttle/ReferenceClipCommand.h"
#include "shuttle/Transform.h"

namespace Shuttle {

ReferenceClipCommand::ReferenceClipCommand(MainWindowActions& window, DSP::Transform& transform, bool reference)
    : windowAction_(window, [reference](MainWindowActions& w) { w.setReference(reference); }),
      transform_(&transform),
      reference_(reference)
{
}

bool ReferenceClipCommand::ExecuteHigh()
{
    transform_->fileHandler().setReferenceMode(reference_);
    return false;
}

bool ReferenceClipCommand::ExecuteLow()
{
    windowAction_.run();
    return false;
}

} // namespace Shuttle
