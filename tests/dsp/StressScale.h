#pragma once

namespace DspTest {

// Iteration counts of the multi-thread tests: smaller under ThreadSanitizer,
// which runs them many times slower but checks every access.
#ifdef RELAY_TSAN
constexpr int kStressScale = 4;
#else
constexpr int kStressScale = 8;
#endif

} // namespace DspTest
