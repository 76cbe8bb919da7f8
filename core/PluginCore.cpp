#include "core/PluginCore.h"

#include "core/HostVersion.h"

PluginCore::PluginCore(const CoreRecords::Creation& creation, const PluginDefinition& definition)
    : wrapper_(creation.callback, creation.wrapperHandle),
      hostContext_(creation.hostContext),
      formatIdentifier_(creation.hostContext.formatIdentifier()),
      name_(creation.name),
      definition_(definition),
      threads_(creation.name)
{
}

PluginCore::~PluginCore() = default;

void PluginCore::askHostApplication()
{
    if (hostApplicationAsked_)
        return;
    hostApplicationAsked_ = true;
    const auto app = wrapper_.hostApplication();
    if (!app)
        return;
    hostApplicationName_ = app->name;
    if (app->version != 0.0f)
        hostApplicationVersion_ = app->version;
    if (const auto version = HostVersion::parse(app->name, app->version))
        HostVersion::remember(*version);
}

const Util::String& PluginCore::hostApplicationName()
{
    askHostApplication();
    return hostApplicationName_;
}

float PluginCore::hostApplicationVersion()
{
    askHostApplication();
    return hostApplicationVersion_;
}

Util::String PluginCore::versionLine() const
{
    return Util::format("v%1.%2", definition_.versionText().text, definition_.buildNumber()) + "WIN64." +
           formatShortName(formatIdentifier_);
}
