#include "help/HelpManager.h"

#include "io/ConfigFile.h"
#include "platform/FileUrl.h"
#include "platform/Folders.h"
#include "platform/MessageBox.h"
#include "platform/UrlOpener.h"

#include <array>
#include <filesystem>
#include <string_view>

namespace Help {

namespace {

// The chapters of the editor's manual. Ids 1 and 2 both lead to the plug-ins
// chapter; 44 is this plug-in's.
constexpr std::array<std::string_view, HelpManager::PageCount> PageTable = {
    "01-introduction/index.html",                     // 0
    "02-plug-ins/index.html",                         // 1
    "02-plug-ins/index.html",                         // 2
    "03-getting-started/index.html",                  // 3
    "04-main-window/index.html",                      // 4
    "04-main-window/index.html#spectrogram",          // 5
    "05-opening-and-saving/index.html",               // 6
    "06-selection-tools/index.html",                  // 7
    "07-batch-processing/index.html",                 // 8
    "08-module-chains/index.html",                    // 9
    "08-module-chains/index.html#compare",            // 10
    "09-click-removal/index.html",                    // 11
    "10-clipping-restoration/index.html",             // 12
    "11-crackle-removal/index.html",                  // 13
    "12-hum-removal/index.html",                      // 14
    "13-noise-reduction/index.html",                  // 15
    "13-noise-reduction/index.html#learning-a-noise", // 16
    "14-voice-noise-reduction/index.html",            // 17
    "15-reverb-reduction/index.html",                 // 18
    "16-sibilance-control/index.html",                // 19
    "17-plosive-removal/index.html",                  // 20
    "18-breath-reduction/index.html",                 // 21
    "19-lip-noise-removal/index.html",                // 22
    "20-spectral-editing/index.html",                 // 23
    "20-spectral-editing/index.html#attenuate",       // 24
    "20-spectral-editing/index.html#replace",         // 25
    "20-spectral-editing/index.html#copy-pattern",    // 26
    "21-dialogue-separation/index.html",              // 27
    "22-stem-separation/index.html",                  // 28
    "23-room-tone/index.html",                        // 29
    "24-equalizer-matching/index.html",               // 30
    "25-equalizer/index.html",                        // 31
    "26-gain/index.html",                             // 32
    "27-normalize/index.html",                        // 33
    "28-loudness/index.html",                         // 34
    "29-level-riding/index.html",                     // 35
    "30-fades/index.html",                            // 36
    "31-phase-alignment/index.html",                  // 37
    "32-azimuth-alignment/index.html",                // 38
    "33-speed-variation/index.html",                  // 39
    "34-time-and-pitch/index.html",                   // 40
    "35-sample-rate-conversion/index.html",           // 41
    "36-dither/index.html",                           // 42
    "37-tone-generator/index.html",                   // 43
    "60-tw-relay/index.html",                         // 44
    "38-channel-operations/index.html",               // 45
    "39-markers-and-regions/index.html",              // 46
    "40-spectrum-analyzer/index.html",                // 47
    "41-waveform-statistics/index.html",              // 48
    "42-undo-history/index.html",                     // 49
    "43-preferences/index.html",                      // 50
    "43-preferences/index.html#display",              // 51
    "43-preferences/index.html#audio-devices",        // 52
    "44-keyboard-shortcuts/index.html",               // 53
    "45-metering/index.html",                         // 54
    "46-exporting/index.html",                        // 55
    "47-sending-audio-to-hosts/index.html",           // 56
    "48-troubleshooting/index.html",                  // 57
    "49-release-notes/index.html",                    // 58
    "50-support/index.html",                          // 59
};

} // namespace

HelpManager::HelpManager(Util::String documentRoot)
    : UI::Object("HelpManager"), documentRoot_(Platform::toNativePath(std::move(documentRoot)))
{
    for (uint32_t id = 0; id < PageTable.size(); ++id)
        pages_.emplace(id, Util::String(PageTable[id]));
}

HelpManager::HelpManager(const Util::ConfigFile& preferences)
    : HelpManager(preferences.GetString(DocumentRootSetting, ""))
{
}

Util::String HelpManager::pagePath(uint32_t pageId) const
{
    const auto page = pages_.find(pageId);
    return page == pages_.end() ? Util::String() : page->second;
}

Util::String HelpManager::defaultManualFolder()
{
    return Platform::toNativePath(Platform::documentsFolder() + "/Quillex/VU 6 Verov Edodod/HTML Help/en");
}

Util::String HelpManager::manualFolder() const
{
    return documentRoot_.empty() ? defaultManualFolder() : documentRoot_;
}

void HelpManager::showHelp(uint32_t pageId) const
{
    // The anchor is not part of the file: the file's path becomes the URL's
    // path and the anchor is put back behind it.
    const Util::String page = pagePath(pageId);
    const size_t anchorAt = page.find('#');
    const Util::String file = manualFolder() + "/" + page.substr(0, anchorAt);
    const Util::String anchor = anchorAt == Util::String::npos ? Util::String() : page.substr(anchorAt);
    const Util::String url = Platform::fileUrlFromPath(file);
    if (!url.empty() && Platform::urlOpener().openUrl(url + anchor))
        return;
    std::error_code ec;
    const bool installed = std::filesystem::exists(file, ec);
    Platform::messageBox().show(NoticeTitle, installed ? BrowserFailedText : ManualMissingText,
                                Platform::MessageBox::Icon::Warning);
}

} // namespace Help
