#include <gtest/gtest.h>

#include "LoadedPlugin.h"
#include "support/TestEnvironment.h"

#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// Every file descriptor the process may still open, taken while this lives:
// nothing inside can open a file, a socket or an event (ZeroMQ cannot make a
// context). The limit is lowered first so that taking them all is quick.
class ExhaustedDescriptors {
public:
    ExhaustedDescriptors()
    {
        getrlimit(RLIMIT_NOFILE, &saved_);
        rlimit lowered = saved_;
        lowered.rlim_cur = std::min<rlim_t>(saved_.rlim_cur, 1024);
        setrlimit(RLIMIT_NOFILE, &lowered);
        taken_.reserve(1024);
        for (int fd; (fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;)
            taken_.push_back(fd);
        exhausted_ = errno == EMFILE;
    }
    ~ExhaustedDescriptors()
    {
        for (int fd : taken_)
            ::close(fd);
        setrlimit(RLIMIT_NOFILE, &saved_);
    }
    bool exhausted() const { return exhausted_; }

private:
    rlimit saved_{};
    std::vector<int> taken_;
    bool exhausted_ = false;
};

// What the process writes to standard error while it lives.
class CapturedStandardError {
public:
    CapturedStandardError() : path_(TestSupport::makeTempFolder("stderr") + "/stderr.txt")
    {
        std::fflush(stderr);
        saved_ = ::dup(STDERR_FILENO);
        const int file = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        ::dup2(file, STDERR_FILENO);
        ::close(file);
    }
    ~CapturedStandardError() { restore(); }
    std::string text()
    {
        restore();
        std::ifstream in(path_);
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }

private:
    void restore()
    {
        if (saved_ < 0)
            return;
        std::fflush(stderr);
        ::dup2(saved_, STDERR_FILENO);
        ::close(saved_);
        saved_ = -1;
    }
    std::string path_;
    int saved_ = -1;
};

int32_t noReverseCall(int32_t, uint32_t, uint32_t, void*, void*) { return 0; }

// A creation record as a wrapper builds it; the result pointer starts out
// holding garbage, so that a failed creation must clear it.
struct Creation {
    Bytes record{3120};
    void* instance = reinterpret_cast<void*>(uintptr_t(0xBAD));

    explicit Creation(bool recording = false)
    {
        record.putPointer(0, reinterpret_cast<void*>(&noReverseCall));
        record.putPointer(8, this);
        record.putText(16, "Barrier");
        record.put<uint32_t>(2064 + 1024, 2);
        record.putPointer(3096, &instance);
        record.put<float>(3104, 48000.0f);
        record.put<uint32_t>(3108, 1);
        record.put<uint32_t>(3116, recording ? 1 : 0);
    }
};

} // namespace

TEST(EntryBarrier, ACreationThatCannotMakeItsZeroMqContextAnswersAnErrorAndTheHostLives)
{
    LoadedPlugin plugin;
    Creation creation;
    int32_t status = -1;
    CapturedStandardError log;
    {
        ExhaustedDescriptors descriptors;
        ASSERT_TRUE(descriptors.exhausted());
        status = plugin(1, 0, nullptr, *creation.record);
    }
    const std::string logged = log.text();
    EXPECT_EQ(status, 6);
    EXPECT_EQ(creation.instance, nullptr);
    EXPECT_NE(logged.find("Selector 1 failed: ZeroMQ error"), std::string::npos) << logged;

    // The library still serves this process.
    Creation again;
    ASSERT_EQ(plugin(1, 0, nullptr, *again.record), 0);
    ASSERT_NE(again.instance, nullptr);
    EXPECT_EQ(plugin(7, 0, again.instance, nullptr), 0);
}

TEST(EntryBarrier, ACreationThatRunsOutOfMemoryAnswersAnErrorAndTheHostLives)
{
    LoadedPlugin plugin;
    // The recording flag reserves room for 100000 entries: 800000 bytes at once.
    Creation creation(true);
    int32_t status = -1;
    unsigned long long refused = 0;
    CapturedStandardError log;
    {
        TestSupport::RefusedAllocations noLargeBlocks(512 * 1024);
        status = plugin(1, 0, nullptr, *creation.record);
        refused = noLargeBlocks.refused();
    }
    const std::string logged = log.text();
    EXPECT_GT(refused, 0u);
    EXPECT_EQ(status, 6);
    EXPECT_EQ(creation.instance, nullptr);
    EXPECT_NE(logged.find("Selector 1 failed: std::bad_alloc"), std::string::npos) << logged;

    Creation again(true);
    ASSERT_EQ(plugin(1, 0, nullptr, *again.record), 0);
    EXPECT_EQ(plugin(7, 0, again.instance, nullptr), 0);
}
