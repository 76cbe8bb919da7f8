#include "core/HostContext.h"

#include "core/RecordView.h"

#include <cstring>

HostContext HostContext::fromBytes(const void* data)
{
    HostContext c;
    std::memcpy(c.bytes.data(), data, Size);
    return c;
}

uint32_t HostContext::formatIdentifier() const
{
    uint32_t id;
    std::memcpy(&id, bytes.data() + FormatOffset, 4);
    return id;
}

Util::String HostContext::applicationVersion() const
{
    return Util::String(EntryProtocol::readText(bytes.data(), EntryProtocol::Layout::HostContext::ApplicationVersion));
}

void HostContext::setFormatIdentifier(uint32_t id) { std::memcpy(bytes.data() + FormatOffset, &id, 4); }

Util::String HostContext::field(size_t index) const
{
    const char* p = reinterpret_cast<const char*>(bytes.data() + index * 128);
    return Util::String(p, strnlen(p, 128));
}

void HostContext::setField(size_t index, const Util::String& text)
{
    Util::copyTextField(reinterpret_cast<char*>(bytes.data() + index * 128), 128, text);
}

Util::String formatShortName(uint32_t formatIdentifier)
{
    static const char* const names[] = {"SA", "DX", "VST", "DPM-RT", "DPM-AS", "TDM", "AAX-RT", "AAX-AS", "AAX-TI", "AU", "MAS", "VST3"};
    return formatIdentifier < std::size(names) ? names[formatIdentifier] : "";
}
