#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "core/HistoryDelegate.h"
#include "util/Text.h"

namespace Util {

// An undo history: snapshots of the owner's state, in order, each with a text,
// and a fixed table of marker slots that may each point at a snapshot. [ui-thread]
class History {
public:
    struct Snapshot {
        std::vector<uint8_t> bytes;
        String text;
        bool operator==(const Snapshot&) const = default;
    };
    static constexpr uint32_t DefaultMarkerSlots = 10;
    static constexpr const char* InitialStateText = "<Initial State>";

    explicit History(uint32_t markerSlots = DefaultMarkerSlots) : markers_(markerSlots) {}

    // Empties the history and adds the owner's current state as "<Initial State>".
    void reset(HistoryDelegate& delegate);
    void clear();
    void add(Snapshot snapshot) { snapshots_.push_back(std::move(snapshot)); }

    const std::vector<Snapshot>& snapshots() const { return snapshots_; }
    uint32_t markerSlotCount() const { return uint32_t(markers_.size()); }
    std::optional<uint32_t> marker(uint32_t slot) const { return slot < markers_.size() ? markers_[slot] : std::nullopt; }
    void setMarker(uint32_t slot, uint32_t position); // slot below markerSlotCount()

private:
    std::vector<Snapshot> snapshots_;
    std::vector<std::optional<uint32_t>> markers_;
};

} // namespace Util
