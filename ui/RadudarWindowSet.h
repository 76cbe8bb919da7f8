#pragma once

namespace UI {
class WindowMaker;
}

namespace UI::Radudar {

// Registers the property enumerations of the window set ("LabelStyle",
// "MouseOverButtonStyle", "TextAlignment") and every layout type name of the
// set with the window maker, in the set's order.
void registerWindowSet(WindowMaker& maker);

} // namespace UI::Radudar
