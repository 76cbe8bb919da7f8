#include "util/Base64.h"

#include <array>

namespace Util {

namespace {
constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::array<int8_t, 256> makeIndex()
{
    std::array<int8_t, 256> index{};
    for (auto& v : index)
        v = -1;
    for (int i = 0; i < 64; ++i)
        index[uint8_t(alphabet[i])] = int8_t(i);
    return index;
}
constexpr auto indexOf = makeIndex();
} // namespace

String Base64::encode(const std::vector<uint8_t>& bytes)
{
    String out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const uint32_t n = uint32_t(bytes[i]) << 16 | (i + 1 < bytes.size() ? uint32_t(bytes[i + 1]) << 8 : 0) |
                           (i + 2 < bytes.size() ? uint32_t(bytes[i + 2]) : 0);
        out += alphabet[(n >> 18) & 63];
        out += alphabet[(n >> 12) & 63];
        out += i + 1 < bytes.size() ? alphabet[(n >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? alphabet[n & 63] : '=';
    }
    return out;
}

std::optional<std::vector<uint8_t>> Base64::decode(const String& text)
{
    if (text.size() % 4 != 0)
        return std::nullopt;
    std::vector<uint8_t> out;
    out.reserve(text.size() / 4 * 3);
    for (size_t i = 0; i < text.size(); i += 4) {
        const bool last = i + 4 == text.size();
        int values[4];
        int padding = 0;
        for (int k = 0; k < 4; ++k) {
            const char c = text[i + size_t(k)];
            if (c == '=' && last && k >= 2) {
                values[k] = 0;
                ++padding;
                continue;
            }
            if (padding > 0 || (values[k] = indexOf[uint8_t(c)]) < 0)
                return std::nullopt;
        }
        const uint32_t n = uint32_t(values[0]) << 18 | uint32_t(values[1]) << 12 | uint32_t(values[2]) << 6 | uint32_t(values[3]);
        out.push_back(uint8_t(n >> 16));
        if (padding < 2)
            out.push_back(uint8_t(n >> 8));
        if (padding < 1)
            out.push_back(uint8_t(n));
    }
    return out;
}

} // namespace Util
