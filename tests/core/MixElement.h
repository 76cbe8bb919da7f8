#pragma once
#include "dsp/ElementDispatcher.h"

#include <functional>

// A test element with one parameter of every kind, beside the product's own.
class MixElement final : public DSP::ElementDispatcher {
public:
    static constexpr const char* Name = "Mix";
    explicit MixElement(DSP::ElementHost& host) : ElementDispatcher(host, {0, Name}, 48000.0f, 1, 0, 0, 1)
    {
        DeclareFloat("Gain", -60.0f, 12.0f, 0.0f);
        DeclareBool("Bypass", false);
        DeclareEnum("Mode", {"Clean", "Warm", "Hot"}, 0);
        DeclareUInt("Steps", 1, 16, 4);
        RegisterParameters();
    }

    std::function<void()> onEditorClosing;

private:
    void OnEditorClosing() override
    {
        if (onEditorClosing)
            onEditorClosing();
    }
};
