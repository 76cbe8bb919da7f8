#include "core/PluginHelpFile.h"

#include "core/PluginDefinition.h"
#include "platform/FileUrl.h"
#include "platform/Folders.h"
#include "platform/MessageBox.h"
#include "platform/ProcessInfo.h"
#include "platform/UrlOpener.h"

#include <filesystem>

namespace {

Util::String replaced(Util::String text, std::string_view from, std::string_view to)
{
    for (size_t at = text.find(from); at != Util::String::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

} // namespace

PluginHelpFile::PluginHelpFile(const PluginDefinition& definition)
    : PluginHelpFile(definition, Platform::moduleFolder())
{
}

PluginHelpFile::PluginHelpFile(const PluginDefinition& definition, const Util::String& installFolder)
    : path_(composePath(installFolder, definition.helpFile().text, LanguageFolder)),
      productName_(definition.plainProductName())
{
}

Util::String PluginHelpFile::composePath(const Util::String& installFolder, const Util::String& helpFile,
                                         const Util::String& language)
{
    const Util::String install = Platform::toNativePath(installFolder);
    const Util::String file = Platform::toNativePath(helpFile);
    const size_t slash = file.rfind('/');
    if (slash == Util::String::npos)
        return Util::format("%1/%2", install, file);
    const Util::String folder = replaced(file.substr(0, slash), "%LANGUAGE", language);
    return Util::format("%1/%2/%3", install, folder, file.substr(slash + 1));
}

Util::String PluginHelpFile::noticeText(const Util::String& path, const Util::String& productName)
{
    return Util::format("The help file (%1) was not found. Please reinstall %2 in order to access its help file.", path,
                        productName);
}

bool PluginHelpFile::show(bool pluginWindowOpen) const
{
    std::error_code ec;
    if (std::filesystem::is_regular_file(path_, ec))
        return Platform::urlOpener().openUrl(Platform::fileUrlFromPath(path_));
    if (pluginWindowOpen)
        Platform::messageBox().show(NoticeTitle, noticeText(path_, productName_), Platform::MessageBox::Icon::Error);
    return false;
}
