#include <gtest/gtest.h>

#include "platform/DynamicLibrary.h"

#include <string>
#include <vector>

namespace {

using Platform::DynamicLibrary;
using Function = void (*)();

struct ResolverCase {
    const char* label;
    std::vector<const char*> names;
    bool allFound;
};

// Every name is resolved even after a miss; a miss anywhere, first or last,
// makes the set incomplete.
TEST(DynamicLibraryResolver, TellsWhetherEveryFunctionWasFound)
{
    const auto libc = DynamicLibrary::load("libc.so.6");
    ASSERT_NE(libc, nullptr);
    const std::vector<ResolverCase> cases{
        {"all present", {"strlen", "memcpy"}, true},
        {"missing last", {"strlen", "relay_no_such_function"}, false},
        {"missing first", {"relay_no_such_function", "strlen"}, false},
    };
    for (const auto& c : cases) {
        DynamicLibrary::Resolver resolve(libc.get());
        std::vector<Function> functions(c.names.size(), nullptr);
        for (size_t i = 0; i < c.names.size(); ++i)
            resolve(c.names[i], functions[i]);
        EXPECT_EQ(resolve.allFound(), c.allFound) << c.label;
        for (size_t i = 0; i < c.names.size(); ++i)
            EXPECT_EQ(functions[i] != nullptr, std::string(c.names[i]) != "relay_no_such_function")
                << c.label << ": " << c.names[i];
    }
}

TEST(DynamicLibraryResolver, NothingIsFoundWithoutALibrary)
{
    EXPECT_EQ(DynamicLibrary::load("librelay-no-such-library.so.0"), nullptr);
    DynamicLibrary::Resolver resolve(nullptr);
    Function strlenFunction = [] {}; // not null before the call
    resolve("strlen", strlenFunction);
    EXPECT_EQ(strlenFunction, nullptr);
    EXPECT_FALSE(resolve.allFound());
}

} // namespace
