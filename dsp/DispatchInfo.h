#pragma once
#include "param/Param.h"
#include "dsp/DSPCommandMailbox.h"
#include "dsp/DispatchInfoBase.h"
#include "dsp/DispatcherCommand.h"

#include <boost/function.hpp>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <functional>
#include <type_traits>
#include <vector>

namespace DSP {

// Keeps the two copies of one element parameter in step. The audio side's value
// lives in the element (an atomic, written only on the audio side or under the
// processing lock); this record holds the user-interface side's cached copy.
//
// A change from the user interface (SetValue mode 1) is cached and travels to
// the audio side as a DispatcherCommand; while any is in flight, Poll ignores the
// audio side's value, so a change on its way is not overwritten by the old one.
// A change made on the audio side is taken over by Poll and delivered by Apply.
template <typename T>
class DispatchInfo final : public DispatchInfoBase {
public:
    using Listener = std::function<void(uint32_t mode, T value, uint64_t tag)>;

    DispatchInfo(DSPCommandMailbox& mailbox, std::atomic<T>& audioValue, T minimum, T maximum)
        : cached_(audioValue.load()), minimum_(minimum), maximum_(maximum), audioValue_(&audioValue),
          mailbox_(&mailbox)
    {
    }

    // Clamps the value into the range and tells the listeners; on the audio side
    // (mode 0) stores it there, on the user-interface side (mode 1) caches it and
    // sends it there unless that side already has it. [audio-thread] for mode 0 (or the
    // processing lock held), [any-thread] but the audio thread for mode 1
    void SetValue(uint32_t mode, T value, uint64_t tag)
    {
        value = Clamp(value);
        if (mode == kAudioSide)
            audioValue_->store(value, std::memory_order_release);
        for (const auto& listener : listeners_)
            listener(mode, value, tag);
        if (mode == kAudioSide)
            return;
        // Compared with what this side sees now (not only the cache, which may
        // lag behind an audio-side change Poll has not taken over yet).
        const bool unchanged = value == GetUserInterfaceValue();
        cached_ = value;
        if (unchanged)
            return;
        inFlight_.fetch_add(1, std::memory_order_acq_rel);
        mailbox_->Post(new DispatcherCommand<T>(*this, value, tag));
    }

    bool Poll() override
    {
        if (inFlight_.load(std::memory_order_acquire) != 0)
            return false;
        const T audio = audioValue_->load(std::memory_order_acquire);
        if (audio == cached_)
            return false;
        cached_ = audio;
        changed_ = true;
        return true;
    }

    void Apply() override
    {
        if (!changed_)
            return;
        changed_ = false;
        if (controller_)
            controller_->SetValue(cached_);
        if (changeSignal_ && signalMode_ != kSignalSuppressed)
            (*changeSignal_)(cached_);
    }

    void Notify() override
    {
        const T value = audioValue_->load(std::memory_order_acquire);
        onChange_(value); // throws when no callback is set
        for (const auto& listener : listeners_)
            listener(kUserInterfaceSide, value, 0);
    }

    // What the user-interface side sees: the value in flight, else the audio side's.
    T GetUserInterfaceValue() const
    {
        return inFlight_.load(std::memory_order_acquire) != 0 ? cached_ : audioValue_->load(std::memory_order_acquire);
    }
    T GetCachedValue() const { return cached_; }
    int32_t GetInFlightCount() const { return inFlight_.load(std::memory_order_acquire); }
    T GetMinimum() const { return minimum_; }
    T GetMaximum() const { return maximum_; }

    // Set up before the element processes, or under its processing lock. [ui-thread]
    void AddListener(Listener listener) { listeners_.push_back(std::move(listener)); }
    void SetController(Controller::Param<T>* controller) { controller_ = controller; }
    Controller::Param<T>* GetController() const { return controller_; }
    void SetChangeSignal(Util::Signal<void(T)>* signal, uint32_t mode)
    {
        changeSignal_ = signal;
        signalMode_ = mode;
    }
    void SetOnChange(boost::function<void(T)> callback) { onChange_ = std::move(callback); }

private:
    template <typename>
    friend class DispatcherCommand;
    void EndFlight() { inFlight_.fetch_sub(1, std::memory_order_acq_rel); }

    T Clamp(T value) const
    {
        if constexpr (std::is_same_v<T, bool>) {
            return value;
        } else {
            if constexpr (std::is_floating_point_v<T>)
                if (std::isnan(value))
                    return minimum_;
            return std::clamp(value, minimum_, maximum_);
        }
    }

    std::atomic<int32_t> inFlight_{0};
    T cached_;
    T minimum_;
    T maximum_;
    std::atomic<T>* audioValue_;
    bool changed_ = false;
    Controller::Param<T>* controller_ = nullptr;
    Util::Signal<void(T)>* changeSignal_ = nullptr;
    uint32_t signalMode_ = 0;
    boost::function<void(T)> onChange_;
    std::vector<Listener> listeners_;
    DSPCommandMailbox* mailbox_;
};

template <typename T>
bool DispatcherCommand<T>::ExecuteOnProcess()
{
    record_.SetValue(DispatchInfoBase::kAudioSide, value_, tag_);
    record_.EndFlight();
    return false;
}

} // namespace DSP
