#include "core/BufferProfiler.h"

#include <algorithm>
#include <iomanip>
#include <sstream>

namespace {
constexpr auto relaxed = std::memory_order_relaxed;
constexpr auto acquire = std::memory_order_acquire;
constexpr auto release = std::memory_order_release;

// Figures for a spreadsheet: never in exponent form.
Util::String fixed(double value, int decimals)
{
    std::ostringstream s;
    s << std::fixed << std::setprecision(decimals) << value;
    return s.str();
}
} // namespace

double BufferProfiler::Block::budgetNanoseconds() const
{
    return sampleRate > 0.0f ? double(frames) * 1e9 / double(sampleRate) : 0.0;
}

double BufferProfiler::Block::loadPercent() const
{
    const double budget = budgetNanoseconds();
    return budget > 0.0 ? 100.0 * double(nanoseconds) / budget : 0.0;
}

BufferProfiler::BufferProfiler(Util::String name, Util::String group, Util::String parent, size_t capacity)
    : registry_(BufferProfilerRegistry::instance()),
      name_(std::move(name)),
      group_(std::move(group)),
      parent_(std::move(parent)),
      slots_(std::make_unique<Slot[]>(std::max<size_t>(capacity, 1))),
      capacity_(std::max<size_t>(capacity, 1))
{
    registry_.add(*this);
}

BufferProfiler::~BufferProfiler() { registry_.remove(*this); }

void BufferProfiler::end(uint64_t started, uint64_t frames, float sampleRate)
{
    const uint64_t elapsed = registry_.now() - started;
    lastSampleRate_.store(sampleRate, relaxed);

    // load% = 100 * time / (frames / rate): compared without a division, so
    // that a block under the threshold costs only a few multiplications.
    const double scaledTime = double(elapsed) * registry_.nanosecondsPerTick() * double(sampleRate) * 100.0;
    const double scaledThreshold = double(registry_.thresholdPercent()) * double(frames) * 1e9;
    if (frames > 0 && sampleRate > 0.0f && scaledTime > scaledThreshold)
        raiseAlert(float(scaledTime / (double(frames) * 1e9)));
    if (registry_.paused())
        return;

    // A slot is marked empty while it is rewritten, so that a reader never
    // takes half of one block and half of another. The fields are stored with
    // release order, so none of them is seen before the mark (a fence would
    // do the same, but the thread checker cannot follow fences).
    const uint64_t number = written_.load(relaxed);
    Slot& slot = slots_[nextSlot_];
    nextSlot_ = nextSlot_ + 1 == capacity_ ? 0 : nextSlot_ + 1;
    slot.sequence.store(0, relaxed);
    slot.frames.store(frames, release);
    slot.ticks.store(elapsed, release);
    slot.sampleRate.store(sampleRate, release);
    slot.sequence.store(number + 1, release);
    written_.store(number + 1, release);
}

// The alert keeps the highest load until the user-interface side takes it.
void BufferProfiler::raiseAlert(float load)
{
    dropouts_.fetch_add(1, relaxed);
    float pending = alertLoad_.load(relaxed);
    while (load > pending && !alertLoad_.compare_exchange_weak(pending, load, release, relaxed)) {
    }
}

std::vector<BufferProfiler::Block> BufferProfiler::log() const
{
    const uint64_t written = written_.load(acquire);
    const uint64_t cleared = cleared_.load(acquire);
    const uint64_t first = std::max(cleared, written > capacity_ ? written - capacity_ : 0);
    const double nanosecondsPerTick = registry_.recalibrate();
    std::vector<Block> blocks;
    blocks.reserve(size_t(written - first));
    for (uint64_t n = first; n < written; ++n) {
        const Slot& slot = slots_[n % capacity_];
        if (slot.sequence.load(acquire) != n + 1)
            continue; // overwritten meanwhile
        // Acquire loads keep the second look at the mark after the fields.
        const uint64_t frames = slot.frames.load(acquire);
        const uint64_t ticks = slot.ticks.load(acquire);
        const float sampleRate = slot.sampleRate.load(acquire);
        if (slot.sequence.load(relaxed) == n + 1)
            blocks.push_back({n - cleared, frames, uint64_t(double(ticks) * nanosecondsPerTick + 0.5), sampleRate});
    }
    return blocks;
}

void BufferProfiler::clearLog()
{
    cleared_.store(written_.load(acquire), release);
    dropouts_.store(0, relaxed);
    alertLoad_.store(0.0f, relaxed);
}

std::optional<double> BufferProfiler::takeAlert()
{
    const float load = alertLoad_.exchange(0.0f, std::memory_order_acq_rel);
    if (load <= 0.0f)
        return std::nullopt;
    return double(load);
}

Util::String BufferProfiler::logText() const
{
    Util::String text = Util::format("Profiler %1\nSampling rate %2 Hz\n", name_, double(lastSampleRate_.load(relaxed)));
    text += "Block\tFrames\tTime (us)\tBudget (us)\tLoad (%)\tDropout\n";
    const double threshold = registry_.thresholdPercent();
    for (const Block& b : log()) {
        const double load = b.loadPercent();
        text += Util::format("%1\t%2\t%3\t%4\t%5\t%6\n", b.number, b.frames, fixed(double(b.nanoseconds) / 1000.0, 3),
                             fixed(b.budgetNanoseconds() / 1000.0, 3), fixed(load, 2), load > threshold ? "yes" : "no");
    }
    return text;
}
