// Redraw: one full redraw, off screen, of a 470 by 276 canvas that holds every
// window kind of the set (the widget gallery with its popups), against a plain
// AGG solid fill of the same area.
#include "ui/Canvas.h"
#include "ui/Image.h"
#include "support/WidgetGallery.h"

#include <agg_pixfmt_rgba.h>
#include <agg_renderer_base.h>
#include <agg_rendering_buffer.h>
#include <benchmark/benchmark.h>

namespace {

constexpr int width = 470;
constexpr int height = 276;

void redrawOurs(benchmark::State& state)
{
    UI::Canvas canvas(width, height);
    UI::buildWidgetGallery(canvas);
    UI::Image image(width, height);
    canvas.renderAll(image); // glyphs and images are cached from here on, as in a running window
    for (auto _ : state) {
        canvas.invalidate();
        benchmark::DoNotOptimize(canvas.redraw(image));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}

void redrawAggFill(benchmark::State& state)
{
    UI::Image image(width, height);
    agg::rendering_buffer buffer(image.data(), width, height, image.stride());
    agg::pixfmt_rgba32_pre pixels(buffer);
    agg::renderer_base<agg::pixfmt_rgba32_pre> renderer(pixels);
    const agg::rgba8 color(0x2a, 0x2d, 0x31, 0xff);
    for (auto _ : state) {
        renderer.copy_bar(0, 0, width - 1, height - 1, color);
        benchmark::DoNotOptimize(image.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}

// A redraw with nothing changed: it must draw nothing, so it costs next to nothing.
void redrawUnchanged(benchmark::State& state)
{
    UI::Canvas canvas(width, height);
    UI::buildWidgetGallery(canvas);
    UI::Image image(width, height);
    canvas.renderAll(image);
    for (auto _ : state)
        benchmark::DoNotOptimize(canvas.redraw(image));
}

} // namespace

BENCHMARK(redrawOurs)->Name("Redraw/ours")->Unit(benchmark::kMicrosecond);
BENCHMARK(redrawAggFill)->Name("Redraw/aggfill")->Unit(benchmark::kMicrosecond);
BENCHMARK(redrawUnchanged)->Name("RedrawUnchanged/ours")->Unit(benchmark::kMicrosecond);
