#pragma once

namespace UI {

class Canvas;

// Builds a page with one of every window kind of the set on a 470 by 276
// canvas: the design aid's overview, and the page that the drawing tests and
// the redraw benchmark use. With `popups`, a context menu and a tooltip are
// open on it too.
void buildWidgetGallery(Canvas& canvas, bool popups = true);

} // namespace UI
