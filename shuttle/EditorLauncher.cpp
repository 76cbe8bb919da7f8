#include "shuttle/EditorLauncher.h"

#include "platform/Folders.h"
#include "platform/MessageBox.h"
#include "platform/Shell.h"
#include "io/ConfigFile.h"

#include <filesystem>

namespace Shuttle {

Util::String EditorLauncher::installFolder(const Util::ConfigFile& pluginSettings)
{
    const Util::String fallback = Util::format("%1Quillex\\TW %2", Platform::programFilesFolder() + "/", 6);
    return pluginSettings.GetString("InstallPath", fallback);
}

Util::String EditorLauncher::programPath(const Util::String& folder)
{
    const Util::String win64 = Platform::toNativePath(Util::format("%1\\win64\\Quillex TW %2 Audio Editor.exe", folder, 6));
    std::error_code ec;
    if (std::filesystem::exists(win64, ec))
        return win64;
    return Platform::toNativePath(Util::format("%1\\win32\\Quillex TW %2 Audio Editor.exe", folder, 6));
}

Util::String EditorLauncher::noticeText(const Util::String& path, int32_t shellAnswer)
{
    Util::String text = "The TW standalone application could not be launched";
    if (!path.empty())
        text += Util::format(" at path %1", path);
    text += ". Please reinstall TW to ensure that the application exists.";
    text += Util::format(" Error code: %1", shellAnswer);
    return text;
}

int32_t EditorLauncher::launch(const Util::ConfigFile& pluginSettings)
{
    const Util::String path = programPath(installFolder(pluginSettings));
    const int32_t answer = Platform::shell().open("open", path, "");
    if (answer < 32)
        Platform::messageBox().show(NoticeTitle, noticeText(path, answer), Platform::MessageBox::Icon::Error);
    return answer;
}

} // namespace Shuttle
