#pragma once
#include "util/Text.h"

// What the plug-in instance reports about its use. The product decides where
// reports go (the factory makes the instance's reporter); the instance only
// says when. Abstract, so that the core knows nothing of the service.
class UsageReporter {
public:
    virtual ~UsageReporter() = default;
    // The editor window opened, in this host ("name version") with this
    // channel configuration. [ui-thread]
    virtual void editorOpened(const Util::String& hostApplication, const Util::String& channelConfiguration) = 0;
    // The instance was deactivated: reports still queued go out. [any-thread]
    virtual void flush() = 0;
};
