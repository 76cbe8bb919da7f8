#include "util/PoolAllocator.h"

#include <cstdint>
#include <stdexcept>
#include <utility>

namespace Util {

PoolAllocator::PoolAllocator(String name, std::size_t capacityBytes) : name_(std::move(name))
{
    Reserve(capacityBytes);
}

void PoolAllocator::Reserve(std::size_t bytes)
{
    bytes = RoundUp(bytes);
    if (bytes <= capacity_)
        return;
    if (used_ != 0)
        throw std::logic_error(format("%1: cannot grow while %2 bytes are taken", name_, used_));
    storage_ = std::make_unique<std::byte[]>(bytes + kAlignment);
    const auto address = reinterpret_cast<std::uintptr_t>(storage_.get());
    base_ = storage_.get() + (kAlignment - address % kAlignment) % kAlignment;
    capacity_ = bytes;
}

void* PoolAllocator::Allocate(std::size_t bytes)
{
    const std::size_t size = RoundUp(bytes);
    if (size > capacity_ - used_)
        return nullptr;
    void* block = base_ + used_;
    used_ += size;
    return block;
}

void PoolAllocator::Free(void* block, std::size_t bytes)
{
    const std::size_t size = RoundUp(bytes);
    if (block && size <= used_ && static_cast<std::byte*>(block) == base_ + used_ - size)
        used_ -= size;
}

void PoolAllocator::RestoreMark(Mark mark)
{
    if (mark <= used_)
        used_ = mark;
}

} // namespace Util
