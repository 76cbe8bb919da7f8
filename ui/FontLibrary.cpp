#include "ui/FontLibrary.h"

#include "platform/DynamicLibrary.h"
#include "util/Log.h"

#include <fontconfig/fontconfig.h>

namespace UI {

namespace {

// Asks a private fontconfig configuration for the file of the sans-serif face.
// The process-wide configuration belongs to the host; FcFini is never called.
Util::String findSansSerif(bool bold)
{
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (!config)
        return {};
    Util::String file;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(bold ? "sans-serif:weight=bold" : "sans-serif"));
    if (pattern) {
        FcConfigSubstitute(config, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        if (FcPattern* match = FcFontMatch(config, pattern, &result)) {
            FcChar8* path = nullptr;
            if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path)
                file = reinterpret_cast<const char*>(path);
            FcPatternDestroy(match);
        }
        FcPatternDestroy(pattern);
    }
    FcConfigDestroy(config);
    return file;
}

// fontconfig keeps caches for the whole process (the program's name, the
// default languages, the font cache files it has read) that only FcFini frees,
// and FcFini would take them from a host that uses fontconfig too. A host that
// does not, and unloads this library, would unload fontconfig with it and lose
// those caches at every unload; so fontconfig stays for the process's life
// (the mark outlives the handle, which is released at once).
void keepFontconfigLoaded()
{
    if (!Platform::DynamicLibrary::load("libfontconfig.so.1", Platform::DynamicLibrary::Lifetime::Process))
        Util::Log::write("fontconfig could not be kept loaded: its caches go when this library is unloaded");
}

} // namespace

FontLibrary& FontLibrary::instance()
{
    static FontLibrary library;
    return library;
}

FontLibrary::FontLibrary()
{
    keepFontconfigLoaded();
    for (int i = 0; i < 2; ++i) {
        Face& face = faces_[i];
        face.file = findSansSerif(i == 1);
        face.engine = std::make_unique<Engine>();
        face.cache = std::make_unique<CacheManager>(*face.engine);
        face.loaded = !face.file.empty() && face.engine->load_font(face.file.c_str(), 0, agg::glyph_ren_agg_gray8);
        if (!face.loaded) {
            Util::Log::write(Util::format("Can't load font %1", face.file.empty() ? "sans-serif" : face.file));
            continue;
        }
        face.engine->flip_y(true);
        face.engine->char_map(FT_ENCODING_UNICODE);
        face.engine->hinting(true);
    }
}

const Util::String& FontLibrary::fontFile(bool bold) const { return faces_[bold ? 1 : 0].file; }

FontLibrary::CacheManager* FontLibrary::select(const Font& font)
{
    Face& face = faces_[font.bold ? 1 : 0];
    if (!face.loaded)
        return nullptr;
    if (face.height != font.size) {
        face.engine->height(font.size);
        face.engine->width(font.size);
        face.height = font.size;
    }
    return face.cache.get();
}

double FontLibrary::ascender(const Font& font)
{
    const Lock held = lock();
    return select(font) ? faces_[font.bold ? 1 : 0].engine->ascender() : font.size * 0.8;
}

double FontLibrary::descender(const Font& font)
{
    const Lock held = lock();
    return select(font) ? faces_[font.bold ? 1 : 0].engine->descender() : -font.size * 0.2;
}

double FontLibrary::textWidth(std::string_view utf8, const Font& font)
{
    const Lock held = lock();
    CacheManager* cache = select(font);
    if (!cache)
        return 0;
    double x = 0;
    double y = 0;
    cache->reset_last_glyph();
    for (size_t pos = 0; pos < utf8.size();) {
        const char32_t code = nextCodePoint(utf8, pos);
        if (const agg::glyph_cache* glyph = cache->glyph(code)) {
            cache->add_kerning(&x, &y);
            x += glyph->advance_x;
        }
    }
    return x;
}

char32_t FontLibrary::nextCodePoint(std::string_view text, size_t& pos)
{
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos++);
    if (lead < 0x80)
        return lead;
    int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
    if (extra < 0)
        return 0xFFFD;
    char32_t code = lead & (0x3F >> extra);
    for (; extra > 0; --extra) {
        if (pos >= text.size() || (byte(pos) & 0xC0) != 0x80)
            return 0xFFFD;
        code = (code << 6) | (byte(pos++) & 0x3F);
    }
    return code;
}

} // namespace UI
