#pragma once

// Xlib's display, declared as Xlib does: its header's macros (None, Bool,
// Status) break GoogleTest's headers included after it.
typedef struct _XDisplay Display;

namespace TestSupport {

// The X server that the window tests draw on, the one DISPLAY names.
//
// A server that is starting, or resetting because its last client left,
// refuses connections for a moment. The program's own connection is therefore
// retried until it opens (or a bound for a loaded machine passes), and then
// held until the program ends: while it is open the server never resets under
// the connections that the code under test opens.
class TestDisplay {
public:
    // scripts/test.sh sets it (to 1): there a missing display fails the window
    // tests instead of skipping them.
    static constexpr const char* RequiredVariable = "RELAY_REQUIRE_DISPLAY";

    // The program's connection, opened at the first call. Null without
    // DISPLAY, or when the server did not accept a connection within the bound.
    static Display* connection();

    // For the set-up of a test that opens windows: true when it can. Otherwise
    // the running test is marked skipped (no DISPLAY) or failed (no DISPLAY
    // under RELAY_REQUIRE_DISPLAY, or a server that does not answer), with the
    // reason, and the caller returns.
    static bool readyForWindows();

private:
    TestDisplay();
    ~TestDisplay();
    TestDisplay(const TestDisplay&) = delete;
    TestDisplay& operator=(const TestDisplay&) = delete;

    Display* display_ = nullptr;
};

} // namespace TestSupport
