// relay-host: a command-line host for the relay plug-in library. It loads the
// library with dlopen, speaks only PluginCoreCallback (through the wrapper
// side's library), and renders WAV files through instances block by block,
// with the plug-in's window open when asked.
#include "CommandLine.h"
#include "EditorDriver.h"
#include "InstanceRun.h"
#include "TracingHost.h"
#include "wrapper/PluginLibrary.h"

#include <atomic>
#include <barrier>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

const char* const usage = R"(usage: relay-host COMMAND [OPTIONS]

Commands:
  info                      print the plug-in information record (selector 0)
  render                    render a WAV file through plug-in instances

Common options:
  --plugin PATH             plug-in library (default: ../lib/libvo6relay.so beside an installed
                            tool, else the one built beside this tool)
  --as NAME                 present this process to host identification as NAME
                            (re-executes itself with NAME as argv[0]), e.g. --as "Pro Tools"
  --host-name TEXT          host application name answered to reverse call 13
                            (default: the --as name, else "relay-host")
  --host-version X.Y.Z      host application version answered to reverse call 13
  --format N                format identifier in the host context block, 0 to 11 (default 2,
                            VST; 4 and 7 are the offline formats)
  --verbose                 log every selector and reverse call to standard error

Render options:
  --in PATH                 input WAV file (any format libsndfile reads, 1 to 24 channels);
                            "{instance}" in the name is replaced by the instance's number
  --out PATH                output file, 32-bit float WAV; "{pass}" and "{instance}" are
                            replaced; without "{pass}" only the last pass is written. Its
                            folder is checked before rendering
  --block N                 frames per block, 1 to 65536 (default 512)
  --position FRAMES         transport sample position of the first block (default 0)
  --stopped                 transport not playing (position does not advance)
  --flag-a                  set flag A of the process record: an analysis pass (the
                            host keeps nothing that comes out)
  --flag-b                  set flag B of the process record (the host's own flag)
  --passes N                render the file N times in one run, 1 to 10000 (default 1)
  --run-state-before A,B    switch the run state (selector 20: A running, B hold; each 0
                            or 1) before each pass
  --run-state-after A,B     switch the run state after each pass
  --timeline-offset N       before each pass, send the timeline offset host message
                            (selector 40, id 0x4460FADE, 8 bytes: N samples)
  --processing-stopped      after each pass, tell the plug-in that processing stopped
                            (selector 26)
  --idle-every N            call the idle service (selector 39) every N blocks (0 to 1000000)
  --idle-ms MS              keep calling the idle service every 10 ms for MS ms after
                            the last pass (0 to 3600000, default 0)
  --recording               set the recording creation flag
  --instances N             render through N instances at once (1 to 256), each on a
                            render thread of its own, as a host renders several tracks;
                            the main thread idles them all. Give each its own input with
                            "{instance}" in --in; --out then needs "{instance}"

Window options (one instance):
  --editor                  open the plug-in's window (selector 28) off screen while
                            rendering; it is idled with the idle service
  --editor-window           the same inside a real top-level X11 window on $DISPLAY
  --await PASS:STATE        after pass PASS (0: before the first), idle until the
                            "Shuttle State" is STATE (0 Idle,
                            1 Capturing, 2 Captured, 3 Ready to Write); fails after --await-ms
  --await-ms MS             how long an --await may take (default 60000)
  --press PASS:NAME         after pass PASS (0: before the first), press the window's
                            control NAME, as the layout
                            names it: "Discard Button", "Reference On Off Button",
                            "Repair On Off Button", "Info Text Close Button"
  --screenshots PATH        save a PNG picture of the window after each --await and --press
                            of a pass (or after the pass when it has none); "{pass}",
                            "{state}" and "{instance}" in the name are replaced.
                            --await and --press run in the order given; pressing or
                            saving pictures opens the window off screen unless asked otherwise

At the end, one line per clip file each instance captured ("captured: PATH"), or
one line saying why it captured nothing; one line per picture ("picture: PATH").
Errors in the command line end the program with code 2, failures with code 1.

Example, the whole round trip with the editor running (scripts/demo.sh): pass 1
captures the clip, the editor repairs it, the window loads it, pass 2 plays it:
  relay-host render --as "Pro Tools" --in in.wav --out 'out-{pass}.wav' --passes 2 \
      --processing-stopped --idle-every 8 --press '0:Repair On Off Button' \
      --await 1:2 --await 1:3 --await 2:0 --screenshots 'window-{pass}-{state}.png'

Environment:
  RELAY_MESSAGE_BOX         "log" (set unless given): the plug-in's notices go to the
                            log only; "dialog": they are shown and wait for a click
)";

std::string baseName(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Re-executes this program with `name` as argv[0] and without the --as option.
// Installed, the library stands in ../lib beside this tool's folder; in the
// build tree, it is the one built beside the tool.
std::string defaultPlugin()
{
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        const auto installed = self.parent_path().parent_path() / RELAY_INSTALL_LIBDIR / "libvo6relay.so";
        if (std::filesystem::exists(installed, ec))
            return installed.string();
    }
    return RELAY_DEFAULT_PLUGIN;
}

[[noreturn]] void reexecuteAs(const std::string& name, int argc, char** argv)
{
    std::vector<std::string> args{name};
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--as") == 0) {
            ++i;
            continue;
        }
        args.emplace_back(argv[i]);
    }
    // The host name must survive the re-execution even without --host-name.
    bool hasHostName = false;
    for (const auto& a : args)
        hasHostName = hasHostName || a == "--host-name";
    if (!hasHostName) {
        args.emplace_back("--host-name");
        args.emplace_back(name);
    }
    std::vector<char*> raw;
    for (auto& a : args)
        raw.push_back(a.data());
    raw.push_back(nullptr);
    execv("/proc/self/exe", raw.data());
    throw std::runtime_error("cannot re-execute as " + name);
}

// --verbose: every selector an instance's wrapper calls, with its status;
// instance 0 is the library itself (selector 0, before any instance).
Wrapper::PluginInstance::CallObserver traceCall(uint32_t instance)
{
    return [instance](uint32_t selector, uint32_t lockIndex, int32_t status) {
        std::fprintf(stderr, "relay-host: instance %u selector %u (lock %u) -> %d\n", instance, selector, lockIndex,
                     status);
    };
}

void printInformation(const std::vector<uint8_t>& record)
{
    using Info = EntryProtocol::Layout::Information;
    const uint8_t* r = record.data();
    auto text = [&](EntryProtocol::TextField field) { return std::string(EntryProtocol::readText(r, field)); };
    auto word = [&](EntryProtocol::Field<uint32_t> field) { return EntryProtocol::read(r, field); };
    auto fourcc = [&](EntryProtocol::Field<uint32_t> field) {
        const uint32_t v = word(field);
        return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    };
    std::printf("maker:              %s (%s)\n", text(Info::MakerFullName).c_str(), text(Info::MakerShortName).c_str());
    std::printf("family identifier:  %s\n", text(Info::FamilyIdentifier).c_str());
    std::printf("product:            %s (%s), id %s\n", text(Info::ProductName).c_str(),
                text(Info::ProductLongName).c_str(), text(Info::ProductIdentifier).c_str());
    std::printf("version:            %s (%u), build %u\n", text(Info::VersionText).c_str(), word(Info::VersionNumber),
                word(Info::BuildNumber));
    std::printf("product number:     %u\n", word(Info::ProductNumber));
    std::printf("editor size:        %u x %u\n", word(Info::EditorWidth), word(Info::EditorHeight));
    std::printf("codes:              maker %s, product %s, second %s, type %s\n", fourcc(Info::MakerCode).c_str(),
                fourcc(Info::ProductCode).c_str(), fourcc(Info::SecondProductCode).c_str(),
                fourcc(Info::ComponentTypeCode).c_str());
    std::printf("switch F5, F8:      %u, %u\n", word(Info::switchF(5)), word(Info::switchF(8)));
}

const char* outcomeText(EntryProtocol::CaptureOutcome outcome)
{
    using Outcome = EntryProtocol::CaptureOutcome;
    switch (outcome) {
    case Outcome::Captured: return "captured";
    case Outcome::NothingArrived: return "no block reached a clip";
    case Outcome::UnsupportedHost: return "the plug-in does not capture in this host";
    case Outcome::OfflineFormat: return "this offline format captures analysis passes only (--flag-a)";
    case Outcome::Suppressed:
        return "capture suppressed: a reference pass started again within 500 ms of a stop";
    case Outcome::Failed: return "the clip did not reach the disk (the plug-in's log says why)";
    case Outcome::PlayedBack: return "the passes played the repaired clip instead";
    case Outcome::WaitingForEditor: return "a captured clip waits for the editor; the passes went through untouched";
    case Outcome::StillOpen:
        return "the pass had not ended, its clip was still open (it ends at a processing stop, "
               "--processing-stopped, or when blocks stop for a while, --idle-ms)";
    }
    return "unknown reason";
}

// The run's last lines: one per captured clip, or why there is none.
void printCaptures(RelayHost::InstanceRun& run, bool named)
{
    const std::string who = named ? "instance " + std::to_string(run.number()) + " " : "";
    const auto report = run.captureReport();
    if (!report.answered) {
        std::printf("%snothing captured: the plug-in gave no capture report\n", who.c_str());
        return;
    }
    for (const auto& clip : report.clips)
        std::printf("%scaptured: %s\n", who.c_str(), clip.c_str());
    if (report.clips.empty())
        std::printf("%snothing captured: %s\n", who.c_str(), outcomeText(report.outcome));
}

// The host's user-interface loop after the passes: the idle service every 10 ms.
void idleFor(std::vector<std::unique_ptr<RelayHost::InstanceRun>>& runs, uint32_t ms,
             RelayHost::EditorDriver* editor = nullptr)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < until) {
        for (auto& run : runs)
            run->plugin().idle();
        if (editor)
            editor->idle();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// After a pass: its --await and --press steps in order, a picture after each
// (or one after the pass when it has none).
void afterPass(const RelayHost::Options& options, RelayHost::InstanceRun& run, RelayHost::EditorDriver& editor,
               uint32_t pass)
{
    const auto picture = [&] {
        if (options.screenshots.empty())
            return;
        const auto state = run.shuttleState();
        const std::string path = RelayHost::InstanceRun::expand(options.screenshots, pass, run.number(), state.value_or(0));
        editor.savePicture(path);
        std::printf("picture: %s (state %u)\n", path.c_str(), state.value_or(0));
        std::fflush(stdout);
    };
    bool any = false;
    for (const RelayHost::AfterPassStep& step : options.afterPass) {
        if (step.pass != pass)
            continue;
        any = true;
        if (step.kind == RelayHost::AfterPassStep::Kind::Press) {
            editor.press(step.control);
            std::fprintf(stderr, "relay-host: pressed \"%s\" after pass %u\n", step.control.c_str(), pass);
        } else {
            const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(options.awaitMs);
            std::optional<uint32_t> state;
            while ((state = run.shuttleState()) != step.state) {
                if (!state)
                    throw std::runtime_error("--await: the plug-in has no \"Shuttle State\"");
                if (std::chrono::steady_clock::now() > until)
                    throw std::runtime_error("--await " + std::to_string(pass) + ":" + std::to_string(step.state) +
                                             ": the \"Shuttle State\" stayed " + std::to_string(*state) + " for " +
                                             std::to_string(options.awaitMs) + " ms");
                run.plugin().idle();
                editor.idle();
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            editor.idle(); // the window shows the state it reached
        }
        picture();
    }
    if (!any && pass > 0)
        picture();
}

// One instance, every call on this thread: the host's render and user-interface
// threads in one, with the window when asked.
void renderOne(const RelayHost::Options& options, std::vector<std::unique_ptr<RelayHost::InstanceRun>>& runs)
{
    RelayHost::InstanceRun& run = *runs.front();
    std::unique_ptr<RelayHost::EditorDriver> editor;
    if (options.editor != RelayHost::Options::Editor::Closed)
        editor = std::make_unique<RelayHost::EditorDriver>(run.plugin(),
                                                           options.editor == RelayHost::Options::Editor::OnScreen);
    if (editor)
        afterPass(options, run, *editor, 0); // what the user does before the host renders
    // Between blocks the host's run loop idles the window too, as often as the idle service.
    uint32_t blocks = 0;
    const auto idleWindow = [&] {
        if (editor && options.idleEvery && ++blocks % options.idleEvery == 0)
            editor->idle();
    };
    for (uint32_t pass = 1; pass <= options.passes; ++pass) {
        run.renderPass(pass, true, idleWindow);
        std::fprintf(stderr, "relay-host: pass %u rendered\n", pass);
        if (editor) {
            editor->idle();
            afterPass(options, run, *editor, pass);
        }
    }
    idleFor(runs, options.idleMs, editor.get());
    editor.reset();
}

// Many instances at once: each renders its passes on a thread of its own while
// this thread idles them all, as a host's user-interface thread does. The
// render threads keep in step block by block, as a host's do within one
// processing cycle: no track's pass ends before the others have begun.
void renderMany(const RelayHost::Options& options, std::vector<std::unique_ptr<RelayHost::InstanceRun>>& runs)
{
    std::atomic<size_t> running{runs.size()};
    std::vector<std::string> failures(runs.size());
    std::barrier cycle(std::ptrdiff_t(runs.size()));
    std::vector<std::thread> threads;
    for (size_t i = 0; i < runs.size(); ++i)
        threads.emplace_back([&, i] {
            try {
                for (uint32_t pass = 1; pass <= options.passes; ++pass)
                    runs[i]->renderPass(pass, false, [&cycle] { cycle.arrive_and_wait(); });
            } catch (const std::exception& e) {
                failures[i] = e.what();
            }
            cycle.arrive_and_drop(); // the others' cycles go on without this thread
            --running;
        });
    while (running > 0)
        idleFor(runs, 10);
    for (auto& t : threads)
        t.join();
    for (size_t i = 0; i < runs.size(); ++i)
        if (!failures[i].empty())
            throw std::runtime_error("instance " + std::to_string(i + 1) + ": " + failures[i]);
    std::fprintf(stderr, "relay-host: %zu instances rendered %u passes each\n", runs.size(), options.passes);
    idleFor(runs, options.idleMs);
}

int run(int argc, char** argv)
{
    const RelayHost::Options options = RelayHost::CommandLine::parse(std::vector<std::string>(argv + 1, argv + argc));
    if (options.help || options.command == RelayHost::Options::Command::None) {
        std::fputs(usage, options.help ? stdout : stderr);
        return options.help ? 0 : 2;
    }
    // A batch run has nobody to click a notice away: the plug-in only logs
    // it, unless the caller asked for RELAY_MESSAGE_BOX=dialog.
    ::setenv("RELAY_MESSAGE_BOX", "log", 0);
    if (options.as && baseName(argv[0]) != *options.as)
        reexecuteAs(*options.as, argc, argv);

    const Wrapper::PluginLibrary library(options.plugin.value_or(defaultPlugin()));
    Wrapper::HostDescription description;
    description.name = options.hostName.value_or(options.as.value_or("relay-host"));
    description.version = options.hostVersion;
    description.formatIdentifier = options.format;

    if (options.command == RelayHost::Options::Command::Info) {
        // Selector 0 comes first, before any instance: the core reads the
        // host's version from the host context block.
        RelayHost::TracingHost host(description, options.verbose);
        Wrapper::PluginInstance session(library.entry(), host);
        if (options.verbose)
            session.setCallObserver(traceCall(0));
        printInformation(session.information());
        return 0;
    }

    std::vector<std::unique_ptr<RelayHost::InstanceRun>> runs;
    for (uint32_t i = 1; i <= options.instances; ++i)
        runs.push_back(std::make_unique<RelayHost::InstanceRun>(library.entry(), description, options, i));
    // Every input read and every output checked before anything renders.
    for (auto& r : runs)
        r->prepare();
    for (auto& r : runs) {
        if (options.verbose)
            r->plugin().setCallObserver(traceCall(r->number()));
        r->create();
    }
    if (runs.size() == 1)
        renderOne(options, runs);
    else
        renderMany(options, runs);
    for (auto& r : runs)
        printCaptures(*r, runs.size() > 1);
    for (auto& r : runs)
        r->finish();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        return run(argc, argv);
    } catch (const RelayHost::UsageError& e) {
        std::fprintf(stderr, "relay-host: %s\n", e.what());
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "relay-host: %s\n", e.what());
        return 1;
    }
}
