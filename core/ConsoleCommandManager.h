#pragma once
#include "core/ConsoleCommandDelegate.h"
#include "param/Object.h"
#include "util/Text.h"

#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace ConsoleCommand {

// The instance's table of developer and support commands ("Console Command
// Manager"). A command is a lower-case name, a help text (with an optional usage
// tail shown behind the command's name) and the delegate that runs it; "help"
// is the manager's own and always the first. A line names its command with its
// first word; the command's delegate gets the whole line. Lines that name no
// command go to the attached delegates (the open main window's, for example).
// Answers reach the user as notices (Platform::messageBox) or on the clipboard.
// Everything here runs on the user-interface thread. [ui-thread]
class Manager : public Controller::Object {
public:
    static constexpr const char* Name = "Console Command Manager";

    struct Command {
        Util::String name;
        Util::String help;
        Util::String usageTail; // shown behind the name at the end of the help; may be empty
    };

    // While it lives, lines that name no command reach its delegate.
    class Attachment {
    public:
        Attachment() = default;
        Attachment(Attachment&& other) noexcept;
        Attachment& operator=(Attachment&& other) noexcept;
        ~Attachment();

    private:
        friend class Manager;
        Attachment(Manager& manager, Delegate& delegate) : manager_(&manager), delegate_(&delegate) {}
        void release();
        Manager* manager_ = nullptr;
        Delegate* delegate_ = nullptr;
    };

    Manager();
    ~Manager() override;

    const Util::String& name() const { return name_; }

    // Adds a command behind those added so far; a name already taken replaces
    // that command's help and delegate in place. `handler` must outlive the manager.
    void add(const Command& command, Delegate& handler);
    void add(const Command& command, std::unique_ptr<Delegate> handler);
    [[nodiscard]] Attachment attach(Delegate& delegate);

    // Runs one line: its first word (lower-cased) names the command.
    void run(const Util::String& line);

    // The commands in registration order.
    std::vector<Command> commands() const;
    // A command's help as "help <name>" shows it; none for an unknown name.
    std::optional<Util::String> helpText(const Util::String& name) const;
    // The text of "help" without arguments.
    Util::String commandList() const;

    // The first word of a line, lower-cased; empty for a blank line.
    static Util::String commandName(const Util::String& line);
    // The words of a line after the first, split at spaces (empty words dropped).
    static std::vector<Util::String> arguments(const Util::String& line);

private:
    struct Entry {
        Command command;
        Delegate* handler = nullptr;
        std::unique_ptr<Delegate> owned;
    };
    class Help;

    Entry& entryFor(const Command& command);
    void showHelp(const Util::String& line) const;
    void detach(Delegate* delegate);

    Util::String name_ = Name;
    std::vector<Entry> entries_;            // registration order
    std::map<Util::String, size_t> byName_; // the table kept ordered by name
    std::vector<Delegate*> delegates_;
};

} // namespace ConsoleCommand
