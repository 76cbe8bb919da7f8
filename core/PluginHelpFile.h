#pragma once
#include "util/Text.h"

class PluginDefinition;

// The plug-in's own help file, which the host's help command opens: the
// definition's help file (a path below the install folder, "HTML Help/Default.htm")
// joined to the install folder, with "%LANGUAGE" in its folder part replaced
// by the language folder. It opens in the desktop's viewer for its type.
// Every operation: [ui-thread].
class PluginHelpFile {
public:
    static constexpr const char* NoticeTitle = "Help Not Found";
    static constexpr const char* LanguageFolder = "en"; // the help ships in English only

    // The install folder is the folder of the plug-in's module.
    explicit PluginHelpFile(const PluginDefinition& definition);
    PluginHelpFile(const PluginDefinition& definition, const Util::String& installFolder);

    // "%1/%2/%3": install folder, help folder (its "%LANGUAGE" replaced), file name.
    static Util::String composePath(const Util::String& installFolder, const Util::String& helpFile,
                                    const Util::String& language);
    static Util::String noticeText(const Util::String& path, const Util::String& productName);

    const Util::String& path() const { return path_; }
    // Opens the file. When it is missing and a plug-in window is open, the user
    // is told with the "Help Not Found" notice. Answers whether the file opened.
    bool show(bool pluginWindowOpen) const;

private:
    Util::String path_;
    Util::String productName_;
};
