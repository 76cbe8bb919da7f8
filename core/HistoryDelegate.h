#pragma once
#include <cstdint>
#include <vector>

namespace Util {

// The owner of an undo history: supplies its identity word and its current
// state as bytes. [ui-thread]
class HistoryDelegate {
public:
    virtual ~HistoryDelegate() = default;
    // The word a history file must carry to belong to this owner.
    virtual uint32_t historyWord() const = 0;
    // The current state, as one snapshot's bytes.
    virtual std::vector<uint8_t> historyState() = 0;
};

} // namespace Util
