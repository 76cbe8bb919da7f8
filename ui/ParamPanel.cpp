#include "ui/ParamPanel.h"

#include "core/Plugin.h"
#include "platform/Folders.h"
#include "ui/Canvas.h"
#include "ui/DrawContext.h"
#include "ui/RadudarEditBox.h"
#include "ui/RadudarLabel.h"
#include "ui/RadudarPushButton.h"
#include "util/Log.h"

#include <json/json.h>

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>

namespace UI {

namespace {

constexpr int Margin = 8;
constexpr int ButtonRow = 28;
using List = HostParameters::List;
constexpr const char* LastFolderKey = "LastFolder";
constexpr const char* FileName = "Param Panel";

std::optional<float> number(const Util::String& text)
{
    float value = 0.0f;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

ParamPanel::ParamPanel(Canvas& canvas, Window* parent, const Util::String& name, Plugin& plugin)
    : Window(canvas, parent, name), plugin_(plugin)
{
    const ParamList& list = plugin_.parameters().list(List::Second);
    setFrame(0, 0, Width, heightFor(list.count()));
    auto& save = Window::create<Radudar::PushButton>(*this, "Save Settings");
    save.setProperty("Title", Util::String("Save"));
    save.setFrame(Margin, Margin, 80, 20);
    connect(save.clicked, [this] { this->save(settingsPath()); });
    auto& load = Window::create<Radudar::PushButton>(*this, "Load Settings");
    load.setProperty("Title", Util::String("Load"));
    load.setFrame(Margin + 88, Margin, 80, 20);
    connect(load.clicked, [this] { this->load(settingsPath()); });

    for (uint32_t i = 0; i < list.count(); ++i) {
        const ParamListEntry& entry = list.entry(i);
        const auto fields = list.fields(i);
        const int y = Margin + ButtonRow + int(i) * RowHeight;
        auto& label = Window::create<Radudar::Label>(*this, Util::format("Param %1 Label", i),
                                                     entry.elementName + ": " + entry.displayName);
        label.setFrame(Margin, y, 200, RowHeight - 4);
        auto& field = Window::create<Radudar::EditBox>(*this, Util::format("Param %1", i));
        field.setFrame(212, y, 100, RowHeight - 4);
        Util::String range = Util::format("[%1, %2]", fields.minimum, fields.maximum);
        if (!fields.labels.empty()) {
            range.clear();
            for (const auto& l : fields.labels)
                range += (range.empty() ? "" : ", ") + l;
        }
        auto& rangeLabel = Window::create<Radudar::Label>(*this, Util::format("Param %1 Range", i), range);
        rangeLabel.setFrame(320, y, Width - 320 - Margin, RowHeight - 4);
        connect(field.committed, [this, i](const Util::String& text) { commit(i, text); });
        rows_.push_back(&field);
    }
    refresh();
}

int ParamPanel::heightFor(uint32_t rows) { return 2 * Margin + ButtonRow + int(rows) * RowHeight; }

Util::String ParamPanel::valueText(uint32_t row) const
{
    float value = 0.0f;
    if (plugin_.parameters().value(List::Second, row, value, EntryProtocol::UserInterfaceLockIndex) != EntryProtocol::Success)
        return {};
    const auto fields = plugin_.parameters().list(List::Second).fields(row);
    const auto index = int64_t(std::lround(value - fields.minimum));
    if (!fields.labels.empty() && index >= 0 && size_t(index) < fields.labels.size())
        return fields.labels[size_t(index)];
    return Util::toText(value);
}

std::optional<float> ParamPanel::parse(uint32_t row, const Util::String& text) const
{
    const auto fields = plugin_.parameters().list(List::Second).fields(row);
    for (size_t i = 0; i < fields.labels.size(); ++i)
        if (fields.labels[i] == text)
            return fields.minimum + float(i);
    const auto value = number(text);
    if (!value || *value < fields.minimum || *value > fields.maximum)
        return std::nullopt;
    return value;
}

bool ParamPanel::commit(uint32_t row, const Util::String& text)
{
    const auto value = row < rows_.size() ? parse(row, text) : std::nullopt;
    const bool set = value && plugin_.parameters().setValue(List::Second, row, *value,
                                                            EntryProtocol::UserInterfaceLockIndex) == EntryProtocol::Success;
    if (row < rows_.size())
        rows_[row]->setText(valueText(row));
    return set;
}

void ParamPanel::refresh()
{
    for (uint32_t i = 0; i < rows_.size(); ++i)
        rows_[i]->setText(valueText(i));
}

bool ParamPanel::save(const Util::String& path) const
{
    const ParamList& list = plugin_.parameters().list(List::Second);
    Json::Value settings(Json::arrayValue);
    for (uint32_t i = 0; i < list.count(); ++i) {
        float value = 0.0f;
        if (plugin_.parameters().value(List::Second, i, value, EntryProtocol::UserInterfaceLockIndex) != EntryProtocol::Success)
            continue;
        Json::Value entry;
        entry["Element"] = list.entry(i).elementName;
        entry["Param"] = list.entry(i).displayName;
        entry["Value"] = double(value);
        settings.append(entry);
    }
    Json::Value root;
    root["Param Settings"] = settings;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << Json::StyledWriter().write(root);
    out.close();
    if (!out) {
        Util::Log::write(Util::format("Param panel settings could not be written to %1", path));
        return false;
    }
    remember(path);
    return true;
}

bool ParamPanel::load(const Util::String& path)
{
    std::ifstream in(path, std::ios::binary);
    Json::Value root;
    Json::CharReaderBuilder builder;
    Util::String errors;
    if (!in || !Json::parseFromStream(builder, in, &root, &errors) || !root["Param Settings"].isArray()) {
        Util::Log::write(Util::format("Param panel settings could not be read from %1 %2", path, errors));
        return false;
    }
    const ParamList& list = plugin_.parameters().list(List::Second);
    for (const Json::Value& entry : root["Param Settings"]) {
        if (!entry.isObject() || !entry["Value"].isNumeric())
            continue;
        for (uint32_t i = 0; i < list.count(); ++i) {
            if (list.entry(i).elementName == entry["Element"].asString() && list.entry(i).displayName == entry["Param"].asString())
                plugin_.parameters().setValue(List::Second, i, entry["Value"].asFloat(), EntryProtocol::UserInterfaceLockIndex);
        }
    }
    remember(path);
    refresh();
    return true;
}

Util::String ParamPanel::settingsPath() const
{
    const Util::String folder = plugin_.settings().GetString(LastFolderKey, Platform::documentsFolder());
    return folder + "/" + FileName + Extension;
}

void ParamPanel::remember(const Util::String& path) const
{
    plugin_.settings().SetString(LastFolderKey, std::filesystem::path(path).parent_path().string());
}

void ParamPanel::draw(DrawContext& context) { context.fillRect(bounds(), canvas().palette().color("WindowBackgroundBottom")); }

} // namespace UI
