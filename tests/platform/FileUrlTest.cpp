#include <gtest/gtest.h>

#include "platform/FileUrl.h"

#include <cctype>
#include <optional>
#include <string_view>

TEST(FileUrl, APathBecomesAPercentEncodedFileUrl)
{
    const std::pair<std::string, std::string> cases[] = {
        {"/home/ana/manual/index.html", "file:///home/ana/manual/index.html"},
        {"/Documents/VU 6/HTML Help/en", "file:///Documents/VU%206/HTML%20Help/en"},
        {"/x/50%#?&+=.html", "file:///x/50%25%23%3F%26%2B%3D.html"},
        {"/caf\xC3\xA9/r\xC3\xA9sum\xC3\xA9", "file:///caf%C3%A9/r%C3%A9sum%C3%A9"},
        {"/a-b_c.d~e/", "file:///a-b_c.d~e/"},
        {"manual/index.html", ""}, // not absolute
        {"", ""},
    };
    for (const auto& [path, url] : cases)
        EXPECT_EQ(Platform::fileUrlFromPath(path), url) << path;
}

TEST(FileUrl, AFileUrlGivesItsLocalPath)
{
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"file:///a%20b/c.html#anchor", "/a b/c.html"},
        {"FILE:///x?lang=en", "/x"},
        {"File://localhost/x/y", "/x/y"},
        {"file://LOCALHOST/", "/"},
        {"file:///caf%c3%a9", "/caf\xC3\xA9"},
        {"file://fileserver/share/x", std::nullopt},
        {"https://example.org/x", std::nullopt},
        {"file:/x", std::nullopt},
        {"file://", std::nullopt},
        {"file:///a%2", std::nullopt},
        {"file:///a%zz", std::nullopt},
        {"file:///a%00b", std::nullopt},
    };
    for (const auto& [url, path] : cases)
        EXPECT_EQ(Platform::pathFromFileUrl(url), path) << url;
}

// Every byte a path may hold survives the way there and back.
TEST(FileUrl, EveryByteOfAPathSurvivesTheRoundTrip)
{
    std::string path = "/";
    for (int c = 1; c < 256; ++c)
        path += char(c);
    const std::string url = Platform::fileUrlFromPath(path);
    // Only unreserved characters, '/' and escapes, so no reader can take a
    // byte for a delimiter.
    for (size_t i = 7; i < url.size(); ++i) {
        const char c = url[i];
        if (c == '%') {
            ASSERT_TRUE(i + 2 < url.size() && std::isxdigit(url[i + 1]) && std::isxdigit(url[i + 2])) << url.substr(i);
            i += 2;
        } else {
            ASSERT_TRUE(std::isalnum(static_cast<unsigned char>(c)) || std::string_view("/-._~").find(c) != std::string_view::npos)
                << "bare byte " << int(static_cast<unsigned char>(c));
        }
    }
    EXPECT_EQ(Platform::pathFromFileUrl(url), path);
}
