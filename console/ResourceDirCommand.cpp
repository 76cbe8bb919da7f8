#include "console/ResourceDirCommand.h"

#include "core/ConsoleCommandManager.h"
#include "io/ConfigFile.h"
#include "platform/MessageBox.h"
#include "ui/ResourceManager.h"
#include "util/Log.h"

#include <filesystem>
#include <fstream>

namespace ConsoleCommand {

namespace fs = std::filesystem;

namespace {
const char* const Title = "Resource Directory";

// The path: everything after the command's name, so that it may hold spaces.
Util::String pathOf(const Util::String& line)
{
    const auto first = line.find_first_not_of(' ');
    const auto afterName = first == Util::String::npos ? Util::String::npos : line.find(' ', first);
    if (afterName == Util::String::npos)
        return {};
    const auto start = line.find_first_not_of(' ', afterName);
    if (start == Util::String::npos)
        return {};
    return line.substr(start, line.find_last_not_of(' ') - start + 1);
}
} // namespace

void ResourceDirCommand::applyKept(Util::ConfigFile& settings)
{
    const Util::String folder = settings.GetString(Setting, "");
    if (!folder.empty())
        UI::ResourceManager::instance().setOverrideFolder(folder);
}

void ResourceDirCommand::use(const Util::String& folder)
{
    UI::ResourceManager::instance().setOverrideFolder(folder);
    settings_.SetString(Setting, folder);
    Util::Log::write(folder.empty() ? Util::String("Resources come from the embedded table")
                                    : Util::format("Resources are looked for in \"%1\" first", folder));
}

Util::String ResourceDirCommand::dumpInto(const Util::String& folder)
{
    try {
        fs::create_directories(folder);
        auto& resources = UI::ResourceManager::instance();
        resources.registerTable("QxResEmbed");
        for (const auto& name : resources.names()) {
            const auto bytes = resources.findEmbedded(name);
            if (!bytes)
                return Util::format("the resource %1 could not be read", name);
            const fs::path file = fs::path(folder) / name;
            fs::create_directories(file.parent_path());
            std::ofstream out(file, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(bytes->data()), std::streamsize(bytes->size()));
            if (!out.flush())
                return Util::format("%1 could not be written", file.string());
        }
    } catch (const fs::filesystem_error& error) {
        return error.what();
    }
    return {};
}

void ResourceDirCommand::consoleCommand(const Util::String& line)
{
    const Util::String folder = pathOf(line);
    std::error_code error;
    if (folder.empty() || fs::is_directory(folder, error)) {
        use(folder);
        return;
    }
    auto& box = Platform::messageBox();
    if (!box.ask(Title, Util::format("The resource directory \"%1\" does not exist. Create it and dump all resource "
                                     "files to it?",
                                     folder))) {
        box.show(Title,
                 Util::format("Because the directory \"%1\" was not created, the resources will not be overridden.",
                              folder),
                 Platform::MessageBox::Icon::Information);
        return;
    }
    if (const Util::String failure = dumpInto(folder); !failure.empty()) {
        box.show("Error!",
                 Util::format("Could not create resource directory \"%1\". As a result, the resources will not be "
                              "overridden. Exception: \"%2\"",
                              folder, failure),
                 Platform::MessageBox::Icon::Error);
        return;
    }
    use(folder);
}

} // namespace ConsoleCommand
