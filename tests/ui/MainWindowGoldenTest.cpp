#include "ImageCompare.h"
#include "MainWindowFixture.h"

#include <cstdlib>

namespace {

bool regenerating() { return std::getenv("RELAY_UPDATE_GOLDEN") != nullptr; }

struct Picture {
    const char* file;
    const char* host;      // the host process, as the window identifies it
    const char* clipsHost; // the name the clip files carry
    uint32_t state;
    int clips;
};

class MainWindowGolden : public TestSupport::MainWindowFixture {
protected:
    // The shuttle brought to the picture's state the way a session gets there.
    // The pass is captured with Pro Tools' rules (its clips end without ending
    // the pass, so one pass holds three); the window is then built for the
    // picture's host.
    void reach(const Picture& p)
    {
        prepare("Pro Tools");
        makePlugin();
        if (p.state == 1)
            block(true);
        if (p.state == 2)
            capturePass(p.clips);
        Platform::overrideHostProcessFileName(p.host);
        if (p.state == 3)
            leaveRepairedFiles(p.clipsHost, p.clips);
        UI::MainWindow& w = openWindow();
        if (p.state == 3) {
            ASSERT_TRUE(w.loadRepairedFiles());
        }
        tick();
        ASSERT_EQ(w.shuttleState(), p.state);
    }
};

} // namespace

// The window as the user sees it in each state, against the stored pictures.
// RELAY_UPDATE_GOLDEN=1 writes new pictures instead.
TEST_F(MainWindowGolden, EachStateLooksAsStored)
{
    const Picture pictures[] = {
        {"MainWindow.ProTools.0.png", "Pro Tools", "Pro Tools", 0, 0},
        {"MainWindow.ProTools.1.png", "Pro Tools", "Pro Tools", 1, 0},
        {"MainWindow.ProTools.2.png", "Pro Tools", "Pro Tools", 2, 3},
        {"MainWindow.ProTools.3.png", "Pro Tools", "Pro Tools", 3, 3},
        {"MainWindow.Unknown.0.png", "Unknown Host", "Unknown", 0, 0},
        {"MainWindow.Unknown.1.png", "Unknown Host", "Unknown", 1, 0},
        {"MainWindow.Unknown.2.png", "Unknown Host", "Unknown", 2, 3},
        {"MainWindow.Unknown.3.png", "Unknown Host", "Unknown", 3, 3},
        {"MainWindow.Unsupported.png", "Peak", "Peak", 0, 0},
    };
    for (const Picture& p : pictures) {
        SCOPED_TRACE(p.file);
        reach(p);
        const UI::Image& image = window().hostWindow().image();
        const std::string actual = std::string(RELAY_BINARY_DIR) + "/" + p.file;
        ASSERT_TRUE(image.savePng(actual));
        const std::string golden = std::string(RELAY_UI_TEST_DIR) + "/golden/" + p.file;
        if (regenerating()) {
            ASSERT_TRUE(image.savePng(golden));
        } else {
            const auto reference = UI::Image::loadPng(golden);
            ASSERT_TRUE(reference) << "no reference; run with RELAY_UPDATE_GOLDEN=1";
            const auto d = TestSupport::compareImages(image, *reference, 24);
            ASSERT_TRUE(d.sameSize);
            EXPECT_LE(d.pixelsOver, size_t(470 * 276 / 500)) << "see " << actual;
            EXPECT_LT(d.mean, 0.5) << "see " << actual;
        }
        plugin.reset();
    }
    if (regenerating())
        GTEST_SKIP() << "references written to " << RELAY_UI_TEST_DIR << "/golden";
}
