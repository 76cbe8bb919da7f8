#include "ui/ResourceManager.h"

#include "platform/ModuleResources.h"
#include "util/Log.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace UI {

ResourceManager& ResourceManager::instance()
{
    static ResourceManager manager;
    return manager;
}

ResourceManager::ResourceManager()
{
    if (const char* folder = std::getenv("RELAY_RESOURCE_FOLDER"))
        overrideFolder_ = folder;
}

bool ResourceManager::registerTable(const Util::String& name)
{
    std::lock_guard<std::mutex> lock(mutex_);
    return registerLocked(name);
}

bool ResourceManager::registerLocked(const Util::String& name)
{
    if (table_)
        return true;
    const auto bytes = Platform::moduleResource("QXRESEMBED", name);
    if (!bytes) {
        Util::Log::write(Util::format("Can't find resource table %1", name));
        return false;
    }
    Util::String error;
    table_ = ResourceTable::read(*bytes, &error);
    if (!table_)
        Util::Log::write(Util::format("Resource table %1 is damaged: %2", name, error));
    return table_.has_value();
}

std::optional<ResourceData> ResourceManager::find(const Util::String& path)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (!table_)
        registerLocked("QxResEmbed");
    if (!overrideFolder_.empty()) {
        const std::filesystem::path file = std::filesystem::path(overrideFolder_) / path;
        std::error_code ec;
        if (std::filesystem::is_regular_file(file, ec)) {
            std::ifstream in(file, std::ios::binary);
            auto owned = std::make_shared<std::vector<uint8_t>>((std::istreambuf_iterator<char>(in)),
                                                                 std::istreambuf_iterator<char>());
            return ResourceData{std::span<const uint8_t>(*owned), owned};
        }
    }
    if (!table_)
        return std::nullopt;
    const auto bytes = table_->find(path);
    if (!bytes)
        return std::nullopt;
    return ResourceData{*bytes, nullptr};
}

std::optional<std::span<const uint8_t>> ResourceManager::findEmbedded(const Util::String& path)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (!table_)
        registerLocked("QxResEmbed");
    return table_ ? table_->find(path) : std::nullopt;
}

void ResourceManager::setOverrideFolder(const Util::String& folder)
{
    std::lock_guard<std::mutex> lock(mutex_);
    overrideFolder_ = folder;
}

Util::String ResourceManager::overrideFolder() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return overrideFolder_;
}

std::vector<Util::String> ResourceManager::names() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<Util::String> result;
    if (table_)
        for (const auto& [name, entry] : table_->entries())
            result.push_back(name);
    return result;
}

} // namespace UI
