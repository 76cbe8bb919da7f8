#pragma once
#include "ui/Font.h"
#include "util/Text.h"

#include <agg_font_cache_manager.h>
#include <agg_font_freetype.h>

#include <memory>
#include <mutex>
#include <string_view>

namespace UI {

// The fonts of the user interface: the sans-serif face that fontconfig names,
// regular and bold, rasterised by FreeType through AGG's glyph cache. One per
// process. The user-interface thread draws with it, and so does a notice shown
// from a worker thread, so every use holds the library's lock. [any-thread], not audio
class FontLibrary {
public:
    using Engine = agg::font_engine_freetype_int32;
    using CacheManager = agg::font_cache_manager<Engine>;
    using Lock = std::unique_lock<std::recursive_mutex>;

    static FontLibrary& instance();

    // Held while a face selected with select() is used; the other operations take it themselves.
    Lock lock() { return Lock(mutex_); }
    // The engine and cache of the face, sized for `font`; null when no font file
    // could be loaded (reported once). The caller holds lock().
    CacheManager* select(const Font& font);
    double ascender(const Font& font);
    double descender(const Font& font);
    double textWidth(std::string_view utf8, const Font& font);
    // The file that fontconfig chose for the face.
    const Util::String& fontFile(bool bold) const;

    // Decodes one code point from UTF-8; malformed bytes read as U+FFFD.
    static char32_t nextCodePoint(std::string_view text, size_t& pos);

private:
    FontLibrary();
    struct Face {
        Util::String file;
        std::unique_ptr<Engine> engine;
        std::unique_ptr<CacheManager> cache;
        double height = 0;
        bool loaded = false;
    };
    Face faces_[2];
    std::recursive_mutex mutex_;
};

} // namespace UI
