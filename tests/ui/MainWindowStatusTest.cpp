#include <gtest/gtest.h>

#include "ui/MainWindowStatus.h"

#include <optional>
#include <string>

namespace {

using UI::HostRow;
using UI::MainWindowStatus;
using Note = MainWindowStatus::Note;

constexpr uint32_t Vst = 2;
constexpr uint32_t AudioUnit = 9;
const std::optional<HostVersion> noVersion;
constexpr HostVersion v8_0_9{8, 0, 9}, v8_1_0{8, 1, 0}, v8_3_0{8, 3, 0}, v8_3_1{8, 3, 1}, v9_0_0{9, 0, 0};

const std::string send = "Select REFERENCE or REPAIR then press SEND to send the clips to TW.";
const std::string capturing = "Capturing audio\xE2\x80\xA6";
const std::string captured = "Audio clip(s) are now available in TW.";
const std::string mediaComposerIdle = "Select REFERENCE or REPAIR then press \nSEND or Optional to send the clips to "
                                      "TW.\n\nOnly one track can be sent at a time.";
const std::string cubaseIdle =
    "Select REFERENCE then press Preview or select REPAIR then press Process to send the clips to TW.";
const std::string nuendoApply = "Select REPAIR or REFERENCE and click 'Apply' to send clip to TW";
const std::string nuendoPermanent = "Select 'Make Direct Offline Processing Permanent' to finalize changes";
const std::string recommend = "We recommend using TW as an external editor\nin this host. Click the help button (?) "
                              "for \t\t \nonline tutorials and documentation.";
const std::string audioUnit = "The Audio Unit version of TW Relay is \nunsupported, please use the\n VST version instead.";
const std::string bridge32 =
    "TW Relay is unsupported when used with a\nbit bridge. \t\t\t\t\t\t\t\t\t\tPlease use the 32-bit plug-in.";
const std::string bridge64 =
    "TW Relay is unsupported when used with a\nbit bridge. \t\t\t\t\t\t\t\t\t\tPlease use the 64-bit plug-in.";
const std::string unsupported = "This host is unsupported.";

struct Case {
    uint32_t row;
    uint32_t format;
    std::optional<HostVersion> version;
    uint32_t state;
    std::string text;
    int y;
    bool modeButtons; // once the state has been shown (the buttons follow one refresh late)
};

std::string describe(const Case& c)
{
    std::string s = "row " + std::to_string(c.row) + " format " + std::to_string(c.format) + " state " +
                    std::to_string(c.state);
    if (c.version)
        s += " version " + std::to_string(c.version->major) + "." + std::to_string(c.version->minor) + "." +
             std::to_string(c.version->patch);
    return s;
}

} // namespace

TEST(MainWindowStatus, TextPlaceAndControlsForEachHostStateAndVersion)
{
    const Case cases[] = {
        // Pro Tools, both rows.
        {1, Vst, noVersion, 0, send, 93, true},
        {1, Vst, noVersion, 1, capturing, 93, false},
        {1, Vst, noVersion, 2, captured, 93, true},
        {1, Vst, noVersion, 3, "Press RENDER to commit changes.", 93, false},
        {2, Vst, noVersion, 0, send, 93, true},
        {2, Vst, noVersion, 3, "Press RENDER to commit changes.", 93, false},
        // Media Composer: row 4 commits differently from 8.3.1 on.
        {3, Vst, noVersion, 0, mediaComposerIdle, 69, true},
        {3, Vst, v9_0_0, 3, "To commit changes, press OK and then Render Effect.", 93, false},
        {4, Vst, v8_3_0, 0, mediaComposerIdle, 69, true},
        {4, Vst, v8_3_0, 3, "To commit changes, press OK.", 93, false},
        {4, Vst, v8_3_1, 3, "To commit changes, press Render and then OK.", 93, false},
        {4, Vst, v9_0_0, 3, "To commit changes, press Render and then OK.", 93, false},
        {4, Vst, noVersion, 3, "To commit changes, press OK.", 93, false},
        {4, Vst, v8_3_1, 2, captured, 93, true},
        // Cubase, and Nuendo before 8.1.
        {5, Vst, noVersion, 0, cubaseIdle, 93, true},
        {5, Vst, noVersion, 3, "Press Process to commit changes.", 93, false},
        {6, Vst, v8_0_9, 0, cubaseIdle, 93, true},
        {6, Vst, v8_0_9, 3, "Press Process to commit changes.", 93, false},
        {6, Vst, noVersion, 0, cubaseIdle, 93, true},
        {6, Vst, v8_1_0, 0, nuendoApply, 93, true},
        {6, Vst, v8_1_0, 3, "Press 'Apply' to commit changes.", 93, false},
        // Sound Forge, Audition, Samplitude, Pyramix, Unknown.
        {12, Vst, noVersion, 0, "Select REFERENCE or REPAIR then press Process to send the clips to TW.", 93, true},
        {12, Vst, noVersion, 3, "Press Process to commit changes.", 93, false},
        {14, Vst, noVersion, 0,
         "Select REFERENCE or REPAIR then press Apply to send the clips to TW.\n\nTW Relay OnLoadParams supports the "
         "Waveform Editor.",
         77, true},
        {14, Vst, noVersion, 3, "Press Apply to commit changes.", 93, false},
        {25, Vst, noVersion, 0,
         "Select REFERENCE or REPAIR then press OK\nin the Plug-Ins Wave-Editing window\n to send the clips to TW.", 77,
         true},
        {25, Vst, noVersion, 3, "Press OK in the Plug-Ins Wave-Editing\nwindow to commit changes.", 85, false},
        {27, Vst, noVersion, 0,
         "Select REFERENCE or REPAIR then press Process in the FXRack to send the clips to TW.", 93, true},
        {27, Vst, noVersion, 3, "Press Process to commit changes.", 93, false},
        {36, Vst, noVersion, 0, "Select REFERENCE or REPAIR then press Preview to send the clips to TW.", 93, true},
        {36, Vst, noVersion, 1, capturing, 93, false},
        {36, Vst, noVersion, 3, "Press Process to commit changes.", 93, false},
        // Hosts whose own text stays whatever the state; the mode buttons stay off.
        {14, AudioUnit, noVersion, 0, audioUnit, 77, false},
        {14, AudioUnit, noVersion, 2, audioUnit, 77, false},
        {32, Vst, noVersion, 0, bridge32, 85, false},
        {33, Vst, noVersion, 3, bridge64, 85, false},
        {7, Vst, noVersion, 0, unsupported, 93, false},
        {7, Vst, noVersion, 2, unsupported, 93, false},
        {17, Vst, noVersion, 0, recommend, 77, false},
        {13, Vst, noVersion, 2, recommend, 77, false}, // Vegas: supported, yet the advice comes first
        // Beyond the table: no host predicate holds, the plain texts show.
        {40, Vst, noVersion, 0, "Select REFERENCE or REPAIR then press Preview to send the clips to TW.", 93, true},
    };
    for (const Case& c : cases) {
        for (bool reference : {true, false}) {
            MainWindowStatus status(HostRow(c.row), c.format, c.version);
            status.refresh(c.state, reference);
            const auto view = status.refresh(c.state, reference);
            const std::string what = describe(c) + (reference ? " REFERENCE" : " REPAIR");
            EXPECT_EQ(view.text, c.text) << what;
            EXPECT_EQ(view.textY, c.y) << what;
            EXPECT_EQ(view.modeButtonsEnabled, c.modeButtons) << what;
            EXPECT_EQ(view.referenceOn, c.modeButtons && reference) << what;
            EXPECT_EQ(view.repairOn, c.modeButtons && !reference) << what;
            EXPECT_EQ(view.discardEnabled, c.state == 2 || c.state == 3) << what;
        }
    }
}

TEST(MainWindowStatus, TheModeButtonsFollowThePreviousComputation)
{
    MainWindowStatus status(HostRow(1), Vst, noVersion);
    struct Step {
        uint32_t state;
        bool enabled;
    };
    // Enabled at first; capturing disables them from the next refresh on;
    // state 3 always disables them, yet leaves them enabled for the next one.
    const Step steps[] = {{0, true}, {1, true}, {2, false}, {2, true}, {3, false}, {0, true}, {1, true}, {0, false}};
    int n = 0;
    for (const Step& step : steps) {
        const auto view = status.refresh(step.state, false);
        EXPECT_EQ(view.modeButtonsEnabled, step.enabled) << "step " << n;
        EXPECT_EQ(view.repairOn, step.enabled) << "step " << n;
        EXPECT_FALSE(view.referenceOn) << "step " << n;
        ++n;
    }
}

TEST(MainWindowStatus, NuendoAdvisesMakingThePassPermanentOnceClipsWereSentUntilDiscard)
{
    MainWindowStatus nuendo(HostRow(6), Vst, v8_1_0);
    EXPECT_EQ(nuendo.refresh(0, false).text, nuendoApply);
    EXPECT_EQ(nuendo.refresh(1, false).text, capturing);
    EXPECT_EQ(nuendo.refresh(0, false).text, nuendoApply); // capturing alone sends nothing
    EXPECT_EQ(nuendo.refresh(2, false).text, captured);
    EXPECT_TRUE(nuendo.sentOnce());
    EXPECT_EQ(nuendo.refresh(0, false).text, nuendoPermanent);
    EXPECT_EQ(nuendo.refresh(0, false).text, nuendoPermanent);
    nuendo.discarded();
    EXPECT_EQ(nuendo.refresh(0, false).text, nuendoApply);

    // Before 8.1 (or without a version) the flag is never set.
    for (const auto& version : {std::optional<HostVersion>(v8_0_9), noVersion}) {
        MainWindowStatus older(HostRow(6), Vst, version);
        older.refresh(2, false);
        EXPECT_FALSE(older.sentOnce());
        EXPECT_EQ(older.refresh(0, false).text, cubaseIdle);
    }
}

TEST(MainWindowStatus, TheSentReferenceNoteFollowsTheModeOfTheLastCapture)
{
    MainWindowStatus status(HostRow(2), Vst, noVersion);
    struct Step {
        uint32_t state;
        bool reference;
        Note note;
    };
    const Step steps[] = {
        {0, true, Note::Hide},  // nothing captured yet
        {1, true, Note::Hide},  // capturing hides it and notes the mode
        {0, false, Note::Show}, // a reference pass ended: shown, whatever the mode now
        {3, false, Note::Keep}, // state 3 leaves it as it is
        {1, false, Note::Hide},
        {2, true, Note::Hide},  // a repair pass
        {0, true, Note::Hide},
    };
    int n = 0;
    for (const Step& step : steps)
        EXPECT_EQ(status.refresh(step.state, step.reference).sentReference, step.note) << "step " << n++;

    // A host whose own text stands never touches the note, and its mode
    // buttons are disabled from the first refresh on.
    MainWindowStatus bridge(HostRow(32), Vst, noVersion);
    for (uint32_t state : {1u, 0u, 2u, 3u}) {
        const auto view = bridge.refresh(state, true);
        EXPECT_EQ(view.sentReference, Note::Keep) << state;
        EXPECT_FALSE(view.modeButtonsEnabled || view.referenceOn) << state;
    }
    EXPECT_FALSE(MainWindowStatus(HostRow(7), Vst, noVersion).refresh(0, false).modeButtonsEnabled);
}

TEST(MainWindowStatus, HostNamesAndTheHostHelpLabel)
{
    struct Row {
        uint32_t row;
        const char* displayName;
        const char* helpLabel;
        bool pollsSettingsStore;
    };
    const Row rows[] = {
        {1, "Pro Tools", "Using TW Relay in Pro Tools", false},
        {4, "Media Composer", "Using TW Relay in Media Composer", true},
        {14, "Audition", "Using TW Relay in Audition", true},
        {25, "Samplitude", "Using TW Relay in Samplitude", true},
        {26, "Sequoia", "Using TW Relay in Sequoia", true},
        {27, "Pyramix", "Using TW Relay in Pyramix", false},
        {17, "the host", "Using TW as an external editor", false},
        {7, "the host", "Using TW Relay in supported hosts", false},
        {36, "the host", "Using TW Relay in supported hosts", false},
        {37, "the host", "Using TW Relay in supported hosts", false},
    };
    for (const Row& r : rows) {
        const HostRow host(r.row);
        EXPECT_EQ(host.displayName(), r.displayName) << r.row;
        EXPECT_EQ(host.hostHelpLabel(), r.helpLabel) << r.row;
        EXPECT_EQ(host.pollsSettingsStore(), r.pollsSettingsStore) << r.row;
    }
    EXPECT_FALSE(HostRow(36).unsupported());
    EXPECT_FALSE(HostRow(37).unsupported());
    EXPECT_TRUE(HostRow(35).unsupported());
}
