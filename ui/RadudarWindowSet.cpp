#include "ui/RadudarWindowSet.h"

#include "ui/MultiText.h"
#include "ui/PropertyTypes.h"
#include "ui/RadudarCheckBox.h"
#include "ui/RadudarComboBox.h"
#include "ui/RadudarControlBackground.h"
#include "ui/RadudarDialogButtonGroup.h"
#include "ui/RadudarEditBox.h"
#include "ui/RadudarLabel.h"
#include "ui/RadudarLinkButton.h"
#include "ui/RadudarListBox.h"
#include "ui/RadudarMouseOverButton.h"
#include "ui/RadudarMouseOverOnOffButton.h"
#include "ui/RadudarPanel.h"
#include "ui/RadudarPopoverBackground.h"
#include "ui/RadudarProgressBar.h"
#include "ui/RadudarPushButton.h"
#include "ui/RadudarScrubText.h"
#include "ui/RadudarSlider.h"
#include "ui/RadudarSliderGroup.h"
#include "ui/RadudarTab.h"
#include "ui/RadudarTabView.h"
#include "ui/RadudarToggleButton.h"
#include "ui/WindowMaker.h"
#include "ui/WindowStack.h"

namespace UI::Radudar {

namespace {

void registerPropertyTypes()
{
    auto& types = Util::PropertyTypes::instance();
    types.registerEnumeration("LabelStyle", {"Normal", "Bright"});
    types.registerEnumeration("TextAlignment", {"Left", "Center", "Right"});
    types.registerEnumeration("MouseOverButtonStyle",
                              {"HelpSolid", "HelpHover", "WrenchSolid", "WrenchHover", "Close", "CloseLight",
                               "DropDownLight", "DropDownDark", "BatchAdd", "BatchRemove", "BatchCancel", "ShuttleHelp",
                               "ShuttleTrash", "PaperAirplane", "ShuttleDownArrow", "TabCollapse", "TabExpand",
                               "Override", "Presets", "History"});
}

template <typename T, typename... Extra>
WindowMaker::Creator make(Extra... extra)
{
    return [=](Canvas&, Window& parent, const Util::String& name) -> Window& {
        return Window::create<T>(parent, name, extra...);
    };
}

} // namespace

void registerWindowSet(WindowMaker& maker)
{
    registerPropertyTypes();
    using P = Panel::Kind;
    using T = ToggleButton::Kind;
    using C = CheckBox::Kind;
    maker.registerType("Radudar BackgroundTexture", make<Panel>(P::BackgroundTexture));
    maker.registerType("Radudar Box", make<Panel>(P::Box));
    maker.registerType("Radudar CheckBox", make<CheckBox>(C::CheckBox));
    maker.registerType("Radudar Group CheckBox", make<CheckBox>(C::Group));
    maker.registerType("Radudar ComboBox", make<ComboBox>());
    maker.registerType("Radudar ControlBackground", make<ControlBackground>());
    maker.registerType("Radudar DialogButtonGroup", make<DialogButtonGroup>());
    maker.registerType("Radudar EditBox", make<EditBox>(false));
    maker.registerType("Radudar ExportFormatOnOffButton", make<ToggleButton>(T::ExportFormat));
    maker.registerType("Radudar GradientBackground", make<Panel>(P::GradientBackground));
    maker.registerType("Radudar GradientOnOffButton", make<ToggleButton>(T::GradientOnOff));
    maker.registerType("Radudar Label", make<Label>());
    maker.registerType("Radudar LinkButton", make<LinkButton>());
    maker.registerType("Radudar ListBox", make<ListBox>());
    maker.registerType("Radudar MouseOverButton", make<MouseOverButton>());
    maker.registerType("Radudar MultiText", make<MultiText>());
    maker.registerType("Radudar MouseOverOnOffButton", make<MouseOverOnOffButton>());
    maker.registerType("Radudar OnOffPushButton", make<ToggleButton>(T::OnOffPush));
    maker.registerType("Radudar PopoverBackground", make<PopoverBackground>());
    maker.registerType("Radudar ProgressBar", make<ProgressBar>());
    maker.registerType("Radudar PushButton", make<PushButton>(false));
    maker.registerType("Radudar RadioButton", make<CheckBox>(C::Radio));
    maker.registerType("Radudar SearchEditBox", make<EditBox>(true));
    maker.registerType("Radudar SimpleOverlay", make<Panel>(P::SimpleOverlay));
    maker.registerType("Radudar Slider", make<Slider>(false));
    maker.registerType("Radudar SnapSlider", make<Slider>(true));
    maker.registerType("Radudar SliderGroup", make<SliderGroup>());
    maker.registerType("Radudar SmallOnOffButton", make<ToggleButton>(T::SmallOnOff));
    maker.registerType("Radudar SmallPushButton", make<PushButton>(true));
    maker.registerType("Radudar Tab", make<Tab>());
    maker.registerType("Radudar TabView", make<TabView>());
    maker.registerType("Radudar XYMeterBackground", make<Panel>(P::XYMeterBackground));
    maker.registerType("Window", make<Window>());
    maker.registerType("Window Stack", make<WindowStack>());
    maker.registerType("Rududir Scrub Text", make<ScrubText>());
    maker.registerType("Radudar MoreOnOffButton", make<ToggleButton>(T::More));
}

} // namespace UI::Radudar
