#include "core/EntryLog.h"

#include "platform/Clock.h"

#include <algorithm>

void EntryLog::start()
{
    std::lock_guard<std::mutex> lock(mutex_);
    entries_.clear();
    entries_.reserve(Capacity);
    startTick_ = Platform::tickCount();
    recording_.store(true, std::memory_order_release);
}

void EntryLog::record(uint64_t frames)
{
    if (!recording())
        return;
    std::unique_lock<std::mutex> lock(mutex_, std::try_to_lock);
    if (!lock.owns_lock() || entries_.size() >= entries_.capacity()) {
        ++dropped_;
        return;
    }
    entries_.push_back((uint64_t(Platform::tickCount()) << 32) | (frames & 0xFFFFFFFFu));
    status_ = 1;
}

void EntryLog::drain(const CoreRecords::Drain& request)
{
    std::lock_guard<std::mutex> lock(mutex_);
    *request.status = status_;
    *request.constant = Constant;
    *request.count = uint32_t(entries_.size());
    *request.droppedEntries = dropped_;
    *request.recordingStartTick = startTick_;
    if (request.entries) {
        std::copy(entries_.begin(), entries_.end(), request.entries);
        entries_.clear();
        status_ = 0;
    }
}
