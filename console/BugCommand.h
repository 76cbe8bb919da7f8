#pragma once
#include "core/ConsoleCommandDelegate.h"

#include <functional>
#include <utility>
#include <vector>

namespace ConsoleCommand {

// bug: opens the maker's bug-report page in the web browser, with the query
// keys "bug" (the product), "os" (the platform word), "environment" (the
// plug-in's, the host's and the system's versions) and "summary" (the words
// after the command). [ui-thread]
class BugCommand final : public Delegate {
public:
    static constexpr const char* Page = "https://bugs.quillex.com/create-bug";
    static constexpr const char* PlatformWord = "win";

    // The product's name and the environment text.
    BugCommand(std::function<Util::String()> product, std::function<Util::String()> environment)
        : product_(std::move(product)), environment_(std::move(environment))
    {
    }
    void consoleCommand(const Util::String& line) override;
    Util::String url(const Util::String& line) const;

    // "key=value" pairs joined by "&": spaces as "+", every byte outside
    // letters, digits and "-_.~" as %XX.
    static Util::String query(const std::vector<std::pair<Util::String, Util::String>>& pairs);

private:
    std::function<Util::String()> product_;
    std::function<Util::String()> environment_;
};

} // namespace ConsoleCommand
