#include "support/WidgetGallery.h"

#include "ui/BitmapWindow.h"
#include "ui/Canvas.h"
#include "ui/MultiText.h"
#include "ui/RadudarCheckBox.h"
#include "ui/RadudarContextMenu.h"
#include "ui/RadudarLabel.h"
#include "ui/RadudarMouseOverButton.h"
#include "ui/RadudarMouseOverOnOffButton.h"
#include "ui/RadudarScrollBar.h"
#include "ui/RadudarTabView.h"
#include "ui/RadudarTooltipWindow.h"
#include "ui/ScrollView.h"
#include "ui/WindowStack.h"

namespace UI {

namespace {

// Makes a window of a layout type name, as a layout would.
Window& make(Canvas& canvas, Window& parent, const char* type, const char* name, Rect frame,
             std::initializer_list<std::pair<const char*, const char*>> properties = {})
{
    Window* window = canvas.maker().create(type, canvas, &parent, name);
    window->setFrame(frame);
    for (const auto& [property, value] : properties)
        window->setPropertyFromText(property, *window->propertyType(property), value);
    return *window;
}

void leftColumn(Canvas& canvas)
{
    make(canvas, canvas, "Radudar ControlBackground", "Clips Background", Rect::fromSize(10, 40, 146, 92));
    auto& bar = Window::create<Radudar::ScrollBar>(canvas, "Scroll Bar");
    auto& list = Window::create<ScrollView>(canvas, "Clip ScrollView", &bar);
    list.setFrame(Rect::fromSize(16, 46, 124, 80));
    const char* waves[] = {"png/TW_Relay_Waveform_Gray.png", "png/TW_Relay_Waveform_Blue.png"};
    for (int n = 1; n <= 5; ++n) {
        auto& row = Window::create<Window>(list, Util::format("Row %1", n));
        row.setFrame(0, 0, 124, 20);
        Window::create<BitmapWindow>(row, "Wave", waves[n % 2]).setFrame(0, 4, 64, 12);
        auto& label = Window::create<Radudar::Label>(row, "Label", Util::format("Clip %1", n));
        label.setFrame(70, 0, 54, 20);
        list.append(row);
    }
    make(canvas, canvas, "Radudar ListBox", "Formats", Rect::fromSize(10, 138, 146, 58),
         {{"Items", "WAV;AIFF;FLAC;MP3"}, {"Selected", "1"}});
    make(canvas, canvas, "Radudar ComboBox", "Rate", Rect::fromSize(10, 202, 146, 22),
         {{"Items", "44.1 kHz;48 kHz;96 kHz"}, {"Selected", "1"}});
    make(canvas, canvas, "Radudar EditBox", "Name", Rect::fromSize(10, 230, 70, 20), {{"Text", "Take 3"}});
    make(canvas, canvas, "Radudar SearchEditBox", "Search", Rect::fromSize(86, 230, 70, 20));
    make(canvas, canvas, "Radudar ProgressBar", "Progress", Rect::fromSize(10, 258, 146, 8), {{"Progress", "0.62"}});
}

void middleColumn(Canvas& canvas)
{
    Window& box = make(canvas, canvas, "Radudar Box", "Options", Rect::fromSize(166, 36, 140, 96), {{"Title", "Options"}});
    make(canvas, box, "Radudar CheckBox", "Normalize", Rect::fromSize(8, 16, 124, 16),
         {{"Title", "Normalize"}, {"Checked", "true"}});
    make(canvas, box, "Radudar RadioButton", "Mono", Rect::fromSize(8, 36, 58, 16), {{"Title", "Mono"}, {"Checked", "true"}});
    make(canvas, box, "Radudar RadioButton", "Stereo", Rect::fromSize(68, 36, 66, 16), {{"Title", "Stereo"}});
    Window& group = make(canvas, box, "Radudar Group CheckBox", "Fades", Rect::fromSize(8, 56, 126, 36),
                         {{"Title", "Fades"}, {"Checked", "false"}});
    make(canvas, group, "Radudar SmallOnOffButton", "Auto Fade", Rect::fromSize(18, 19, 60, 16),
         {{"Title", "Auto"}, {"On", "true"}});

    auto& send = static_cast<Radudar::MouseOverOnOffButton&>(
        make(canvas, canvas, "Radudar MouseOverOnOffButton", "Send Button", Rect::fromSize(166, 138, 140, 51),
             {{"Image Base Name", "png/buttonOneWay"}, {"Title", "SEND"}, {"ToolTip", "Send a copy for reference"}}));
    send.titleText().setFrame(59, 16, 80, 23);
    send.setOn(true);
    make(canvas, canvas, "Radudar Slider", "Level", Rect::fromSize(166, 196, 140, 16), {{"Value", "0.4"}});
    make(canvas, canvas, "Radudar SnapSlider", "Steps", Rect::fromSize(166, 214, 140, 20), {{"Value", "0.5"}});
    make(canvas, canvas, "Radudar SliderGroup", "Gain", Rect::fromSize(166, 236, 140, 18),
         {{"Title", "Gain"}, {"Units", "dB"}, {"Range", "-12,12"}, {"Value", "3.5"}});
    make(canvas, canvas, "Rududir Scrub Text", "Offset", Rect::fromSize(166, 256, 70, 14),
         {{"Value", "-6"}, {"Format", "%1 dB"}});
    make(canvas, canvas, "Radudar LinkButton", "Manual", Rect::fromSize(246, 256, 60, 14), {{"Title", "Manual"}});
}

void rightColumn(Canvas& canvas)
{
    auto& tabs = static_cast<Radudar::TabView&>(make(canvas, canvas, "Radudar TabView", "Tabs", Rect::fromSize(316, 36, 144, 96)));
    Window& clips = tabs.addPage("Clips");
    auto& text = Window::create<MultiText>(clips, "Hint", "Render the selection, then press Process to send it to TW.");
    text.setFrame(8, 6, 128, 64);
    Window& notes = tabs.addPage("Notes");
    make(canvas, notes, "Radudar XYMeterBackground", "Meter", Rect::fromSize(8, 8, 60, 56));
    tabs.select(0);

    Window& popover = make(canvas, canvas, "Radudar PopoverBackground", "Help Popover", Rect::fromSize(316, 138, 144, 54));
    make(canvas, popover, "Radudar PushButton", "Help Button", Rect::fromSize(7, 7, 130, 18), {{"Title", "Help"}});
    make(canvas, popover, "Radudar SmallPushButton", "About Button", Rect::fromSize(7, 29, 130, 18), {{"Title", "About"}});

    make(canvas, canvas, "Radudar OnOffPushButton", "Loop", Rect::fromSize(316, 198, 44, 20), {{"Title", "Loop"}, {"On", "true"}});
    make(canvas, canvas, "Radudar GradientOnOffButton", "Solo", Rect::fromSize(364, 198, 46, 20), {{"Title", "Solo"}});
    make(canvas, canvas, "Radudar ExportFormatOnOffButton", "WAV", Rect::fromSize(414, 198, 46, 20), {{"Title", "WAV"}, {"On", "true"}});
    make(canvas, canvas, "Radudar MoreOnOffButton", "More", Rect::fromSize(316, 224, 56, 16), {{"Title", "More"}});
    make(canvas, canvas, "Radudar Tab", "Lone Tab", Rect::fromSize(376, 222, 84, 20), {{"Title", "Spectrum"}, {"Selected", "true"}});
    make(canvas, canvas, "Radudar DialogButtonGroup", "Dialog Buttons", Rect::fromSize(312, 248, 148, 20));
}

void header(Canvas& canvas)
{
    make(canvas, canvas, "Radudar BackgroundTexture", "Texture", Rect::fromSize(0, 0, 470, 30));
    make(canvas, canvas, "Radudar GradientBackground", "Title Band", Rect::fromSize(6, 4, 200, 22));
    make(canvas, canvas, "Radudar Label", "Title", Rect::fromSize(14, 4, 190, 22),
         {{"Text", "Widget gallery"}, {"Style", "Bright"}, {"Bold", "true"}});
    Window& stack = make(canvas, canvas, "Window Stack", "Wave Stack", Rect::fromSize(214, 7, 160, 16));
    Window::create<BitmapWindow>(stack, "Gray", "png/TW_Relay_Waveform_Gray.png");
    Window::create<BitmapWindow>(stack, "Blue", "png/TW_Relay_Waveform_Blue.png");
    stack.setMetric(0, 1);
    make(canvas, canvas, "Radudar MouseOverButton", "Trash", Rect::fromSize(384, 4, 21, 22), {{"Style", "ShuttleTrash"}});
    make(canvas, canvas, "Radudar MouseOverButton", "Help", Rect::fromSize(410, 5, 20, 20), {{"Style", "ShuttleHelp"}});
    make(canvas, canvas, "Radudar MouseOverButton", "Close", Rect::fromSize(438, 8, 13, 13), {{"Style", "CloseLight"}});
    // A plain window holding an overlay that shades the end of the waveform.
    Window& plain = make(canvas, canvas, "Window", "Plain", Rect::fromSize(318, 7, 56, 16));
    make(canvas, plain, "Radudar SimpleOverlay", "Shade", Rect::fromSize(0, 0, 56, 16));
}

} // namespace

void buildWidgetGallery(Canvas& canvas, bool popups)
{
    header(canvas);
    leftColumn(canvas);
    middleColumn(canvas);
    rightColumn(canvas);
    auto& menu = Window::create<Radudar::ContextMenu>(canvas, "Menu");
    menu.addItem("Copy", [] {});
    menu.addItem("Paste", [] {});
    menu.addItem("Discard", [] {});
    canvas.attachContextMenu(&menu);
    if (popups) {
        menu.popup({392, 96});
        canvas.tooltipWindow(600).showText("Send a copy for reference", {180, 150});
    }
}

} // namespace UI
