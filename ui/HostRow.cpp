#include "ui/HostRow.h"

#include "core/HostIdentification.h"
#include "core/HostTable.h"

namespace UI {

HostRow HostRow::ofProcess() { return HostRow(HostIdentification::shuttleHostNumberOfProcess()); }

bool HostRow::supported() const { return HostTable::supported(row_); }

bool HostRow::recommendsExternalEditor() const { return HostTable::gate(row_) && HostTable::recommend(row_); }

bool HostRow::unsupported() const { return row_ < HostTable::RowCount && row_ != Unknown && !supported(); }

bool HostRow::bitBridge() const { return row_ == 32 || row_ == 33; }

bool HostRow::pollsSettingsStore() const { return row_ == 4 || row_ == 14 || row_ == 25 || row_ == 26; }

Util::String HostRow::displayName() const { return supported() ? HostTable::name(row_) : "the host"; }

Util::String HostRow::name() const { return HostTable::name(row_); }

Util::String HostRow::hostHelpLabel() const
{
    if (supported())
        return Util::format("Using TW Relay in %1", displayName());
    if (recommendsExternalEditor())
        return "Using TW as an external editor";
    return "Using TW Relay in supported hosts";
}

} // namespace UI
