#pragma once
#include <cstdint>

#include "util/Text.h"

namespace UI {

// The host application as the main window sees it: its row of the host table
// (made by the shuttle's host identification) and what the window's texts and
// timers derive from it. A row of 37 or more answers false to every question.
// [any-thread]
class HostRow {
public:
    static constexpr uint32_t Unknown = 36;

    explicit HostRow(uint32_t row) : row_(row) {}
    // The row of the running process.
    static HostRow ofProcess();

    uint32_t number() const { return row_; }
    bool supported() const;
    // The window advises using the editor as the host's external editor.
    bool recommendsExternalEditor() const;
    // Not supported, "Unknown" aside: the window shows that and nothing else.
    bool unsupported() const;
    bool bitBridge() const;
    // The editor leaves its requests for these hosts in the settings store.
    bool pollsSettingsStore() const;
    // The row's name where the host is supported, else "the host".
    Util::String displayName() const;
    // The row's name, as the editor's requests in the settings store name it.
    Util::String name() const;
    // The label of the help popover's host button.
    Util::String hostHelpLabel() const;

private:
    uint32_t row_;
};

} // namespace UI
