// EditorOpen and EditorIdle: the main window as a host drives it through the
// entry protocol. EditorOpen/ours opens the editor off screen (selector 28,
// code 0: the window is made, built and laid out), idles it once so that its
// first frame is drawn (code 5), and closes it (code 1). EditorIdle/ours is
// one idle call of an open window when nothing changed: it must draw nothing.
#include <benchmark/benchmark.h>

#include "core/EntryDispatcher.h"
#include "core/Plugin.h"
#include "core/RecordView.h"
#include "platform/ProcessInfo.h"
#include "platform/Shell.h"
#include "ui/MainPluginWindow.h"
#include "ui/PluginEditorWindow.h"

#include <vector>

namespace {

int32_t quietWrapper(int32_t, uint32_t, uint32_t, void*, void*) { return 1; }

// Neither the editor nor the updater is started.
struct NoShell final : Platform::Shell {
    int32_t open(const Util::String&, const Util::String&, const Util::String&) override { return Started; }
};

constexpr uint32_t EditorSelector = 28;
constexpr uint32_t OpenCode = 0, CloseCode = 1, IdleCode = 5;

// One instance as the wrapper makes it, presenting itself as Pro Tools.
struct EditorInstance {
    NoShell shell;
    PluginCore* core = nullptr;
    std::vector<uint8_t> editor = std::vector<uint8_t>(128, 0);

    EditorInstance()
    {
        Platform::installShell(&shell);
        Platform::overrideHostProcessFileName("Pro Tools");
        std::vector<uint8_t> record(3120, 0);
        RecordView r(record.data());
        r.setU64(0, reinterpret_cast<uintptr_t>(&quietWrapper));
        r.setText(16, 2048, "Bench");
        void* created = nullptr;
        r.setU64(3096, reinterpret_cast<uintptr_t>(&created));
        r.setF32(3104, 48000.0f);
        r.setU32(3108, 1);
        EntryDispatcher::dispatch(1079, 1, 0, nullptr, record.data());
        core = static_cast<PluginCore*>(created);
        RecordView e(editor.data());
        e.setU32(16, 470);
        e.setU32(20, 276);
    }
    ~EditorInstance()
    {
        EntryDispatcher::dispatch(1079, 7, 0, core, nullptr);
        Platform::installShell(nullptr);
        Platform::overrideHostProcessFileName("");
    }
    int32_t editorCall(uint32_t code)
    {
        RecordView(editor.data()).setU32(0, code);
        return EntryDispatcher::dispatch(1079, EditorSelector, 1, core, editor.data());
    }
    UI::MainPluginWindow* window() const
    {
        auto* open = dynamic_cast<UI::PluginEditorWindow*>(static_cast<Plugin*>(core)->editor());
        return open ? open->window() : nullptr;
    }
};

void EditorOpen_ours(benchmark::State& state)
{
    EditorInstance plugin;
    for (auto _ : state) {
        if (plugin.editorCall(OpenCode) != 0) {
            state.SkipWithError("the editor did not open");
            break;
        }
        plugin.editorCall(IdleCode);
        plugin.editorCall(CloseCode);
    }
    state.SetItemsProcessed(state.iterations());
}

void EditorIdle_ours(benchmark::State& state)
{
    EditorInstance plugin;
    if (plugin.editorCall(OpenCode) != 0) {
        state.SkipWithError("the editor did not open");
        return;
    }
    for (int i = 0; i < 10; ++i) // the first frame and the first timer runs
        plugin.editorCall(IdleCode);
    int64_t drawn = 0;
    for (auto _ : state) {
        plugin.editorCall(IdleCode);
        drawn += plugin.window()->lastDrawn().empty() ? 0 : 1;
    }
    state.counters["idles that drew"] = double(drawn);
    plugin.editorCall(CloseCode);
    state.SetItemsProcessed(state.iterations());
}

} // namespace

BENCHMARK(EditorOpen_ours)->Name("EditorOpen/ours")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(EditorIdle_ours)->Name("EditorIdle/ours")->Unit(benchmark::kMicrosecond)->UseRealTime();
