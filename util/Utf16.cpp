#include "util/Utf16.h"

namespace Util {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one code point starting at text[i] and advances i past it.
char32_t nextCodePoint(std::string_view text, size_t& i)
{
    const auto byte = [&](size_t at) { return uint8_t(text[at]); };
    const uint8_t lead = byte(i++);
    if (lead < 0x80)
        return lead;
    size_t length = 0;
    char32_t point = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 1, point = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 2, point = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 3, point = lead & 0x07, minimum = 0x10000;
    } else {
        return kReplacement;
    }
    for (size_t k = 0; k < length; ++k) {
        if (i >= text.size() || (byte(i) & 0xC0) != 0x80)
            return kReplacement;
        point = (point << 6) | (byte(i++) & 0x3F);
    }
    const bool surrogate = point >= 0xD800 && point <= 0xDFFF;
    return point < minimum || point > 0x10FFFF || surrogate ? kReplacement : point;
}

void appendUtf8(String& out, char32_t point)
{
    if (point < 0x80) {
        out += char(point);
    } else if (point < 0x800) {
        out += char(0xC0 | (point >> 6));
        out += char(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        out += char(0xE0 | (point >> 12));
        out += char(0x80 | ((point >> 6) & 0x3F));
        out += char(0x80 | (point & 0x3F));
    } else {
        out += char(0xF0 | (point >> 18));
        out += char(0x80 | ((point >> 12) & 0x3F));
        out += char(0x80 | ((point >> 6) & 0x3F));
        out += char(0x80 | (point & 0x3F));
    }
}

} // namespace

std::u16string toUtf16(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const char32_t point = nextCodePoint(text, i);
        if (point >= 0x10000) {
            out += char16_t(0xD800 + ((point - 0x10000) >> 10));
            out += char16_t(0xDC00 + ((point - 0x10000) & 0x3FF));
        } else {
            out += char16_t(point);
        }
    }
    return out;
}

String fromUtf16(std::u16string_view text)
{
    String out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        char32_t point = unit;
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
            point = 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (char32_t(text[++i]) - 0xDC00);
        else if (unit >= 0xD800 && unit <= 0xDFFF)
            point = kReplacement;
        appendUtf8(out, point);
    }
    return out;
}

} // namespace Util
