#include "platform/FileUrl.h"

namespace Platform {

namespace {

constexpr std::string_view Scheme = "file://";

bool isUnreserved(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::optional<Util::String> percentDecoded(std::string_view text)
{
    Util::String out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size())
            return std::nullopt;
        const int high = hexValue(text[i + 1]);
        const int low = hexValue(text[i + 2]);
        if (high < 0 || low < 0 || (high == 0 && low == 0))
            return std::nullopt;
        out += char(high * 16 + low);
        i += 2;
    }
    return out;
}

} // namespace

Util::String fileUrlFromPath(const Util::String& path)
{
    if (path.empty() || path.front() != '/')
        return {};
    static constexpr char Hex[] = "0123456789ABCDEF";
    Util::String url(Scheme);
    for (const unsigned char c : path) {
        if (isUnreserved(c) || c == '/') {
            url += char(c);
        } else {
            url += '%';
            url += Hex[c >> 4];
            url += Hex[c & 0x0F];
        }
    }
    return url;
}

bool isFileUrl(const Util::String& text)
{
    return text.size() >= Scheme.size() && Util::toLower(std::string_view(text).substr(0, Scheme.size())) == Scheme;
}

std::optional<Util::String> pathFromFileUrl(const Util::String& url)
{
    if (!isFileUrl(url))
        return std::nullopt;
    std::string_view rest = std::string_view(url).substr(Scheme.size());
    rest = rest.substr(0, rest.find_first_of("?#"));
    const size_t pathStart = rest.find('/');
    if (pathStart == std::string_view::npos)
        return std::nullopt;
    const std::string_view host = rest.substr(0, pathStart);
    if (!host.empty() && Util::toLower(host) != "localhost")
        return std::nullopt;
    return percentDecoded(rest.substr(pathStart));
}

} // namespace Platform
