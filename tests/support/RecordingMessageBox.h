#pragma once
#include "platform/MessageBox.h"

#include <string>
#include <vector>

namespace TestSupport {

// A notice as the user would read it.
struct Notice {
    std::string title;
    std::string text;
    bool operator==(const Notice&) const = default;
};

// Keeps the notices shown instead of showing them; a test installs it.
struct RecordingMessageBox final : Platform::MessageBox {
    std::vector<Notice> shown;
    void show(const Util::String& title, const Util::String& text, Icon) override { shown.push_back({title, text}); }
};

} // namespace TestSupport
