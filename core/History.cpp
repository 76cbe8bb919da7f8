#include "core/History.h"

namespace Util {

void History::reset(HistoryDelegate& delegate)
{
    clear();
    snapshots_.push_back({delegate.historyState(), InitialStateText});
}

void History::clear()
{
    snapshots_.clear();
    for (auto& m : markers_)
        m.reset();
}

void History::setMarker(uint32_t slot, uint32_t position)
{
    if (slot < markers_.size())
        markers_[slot] = position;
}

} // namespace Util
