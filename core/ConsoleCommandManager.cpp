#include "core/ConsoleCommandManager.h"

#include "platform/MessageBox.h"
#include "util/Log.h"

#include <algorithm>
#include <utility>

namespace ConsoleCommand {

namespace {
std::vector<Util::String> words(const Util::String& line)
{
    std::vector<Util::String> result;
    size_t start = 0;
    while (start <= line.size()) {
        const size_t end = std::min(line.find(' ', start), line.size());
        if (end > start)
            result.push_back(line.substr(start, end - start));
        start = end + 1;
    }
    return result;
}

const Manager::Command HelpCommand{
    "help", "Displays help about console commands. If given no arguments, this will list all available commands. If "
            "given the name of a specific command, this will show help for that command.",
    {}};
} // namespace

class Manager::Help final : public Delegate {
public:
    explicit Help(const Manager& manager) : manager_(manager) {}
    void consoleCommand(const Util::String& line) override { manager_.showHelp(line); }

private:
    const Manager& manager_;
};

Manager::Attachment::Attachment(Attachment&& other) noexcept
    : manager_(std::exchange(other.manager_, nullptr)), delegate_(std::exchange(other.delegate_, nullptr))
{
}

Manager::Attachment& Manager::Attachment::operator=(Attachment&& other) noexcept
{
    if (this != &other) {
        release();
        manager_ = std::exchange(other.manager_, nullptr);
        delegate_ = std::exchange(other.delegate_, nullptr);
    }
    return *this;
}

Manager::Attachment::~Attachment() { release(); }

void Manager::Attachment::release()
{
    if (manager_)
        manager_->detach(delegate_);
    manager_ = nullptr;
    delegate_ = nullptr;
}

Manager::Manager() { add(HelpCommand, std::make_unique<Help>(*this)); }

Manager::~Manager() = default;

Manager::Entry& Manager::entryFor(const Command& command)
{
    const auto found = byName_.find(command.name);
    if (found != byName_.end()) {
        Entry& entry = entries_[found->second];
        entry.command = command;
        return entry;
    }
    byName_.emplace(command.name, entries_.size());
    entries_.push_back({command, nullptr, nullptr});
    return entries_.back();
}

void Manager::add(const Command& command, Delegate& handler)
{
    Entry& entry = entryFor(command);
    entry.owned.reset();
    entry.handler = &handler;
}

void Manager::add(const Command& command, std::unique_ptr<Delegate> handler)
{
    Entry& entry = entryFor(command);
    entry.handler = handler.get();
    entry.owned = std::move(handler);
}

Manager::Attachment Manager::attach(Delegate& delegate)
{
    delegates_.push_back(&delegate);
    return Attachment(*this, delegate);
}

void Manager::detach(Delegate* delegate)
{
    const auto found = std::find(delegates_.begin(), delegates_.end(), delegate);
    if (found != delegates_.end())
        delegates_.erase(found);
}

Util::String Manager::commandName(const Util::String& line)
{
    const auto all = words(line);
    return all.empty() ? Util::String() : Util::toLower(all.front());
}

std::vector<Util::String> Manager::arguments(const Util::String& line)
{
    auto all = words(line);
    if (!all.empty())
        all.erase(all.begin());
    return all;
}

void Manager::run(const Util::String& line)
{
    const Util::String name = commandName(line);
    if (name.empty())
        return;
    const auto found = byName_.find(name);
    if (found != byName_.end()) {
        entries_[found->second].handler->consoleCommand(line);
        return;
    }
    if (delegates_.empty())
        Util::Log::write(Util::format("\"%1\" is not a console command.", name));
    // A delegate may detach another while it runs: walk a copy.
    const auto delegates = delegates_;
    for (Delegate* delegate : delegates)
        delegate->consoleCommand(line);
}

std::vector<Manager::Command> Manager::commands() const
{
    std::vector<Command> result;
    for (const auto& entry : entries_)
        result.push_back(entry.command);
    return result;
}

std::optional<Util::String> Manager::helpText(const Util::String& name) const
{
    const auto found = byName_.find(Util::toLower(name));
    if (found == byName_.end())
        return std::nullopt;
    const Command& command = entries_[found->second].command;
    if (command.usageTail.empty())
        return command.help;
    return command.help + command.name + command.usageTail;
}

Util::String Manager::commandList() const
{
    Util::String text = "Type \"help <command>\" for more information on a command:\n";
    for (const auto& [name, index] : byName_)
        text += name + "\n";
    return text;
}

void Manager::showHelp(const Util::String& line) const
{
    const auto asked = arguments(line);
    if (asked.empty()) {
        Platform::messageBox().show("Console Commands List", commandList(), Platform::MessageBox::Icon::Information);
        return;
    }
    if (const auto help = helpText(asked.front()))
        Platform::messageBox().show(Util::format("Console Command Help for \"%1\"", asked.front()), *help,
                                    Platform::MessageBox::Icon::Information);
    else
        Platform::messageBox().show("Console Command Help",
                                    Util::format("\"%1\" is not a console command.", asked.front()),
                                    Platform::MessageBox::Icon::Information);
}

} // namespace ConsoleCommand
