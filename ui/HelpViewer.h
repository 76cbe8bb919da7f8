#pragma once
#include <cstdint>
#include <functional>
#include <memory>

#include "util/Text.h"

namespace UI {

// Shows pages of the product family's manual; the help layer provides it
// (Help::HelpManager, above this layer), the main window makes one the first
// time help is asked for. [ui-thread]
class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    virtual void showHelp(uint32_t pageId) const = 0;
};

// Makes the viewer, given the document root that the preferences name
// ("HelpDocPath"; empty: the manual's default place).
using HelpViewerFactory = std::function<std::unique_ptr<HelpViewer>(const Util::String& documentRoot)>;

} // namespace UI
