#pragma once
#include <cstdint>
#include <map>

#include "ui/HelpViewer.h"
#include "ui/Object.h"

namespace Util {
class ConfigFile;
}

namespace Help {

// Opens pages of the product family's HTML manual in the user's web browser.
// The editor application installs the manual under the user's documents
// folder; the preference "HelpDocPath", when set and not empty, names a folder
// that replaces that whole location. A page is a row of a fixed table of 60
// (ids 0 to 59), a path relative to the manual's folder, some with an anchor.
// Problems are told to the user in a warning notice; nothing is retried.
// Every operation: [ui-thread].
class HelpManager : public UI::Object, public UI::HelpViewer {
public:
    static constexpr uint32_t PageCount = 60;
    static constexpr uint32_t ProductPage = 44; // this plug-in's chapter
    static constexpr const char* DocumentRootSetting = "HelpDocPath";
    static constexpr const char* NoticeTitle = "Unable to Launch Help";
    static constexpr const char* BrowserFailedText =
        "An error occurred while trying to launch your web browser to view the help documentation.  Please contact "
        "Quillex support for assistance.";
    static constexpr const char* ManualMissingText =
        "Quillex TW could not display the documentation because it could not find the help documentation installed "
        "at the expected location.  Reinstall TW to restore the help files.";

    // An empty document root means the default location.
    explicit HelpManager(Util::String documentRoot = {});
    // The document root from the plug-in's preferences ("HelpDocPath").
    explicit HelpManager(const Util::ConfigFile& preferences);

    // Opens the page in the browser. An id outside the table opens the manual's
    // folder itself. When nothing could be started the user is told why: the
    // browser failed (the page exists) or the manual is missing.
    void showHelp(uint32_t pageId) const override;

    // The page's path below the manual's folder, with its anchor; empty for an
    // id outside the table.
    Util::String pagePath(uint32_t pageId) const;
    // Where the editor installs the manual:
    // <documents>/Quillex/VU 6 Verov Edodod/HTML Help/en.
    static Util::String defaultManualFolder();

private:
    Util::String manualFolder() const;

    std::map<uint32_t, Util::String> pages_;
    Util::String documentRoot_;
};

} // namespace Help
