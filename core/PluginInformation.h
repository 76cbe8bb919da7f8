#pragma once
#include "core/EntryProtocol.h"
#include "core/HostContext.h"
#include "core/PluginDefinition.h"

// The 7764-byte plug-in information record answered by selector 0, filled field
// by field from the definition in the record's order. [any-thread]
class PluginInformation {
public:
    static constexpr size_t RecordSize = EntryProtocol::Layout::Information::Size;
    static void fill(const PluginDefinition& definition, const HostContext& context, void* record);
};
