#pragma once
#include "platform/MessageBox.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace Platform {

// What a notice looks like, apart from the window that shows it: its size,
// where its button is, and its pixels. The window toolkit draws it; the
// platform's dialog only puts the pixels on screen and reports the pointer.
// [any-thread] for the thread that owns it
class MessageBoxFace {
public:
    virtual ~MessageBoxFace() = default;
    virtual int width() const = 0;
    virtual int height() const = 0;
    virtual bool onButton(int x, int y) const = 0;
    virtual bool buttonPressed() const = 0;
    virtual void setButtonPressed(bool pressed) = 0;
    // Draws the whole face; answers its RGBA rows of `stride()` bytes each.
    virtual const uint8_t* draw() = 0;
    virtual int stride() const = 0;
};

// Makes the face of one notice.
using MessageBoxFaceMaker =
    std::function<std::unique_ptr<MessageBoxFace>(const Util::String& text, MessageBox::Icon icon)>;

} // namespace Platform
