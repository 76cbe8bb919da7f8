#pragma once
#include <optional>

#include "util/Text.h"

namespace Platform {

// File URLs of local paths, as browsers and the desktop's handlers take them.
// [any-thread]

// "file://" and the absolute path, every byte percent-encoded except the
// unreserved characters (letters, digits, "-._~") and "/". Empty for a path
// that is not absolute.
Util::String fileUrlFromPath(const Util::String& path);

// Whether the text begins with "file://", in any letter case.
bool isFileUrl(const Util::String& text);

// The local path a file URL names: the host empty or "localhost", query and
// fragment dropped, percent escapes decoded. Nothing for another scheme or
// host, a broken escape or an encoded NUL.
std::optional<Util::String> pathFromFileUrl(const Util::String& url);

} // namespace Platform
