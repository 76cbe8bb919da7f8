#include <gtest/gtest.h>

#include "support/TestEnvironment.h"
#ifndef RELAY_TSAN
#include "product/PluginFactoryImpl.h"
#endif

#include <atomic>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <unistd.h>

namespace {
thread_local unsigned long long allocations = 0;
thread_local std::size_t refuseFrom = SIZE_MAX;
thread_local unsigned long long refusals = 0;

// Allocations the calling thread's RefusedAllocations forbids.
void refuseIfTooLarge(std::size_t size)
{
    if (size < refuseFrom)
        return;
    ++refusals;
    throw std::bad_alloc();
}
std::string sandbox;
std::atomic<int> tempCounter{0};

// A death test's child runs this program again and dies by its signal before
// it could remove anything: its sandbox is made inside its parent's, which
// goes with the parent's.
constexpr const char* OutermostSandbox = "RELAY_TEST_SANDBOX";

void makeSandbox()
{
    const char* outer = std::getenv(OutermostSandbox);
    std::string pattern = std::string(outer ? outer : "/tmp") + "/relay-test-XXXXXX";
    const char* dir = mkdtemp(pattern.data());
    if (!dir)
        std::abort();
    sandbox = dir;
    if (!outer)
        setenv(OutermostSandbox, dir, 1);
    const std::pair<const char*, const char*> vars[] = {
        {"HOME", ""}, {"XDG_DATA_HOME", "/.local/share"}, {"XDG_CONFIG_HOME", "/.config"},
        {"XDG_CACHE_HOME", "/.cache"}, {"XDG_DOCUMENTS_DIR", "/Documents"}, {"XDG_STATE_HOME", "/.local/state"}};
    for (const auto& [name, sub] : vars) {
        const std::string path = sandbox + sub;
        std::filesystem::create_directories(path);
        setenv(name, path.c_str(), 1);
    }
    // Notices are only logged: a test run must never wait for a click. The
    // dialog's own tests ask for it explicitly.
    setenv("RELAY_MESSAGE_BOX", "log", 1);
}
} // namespace

void* operator new(std::size_t size)
{
    ++allocations;
    refuseIfTooLarge(size);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, std::align_val_t align)
{
    ++allocations;
    refuseIfTooLarge(size);
    const std::size_t a = std::size_t(align);
    if (void* p = std::aligned_alloc(a, (size + a - 1) / a * a))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size, std::align_val_t align) { return operator new(size, align); }
// The nothrow forms too: left to the runtime, they would allocate with its own
// allocator what the deletes above give back to free().
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    try {
        return operator new(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void* operator new(std::size_t size, std::align_val_t align, const std::nothrow_t&) noexcept
{
    try {
        return operator new(size, align);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, std::align_val_t align, const std::nothrow_t& tag) noexcept
{
    return operator new(size, align, tag);
}
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }

namespace TestSupport {

const std::string& sandboxFolder() { return sandbox; }

std::string makeTempFolder(const std::string& prefix)
{
    const std::string path = sandbox + "/" + prefix + std::to_string(tempCounter++);
    std::filesystem::create_directories(path);
    return path;
}

unsigned long long threadAllocationCount() { return allocations; }

RefusedAllocations::RefusedAllocations(std::size_t bytes) : previous_(refuseFrom), refusalsBefore_(refusals)
{
    refuseFrom = bytes;
}

RefusedAllocations::~RefusedAllocations() { refuseFrom = previous_; }

unsigned long long RefusedAllocations::refused() const { return refusals - refusalsBefore_; }

} // namespace TestSupport

int main(int argc, char** argv)
{
    makeSandbox();
    // A child process that died early (a stand-in that could not bind its
    // ports) must fail the test that writes to it with a message, not end the
    // whole program with SIGPIPE.
    std::signal(SIGPIPE, SIG_IGN);
#ifndef RELAY_TSAN
    // Tests that enter the core below its C entry see the product's factory,
    // as the entry would have installed it.
    PluginFactoryImpl::product();
#endif
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    if (!std::getenv("RELAY_KEEP_TEST_FOLDERS")) {
        std::error_code ec;
        std::filesystem::remove_all(sandbox, ec);
    }
    // A run in which tests skipped has not passed: ctest reports this exit
    // code (each test's SKIP_RETURN_CODE) as skipped. Failures come first.
    if (result == 0 && ::testing::UnitTest::GetInstance()->skipped_test_count() > 0)
        return RELAY_TEST_SKIPPED_EXIT_CODE;
    return result;
}
