#pragma once
#include "ui/Image.h"

#include <map>
#include <memory>

namespace UI {

// Decoded images of the resource table by name, decoded once. A name that is
// missing or not a PNG is reported once ("Can't load image [%1]") and answers
// null. [ui-thread]
class ImageLibrary {
public:
    std::shared_ptr<const Image> get(const Util::String& name);
    void clear() { images_.clear(); }

private:
    std::map<Util::String, std::shared_ptr<const Image>> images_;
};

} // namespace UI
