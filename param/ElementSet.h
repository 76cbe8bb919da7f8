#pragma once
#include <cstdint>
#include <vector>

#include "param/ParamRegistration.h"

namespace DSP {
class DSPSetImpl;
}

// What the instance asks of its element set. The instance owns one; the
// block pass splits blocks into sub-blocks no longer than maxSubBlockSize().
class ElementSet {
public:
    // One side bus of a sub-block: its channel pointers at the sub-block's offset.
    struct SideBus {
        float* const* channels;
        uint32_t channelCount;
    };
    // The host's render request (selector 27): four words handed on, a flag the
    // set may change, and its answer.
    struct RenderRequest {
        uint64_t first = 0;
        uint32_t second = 0;
        uint32_t third = 0;
        uint64_t fourth = 0;
        uint32_t flag = 0;
        uint32_t answer = 0;
    };

    virtual ~ElementSet() = default;

    virtual void start() = 0;   // activation [any-thread]
    virtual void stop() = 0;    // deactivation [any-thread]
    virtual void connect() = 0; // the connection step after start [any-thread]

    // Every element's process with 0 frames and no buffers: runs pending commands. [audio-thread]
    virtual void runPendingCommands() = 0;
    virtual uint32_t maxSubBlockSize() const = 0;
    // One sub-block, processed in place on the channel pointers. [audio-thread]
    virtual void processSubBlock(uint32_t frames, float* const* channels, uint32_t channelCount,
                                 const SideBus* sideBuses, uint32_t sideBusCount) = 0;
    virtual void beforeBlock(uint32_t count, const uint8_t* items) = 0; // [audio-thread]
    virtual void afterBlock() = 0;                                      // [audio-thread]
    virtual void bypass(uint64_t frames, float* const* inputs, float* const* outputs, uint32_t channels) = 0;

    virtual uint32_t elementCount() const = 0;
    virtual uint32_t parameterCount() const = 0; // summed over the elements
    virtual uint32_t latency() const = 0;        // frames
    virtual uint32_t tailFrames() const = 0;
    virtual void runStateChanged(bool running) = 0;
    virtual void reconfigure(float sampleRate, uint32_t channelConfiguration) = 0;
    virtual uint32_t exchangeHostWord(uint32_t word) = 0;              // selector 24
    virtual bool answersYes(uint32_t subject, uint32_t detail) = 0;    // selector 32
    virtual void hostValue(float) {}                                   // selector 25
    virtual void notify() {}                                           // selector 26: the host stopped processing
    // Selector 37, code 2: an address, a word and a flag of the host, kept by the set. [any-thread]
    virtual void hostContext(uint64_t pointer, uint64_t word, bool flag) { (void)pointer, (void)word, (void)flag; }
    // Selector 27: the set may change the flag and answers.
    virtual void renderRequest(RenderRequest& request) { (void)request; }
    // Selector 40 ids the core does not know; true when taken.
    virtual bool propertyMessage(uint32_t id, uint32_t size, uint64_t data)
    {
        (void)id, (void)size, (void)data;
        return false;
    }
    // The user-interface side's share of the idle service. [ui-thread]
    virtual void idle() {}
    // The editor is about to close: every element's closing step. [ui-thread]
    virtual void editorClosing() {}

    // The elements behind the set, whose parameters the instance shows to the
    // host and keeps in its saved state; none for a set without elements.
    virtual DSP::DSPSetImpl* dspSet() { return nullptr; }
    // Which element parameters the host may automate, and under which names. [any-thread]
    virtual std::vector<ParamRegistration> parameterRegistrations() const { return {}; }
};
