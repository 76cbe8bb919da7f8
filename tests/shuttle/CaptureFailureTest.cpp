#include <gtest/gtest.h>

#include "ShuttleTestSupport.h"
#include "shuttle/FileHandler.h"
#include "support/TestEnvironment.h"

#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// A disk that fills during a capture: the file-size limit stands in for it, in a
// child process so that the limit stays there.
TEST(FileHandlerDiskFull, AWriteThatCannotLandFailsWithoutCrashing)
{
    const std::string session = TestSupport::makeTempFolder("full");
    Util::ConfigFile("SOFTWARE\\Quillex\\VO6").SetString("Option/SessionDataFolder", session);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        FakeContext context;
        Shuttle::FileHandler handler(context, 2);
        handler.setFormat(48000.0f, 1);
        const rlimit limit{64 * 1024, 64 * 1024};
        setrlimit(RLIMIT_FSIZE, &limit);
        int failedAt = -1;
        for (int b = 0; b < 200 && failedAt < 0; ++b) {
            TestBlock block(2, 512, float(b));
            const auto copy = block.samples;
            if (!handler.write(512, block.data()))
                failedAt = b;
            if (block.samples != copy)
                _exit(3); // the host's audio was touched
        }
        handler.closeCapture();
        _exit(failedAt > 0 ? 0 : 2);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "the capture crashed";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "2: no write failed; 3: the host's audio changed";
    // The part that landed is still a readable file.
    const auto entries = folderEntries(session + "/Relay");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_TRUE(readSoundFile(session + "/Relay/" + entries[0]).opened);
}
