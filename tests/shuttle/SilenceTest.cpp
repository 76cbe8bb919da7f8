#include "shuttle/Silence.h"

#include <gtest/gtest.h>

namespace {

using Shuttle::Silence;

// The time-out's question on the millisecond tick, which wraps after 49 days:
// silent for longer than the limit since the later of the last block and the
// end of the audio side's last wait for the disk.
TEST(Silence, CountsFromTheLaterOfTheLastBlockAndTheEndOfTheLastWait)
{
    constexpr uint32_t Limit = 500;
    constexpr uint32_t NearWrap = 0xFFFFFF00u;
    constexpr uint32_t LongAgo = 10000; // a wait that ended this long before the last block
    struct Case {
        const char* what;
        uint32_t now, lastBlock, activeAt;
        bool silent;
    };
    const Case cases[] = {
        {"a block within the limit", 1400, 1000, 1000 - LongAgo, false},
        {"exactly the limit", 1500, 1000, 1000 - LongAgo, false},
        {"a block older than the limit", 1501, 1000, 1000 - LongAgo, true},
        {"an old block, but a wait that just ended", 3000, 1000, 2900, false},
        {"an old block and an old wait", 3000, 1000, 2000, true},
        {"a wait that ended before the last block", 3000, 2800, 1000, false},
        {"a wait that ended after the question was put", 3000, 1000, 3100, false},
        {"a block after the question was put", 3000, 3050, Silence::NoWait, false},
        {"no wait, an old block", 3000, 1000, Silence::NoWait, true},
        {"the tick wrapped since the last block", 0x100, NearWrap, NearWrap - LongAgo, true},
        {"the tick wrapped, within the limit", 0x10, NearWrap, NearWrap - LongAgo, false},
        {"the tick wrapped, a wait ended since", 0x300, NearWrap, 0x200, false},
        {"no wait, the tick wrapped since the last block", 0x100, NearWrap, Silence::NoWait, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Silence::longerThan(Limit, c.now, c.lastBlock, c.activeAt), c.silent) << c.what;
}

} // namespace
