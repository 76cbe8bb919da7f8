#pragma once
#include "dsp/MultichannelBufferView.h"
#include "dsp/ParamDeclaration.h"
#include "util/Text.h"

#include <boost/noncopyable.hpp>

#include <cstddef>
#include <cstdint>
#include <optional>

namespace Controller {
class ControllerSet;
}

namespace DSP {

class DSPCommand;

// A named, self-contained processing unit: its own sample rate, channel layout,
// parameters, scratch needs and command mailbox. Elements live in a DSPSet and
// reach their owner through the ElementHost.
class Element : private boost::noncopyable {
public:
    virtual ~Element() = default;

    virtual Util::NameRecord GetName() const = 0; // [any-thread]

    // The user-interface side's command pump. [ui-thread]
    virtual void PumpCommands() = 0;
    // Delivers parameter changes between the two sides. [ui-thread]
    virtual void DispatchParameters() = 0;

    virtual uint32_t GetChildCount() const = 0;
    virtual Element* GetChild(uint32_t index) const = 0; // null beyond the count

    // Offers a new format; true when the element took it in place, false when the
    // owner must replace the element by a new one. [ui-thread]
    virtual bool SetFormat(float sampleRate, uint32_t channelFormat) = 0;

    virtual float GetSampleRate() const = 0;
    virtual uint32_t GetChannelFormat() const = 0;
    virtual uint32_t GetChannelCount() const = 0;
    virtual uint32_t GetLatency() const = 0; // frames
    virtual uint32_t GetRegionCount() const = 0;

    // Parameters, by index in registration order or by name. [any-thread]
    virtual uint32_t GetParameterCount() const = 0;
    virtual std::optional<uint32_t> FindParameter(const Util::String& name) const = 0;
    virtual const ParamDeclaration* GetParameterDeclaration(uint32_t index) const = 0;
    // On the processing thread the audio side's value, elsewhere the value the
    // user-interface side sees. Nothing beyond the count.
    virtual std::optional<ParamValue> GetParameterValue(uint32_t index) const = 0;
    // Sets a value on the caller's side (see ElementDispatcher). False beyond the
    // count or for a value of the wrong kind.
    virtual bool SetParameterValue(uint32_t index, const ParamValue& value, uint64_t tag = 0) = 0;

    // The element's controllers, made on first use. [ui-thread]
    virtual Controller::ControllerSet& GetControllerSet() = 0;

    // Nesting: only the outermost pair reaches the element's hooks and children.
    // [ui-thread]
    virtual void Activate() = 0;
    virtual void Deactivate() = 0;
    // The instance's editor is about to close: the element and its children let
    // go of what they keep for it. [ui-thread]
    virtual void EditorClosing() = 0;

    // [any-thread] & processing lock allowed
    virtual void Reset() = 0;
    // ProcessRegion of region 0. [audio-thread]
    virtual void Process(uint32_t frames, const MultichannelBufferView<float>& view) = 0;
    // Runs pending commands, then processes `frames` frames of `view` in place.
    // Zero frames only runs the commands. [audio-thread]
    virtual void ProcessRegion(uint32_t region, uint32_t frames, const MultichannelBufferView<float>& view) = 0;

    // Takes ownership of `command`. [any-thread] but the audio thread
    virtual void Post(DSPCommand* command) = 0;
    // Whether the output is the processed signal (false: bypassed). [audio-thread]
    virtual bool IsActive() const = 0;

    // Scratch bytes one block needs from the host's pool. [ui-thread]
    virtual std::size_t GetScratchBytes() const = 0;
    virtual uint32_t GetMaxBlockSize() const = 0;
    // Frames the element may still produce after its input ends.
    virtual uint32_t GetTailFrames() const = 0;
};

} // namespace DSP
