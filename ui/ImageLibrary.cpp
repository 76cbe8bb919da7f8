#include "ui/ImageLibrary.h"

#include "ui/ResourceManager.h"
#include "util/Log.h"

namespace UI {

std::shared_ptr<const Image> ImageLibrary::get(const Util::String& name)
{
    if (name.empty())
        return nullptr;
    const auto it = images_.find(name);
    if (it != images_.end())
        return it->second;
    std::shared_ptr<const Image> image;
    if (const auto data = ResourceManager::instance().find(name))
        if (auto decoded = Image::decodePng(data->bytes))
            image = std::make_shared<const Image>(std::move(*decoded));
    if (!image)
        Util::Log::write(Util::format("Can't load image [%1]", name));
    images_.emplace(name, image);
    return image;
}

} // namespace UI
