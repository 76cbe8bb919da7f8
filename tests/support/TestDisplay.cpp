#include "support/TestDisplay.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

namespace TestSupport {
namespace {

// A bound for a loaded machine, never a measure of speed.
constexpr auto Patience = std::chrono::seconds(10);

const char* displayName()
{
    const char* name = std::getenv("DISPLAY");
    return name && *name ? name : nullptr;
}

bool displayRequired()
{
    const char* value = std::getenv(TestDisplay::RequiredVariable);
    return value && *value && std::string(value) != "0";
}

} // namespace

TestDisplay::TestDisplay()
{
    if (!displayName())
        return;
    const auto end = std::chrono::steady_clock::now() + Patience;
    while (!(display_ = XOpenDisplay(nullptr)) && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

TestDisplay::~TestDisplay()
{
    if (display_)
        XCloseDisplay(display_);
}

Display* TestDisplay::connection()
{
    static TestDisplay held;
    return held.display_;
}

bool TestDisplay::readyForWindows()
{
    if (connection())
        return true;
    // FAIL and GTEST_SKIP return from the function they stand in: a lambda here.
    if (const char* name = displayName())
        [name] { FAIL() << "DISPLAY is " << name << " but its X server accepted no connection"; }();
    else if (displayRequired())
        [] {
            FAIL() << "no X display, and " << RequiredVariable << " asks for one: run the tests under "
                   << "xvfb-run -a -s \"-screen 0 1280x1024x24 -noreset\" (scripts/test.sh does)";
        }();
    else
        [] { GTEST_SKIP() << "no X display (scripts/test.sh runs the tests under xvfb-run)"; }();
    return false;
}

} // namespace TestSupport
