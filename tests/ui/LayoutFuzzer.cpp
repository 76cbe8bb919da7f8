// libFuzzer target: every input is applied as layout text to a fresh canvas
// holding a panel with a label (so that Child elements find windows), and the
// canvas is then drawn whole: a layout may set any frame, metric and property
// of any window type the window maker knows, and the drawing must cope with
// what it set. Nested layouts reach the embedded table's. Built with clang by
// tests/ui/tests.cmake; the seed corpus is tests/ui/corpus/layout.
#include "ui/Canvas.h"
#include "ui/Image.h"
#include "ui/LayoutLoader.h"
#include "ui/RadudarLabel.h"
#include "util/Log.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    Util::Log::setEcho(false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    UI::Canvas canvas(470, 276);
    UI::Window& panel = UI::Window::create<UI::Window>(canvas, "Panel");
    UI::Window::create<UI::Radudar::Label>(panel, "Label", "Label");
    const std::string_view layout(reinterpret_cast<const char*>(data), size);
    if (!UI::LayoutLoader(canvas).apply(layout, "fuzz", &canvas))
        return 0;
    UI::Image image(canvas.width(), canvas.height());
    canvas.renderAll(image);
    return 0;
}
