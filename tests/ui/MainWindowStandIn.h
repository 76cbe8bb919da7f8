#pragma once
#include "ui/BitmapWindow.h"
#include "ui/MainPluginWindow.h"
#include "ui/MultiText.h"
#include "ui/RadudarContextMenu.h"
#include "ui/RadudarLabel.h"
#include "ui/RadudarPopoverBackground.h"
#include "ui/RadudarPushButton.h"
#include "ui/RadudarScrollBar.h"
#include "ui/ScrollView.h"

namespace TestSupport {

// A plug-in window that builds the windows the main window makes in code
// before its layout is applied (clip list with 16 rows, gradient, texts, help
// popover), then applies "Layout_MainWindow": the framework side of the main
// window, without its behaviour.
class MainWindowStandIn : public UI::MainPluginWindow {
public:
    static constexpr int rows = 16;

protected:
    void buildChildren() override
    {
        UI::Canvas& c = canvas();
        c.attachContextMenu(&UI::Window::create<UI::Radudar::ContextMenu>(c, "Menu"));
        c.tooltipWindow(600);
        auto& bar = UI::Window::create<UI::Radudar::ScrollBar>(c, "Scroll Bar");
        auto& list = UI::Window::create<UI::ScrollView>(c, "Clip ScrollView", &bar);
        for (int n = 1; n <= rows; ++n) {
            auto& row = UI::Window::create<UI::Window>(list, Util::format("Thumbnail %1", n));
            row.setFrame(0, 0, 428, 35);
            UI::Window::create<UI::Radudar::Label>(row, "Label", Util::format("the host %1", n));
            row.hide();
        }
        list.setScrollStep(20);
        list.setTooltip("This info window will guide you through the workflow between the host and TW");
        UI::Window::create<UI::BitmapWindow>(c, "Gradient Bitmap", "png/TW_Relay_Waveform_Gradient.png");
        UI::Window::create<UI::MultiText>(c, "Info Text").hide();
        auto& status = UI::Window::create<UI::MultiText>(c, "Status Text");
        status.setTextColorKey("LabelBrightTextColor");
        status.setAlignment(UI::TextAlign::Center);
        auto& popover = UI::Window::create<UI::Radudar::PopoverBackground>(c, "Help Popover");
        popover.hide();
        UI::Window::create<UI::Radudar::PushButton>(popover, "Help Button").setTitle("Help");
        UI::Window::create<UI::Radudar::PushButton>(popover, "Host Help Button").setTitle("Using TW Relay in supported hosts");
        applyLayout();
    }
};

} // namespace TestSupport
