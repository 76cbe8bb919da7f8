#include "console/PresetCommand.h"

#include "core/ConsoleCommandManager.h"
#include "core/Plugin.h"
#include "core/StateChunk.h"
#include "dsp/DSPSetImpl.h"
#include "dsp/Element.h"
#include "platform/Folders.h"
#include "platform/MessageBox.h"
#include "util/TypedDictionaryJson.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace ConsoleCommand {

namespace fs = std::filesystem;
using Util::TypedDictionary;
using Util::TypedValue;

namespace {
constexpr const char* UserDocuments = "%USERDOCS%";

std::vector<fs::path> presetFiles(const Util::String& folder)
{
    std::vector<fs::path> files;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (it->is_regular_file() && it->path().extension() == PresetCommand::Extension)
            files.push_back(it->path());
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<uint8_t> bytesOf(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool atDefault(const DSP::ParamDeclaration& declaration, const TypedValue& value)
{
    switch (value.type()) {
    case TypedValue::Type::Float: return float(value.asFloat()) == declaration.defaultValue;
    case TypedValue::Type::Bool: return (value.asBool() ? 1.0f : 0.0f) == declaration.defaultValue;
    case TypedValue::Type::UInt: return float(value.asUInt()) == declaration.defaultValue;
    default: return false;
    }
}

// The elements' values without those at their defaults, or with each
// parameter's range beside them (verbose).
TypedDictionary presetElements(const TypedDictionary& elements, DSP::DSPSetImpl* set, bool verbose,
                               TypedDictionary& details)
{
    TypedDictionary kept;
    for (const auto& [name, value] : elements.members()) {
        const auto element = set ? set->FindElement(name) : nullptr;
        if (!element || value.type() != TypedValue::Type::Dictionary) {
            kept.set(name, value);
            continue;
        }
        TypedDictionary parameters, ranges;
        for (const auto& [parameter, saved] : value.asDictionary().members()) {
            const auto index = element->FindParameter(parameter);
            const DSP::ParamDeclaration* declaration = index ? element->GetParameterDeclaration(*index) : nullptr;
            if (verbose || !declaration || !atDefault(*declaration, saved))
                parameters.set(parameter, saved);
            if (verbose && declaration) {
                TypedDictionary range;
                range.set("Element", TypedValue::fromString(name));
                range.set("Parameter", TypedValue::fromString(parameter));
                range.set("Minimum", TypedValue::fromFloat(declaration->minimum));
                range.set("Maximum", TypedValue::fromFloat(declaration->maximum));
                range.set("Default", TypedValue::fromFloat(declaration->defaultValue));
                ranges.set(parameter, TypedValue::fromDictionary(std::move(range)));
            }
        }
        kept.set(name, TypedValue::fromDictionary(std::move(parameters)));
        if (verbose)
            details.set(name, TypedValue::fromDictionary(std::move(ranges)));
    }
    return kept;
}
} // namespace

Util::String PresetCommand::folder() const
{
    Util::String path = plugin_.definition().presetsFolder().text;
    if (path.rfind(UserDocuments, 0) == 0)
        path = Platform::documentsFolder() + path.substr(std::char_traits<char>::length(UserDocuments));
    return path;
}

std::vector<uint8_t> PresetCommand::presetChunk(bool verbose)
{
    const auto& chunk = plugin_.savedState().chunk(PluginState::Flavour::First);
    const auto text = StateChunk::unpack(chunk.data(), chunk.size());
    auto state = text ? Util::TypedDictionaryJson::read(*text) : std::nullopt;
    if (!state)
        return chunk;
    const TypedValue* dsp = state->find("DSP State");
    const TypedValue* elements =
        dsp && dsp->type() == TypedValue::Type::Dictionary ? dsp->asDictionary().find("DSP Elements") : nullptr;
    if (elements && elements->type() == TypedValue::Type::Dictionary) {
        TypedDictionary details;
        TypedDictionary dspState = dsp->asDictionary();
        dspState.set("DSP Elements", TypedValue::fromDictionary(presetElements(
                                         elements->asDictionary(), plugin_.elementSet().dspSet(), verbose, details)));
        state->set("DSP State", TypedValue::fromDictionary(std::move(dspState)));
        if (verbose)
            state->set("Preset Parameters", TypedValue::fromDictionary(std::move(details)));
    }
    return StateChunk::pack(Util::TypedDictionaryJson::write(*state));
}

void PresetCommand::saveAll()
{
    const bool verbose = plugin_.settings().GetBool(VerboseSetting, false);
    const std::vector<uint8_t> own = plugin_.savedState().chunk(PluginState::Flavour::First);
    const auto files = presetFiles(folder());
    size_t saved = 0;
    for (const auto& file : files) {
        const auto bytes = bytesOf(file);
        if (!plugin_.savedState().restore(bytes.data(), uint32_t(bytes.size())))
            continue;
        const auto chunk = presetChunk(verbose);
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(chunk.data()), std::streamsize(chunk.size()));
        saved += out.flush() ? 1 : 0;
    }
    plugin_.savedState().restore(own.data(), uint32_t(own.size()));
    Platform::messageBox().show("Preset Save All",
                                Util::format("Saved %1 of %2 presets in \"%3\".", saved, files.size(), folder()),
                                Platform::MessageBox::Icon::Information);
}

void PresetCommand::consoleCommand(const Util::String& line)
{
    const auto words = Manager::arguments(line);
    const Util::String option = words.empty() ? "status" : Util::toLower(words[0]);
    if (option == "saveall") {
        saveAll();
        return;
    }
    if (option == "verbose" && words.size() > 1)
        plugin_.settings().SetBool(VerboseSetting, Util::toLower(words[1]) == "on");
    const bool verbose = plugin_.settings().GetBool(VerboseSetting, false);
    Platform::messageBox().show("Preset Status",
                                Util::format("Preset folder: %1\nPresets there: %2\nVerbose preset files: %3", folder(),
                                             presetFiles(folder()).size(), verbose ? "on" : "off"),
                                Platform::MessageBox::Icon::Information);
}

} // namespace ConsoleCommand
