#pragma once
#include <cstdint>

namespace DSP {

namespace multichannel_buffer_detail {
// Guards a view against use after its lifetime or from garbage memory: the word
// holds a fixed pattern only while the view lives.
class view_canary {
public:
    view_canary() = default;
    view_canary(const view_canary&) = default;
    view_canary& operator=(const view_canary&) = default;
    ~view_canary() { *static_cast<volatile uint32_t*>(&word_) = 0; }
    bool IsIntact() const { return word_ == kPattern; }

private:
    static constexpr uint32_t kPattern = 0xC0A1F1E5u;
    uint32_t word_ = kPattern;
};
} // namespace multichannel_buffer_detail

// A view of one block of audio: a frame count and one pointer per channel. The
// view owns nothing.
template <typename T>
class MultichannelBufferView : public multichannel_buffer_detail::view_canary {
public:
    MultichannelBufferView() = default;
    MultichannelBufferView(T* const* channels, uint32_t channelCount, uint32_t frameCount)
        : channels_(channels), channelCount_(channels ? channelCount : 0), frameCount_(frameCount)
    {
    }

    uint32_t GetFrameCount() const { return frameCount_; }
    uint32_t GetChannelCount() const { return channelCount_; }
    T* GetChannel(uint32_t index) const { return index < channelCount_ ? channels_[index] : nullptr; }
    T* const* GetChannels() const { return channels_; }

private:
    T* const* channels_ = nullptr;
    uint32_t channelCount_ = 0;
    uint32_t frameCount_ = 0;
};

} // namespace DSP
