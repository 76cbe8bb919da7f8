#pragma once

class Plugin;

namespace ConsoleCommand {

class Manager;

// The product's console commands, added to an instance's manager in their
// registration order, with their help texts and usage tails. [any-thread], not audio
class ProductCommands {
public:
    static void registerAll(Manager& manager, Plugin& plugin);
};

} // namespace ConsoleCommand
