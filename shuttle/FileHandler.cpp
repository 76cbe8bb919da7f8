#include "shuttle/FileHandler.h"

#include "audio/WavDecoder.h"
#include "audio/WavEncoder.h"
#include "core/ChannelConfiguration.h"
#include "core/RecordView.h"
#include "platform/Clock.h"
#include "platform/FileIO.h"
#include "platform/Folders.h"
#include "platform/LocalTime.h"
#include "shuttle/ClipFileName.h"
#include "shuttle/HostSets.h"
#include "io/ConfigFile.h"
#include "util/Log.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

namespace Shuttle {

namespace {

bool exists(const Util::String& path)
{
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec)); // a dangling link still takes its name
}

bool elapsed(uint32_t since, uint32_t now) { return now - since > FileHandler::TimeOutMs; }

} // namespace

Util::String FileHandler::shuttleFolder()
{
    const Util::String fallback = Platform::roamingDataFolder() + "/Quillex/VU 6 Verov Edodod Session Data";
    const Util::ConfigFile editorSettings(Util::format("SOFTWARE\\%1\\%2", "Quillex", "VO6"));
    return Platform::toNativePath(editorSettings.GetString("Option/SessionDataFolder", fallback) + "/Relay");
}

FileHandler::FileHandler(FileHandlerContext& context, uint32_t hostNumber, UI::TimerQueue* timers)
    : context_(context), host_(hostNumber), folder_(shuttleFolder())
{
    format_.bytesPerSample = 4;
    format_.floatingPoint = true;
    if (timers && hasTimer())
        timer_ = std::make_unique<UI::SimpleTimer>(*timers, TimerIntervalMs, [this] { tick(); });
}

FileHandler::~FileHandler()
{
    timer_.reset();
    std::lock_guard<std::mutex> lock(filesMutex_);
    closeCaptureLocked();
}

bool FileHandler::hasTimer() const { return HostSets::supported(host_); }

bool FileHandler::captureOpen() const
{
    std::lock_guard<std::mutex> lock(filesMutex_);
    return writer_ != nullptr;
}

bool FileHandler::playbackOpen() const
{
    std::lock_guard<std::mutex> lock(filesMutex_);
    return reader_ != nullptr;
}

std::vector<Util::String> FileHandler::repairedList() const
{
    std::lock_guard<std::mutex> lock(filesMutex_);
    return repaired_;
}

void FileHandler::setFormat(float sampleRate, uint32_t channelFormat)
{
    format_.sampleRate = uint32_t(std::lround(sampleRate));
    format_.channels = ChannelConfiguration::channelCount(channelFormat);
}

void FileHandler::setClipsInEditor(uint32_t clips)
{
    clipsInEditor_ = clips;
    clipsInEditorValid_ = true;
}

void FileHandler::setTimelineOffset(int64_t offset)
{
    timelineOffset_ = offset;
    timelineOffsetValid_ = true;
}

uint32_t FileHandler::clipLimit() const
{
    if (!clipsInEditorValid_)
        return MaxClipsPerPass;
    const uint32_t held = clipsInEditor_;
    return held >= MaxClipsPerPass ? 0 : MaxClipsPerPass - held;
}

// ---- Capture -------------------------------------------------------------------

bool FileHandler::write(uint32_t frames, float* const* channels)
{
    if (!passOpen_) {
        passOpen_ = true;
        clipNumber_ = 0;
        limitHit_ = false;
    }
    if (limitHit_)
        return true;
    lastWrite_ = Platform::tickCount();
    writing_ = true;

    // A clip whose channel count no longer matches is closed, and its pass
    // ended, before the next clip opens: whoever hears of the end sees the
    // limit as it stood for the clips written so far.
    {
        std::lock_guard<std::mutex> lock(filesMutex_);
        if (!writer_ && !openNextClipFile())
            return limitHit_;
        if (writer_->GetFormat().channels == context_.channelCount() || !closeMismatchedClip())
            return writeLocked(frames, channels);
    }
    captureFinished();
    std::lock_guard<std::mutex> lock(filesMutex_);
    return writeLocked(frames, channels);
}

// Answers whether the pass ended with the clip.
bool FileHandler::closeMismatchedClip()
{
    closeCaptureLocked();
    if (HostSets::silentClose(host_))
        return false;
    passOpen_ = false;
    return true;
}

// A block refused for the clip limit still counts as accepted: the host's audio passes.
bool FileHandler::writeLocked(uint32_t frames, float* const* channels)
{
    if (!writer_ && !openNextClipFile())
        return limitHit_;
    return writer_->WriteFloatDeinterleaved(frames, channels).ok();
}

bool FileHandler::openNextClipFile()
{
    if (format_.channels == 0)
        return false;
    const uint64_t number = ++clipNumber_;
    if (number > clipLimit()) {
        limitHit_ = true;
        return false;
    }
    const auto position = context_.transportPosition();
    clipStart_ = position.samples;
    clipStartValid_ = position.valid;
    if (number == 1 && !prepareFolder())
        return false;
    auto encoder = std::make_unique<Audio::Encode::WAV::Encoder>(freeClipPath(), format_);
    if (!encoder->BeginWriting().ok())
        return false;
    writer_ = std::move(encoder);
    return true;
}

bool FileHandler::prepareFolder()
{
    std::error_code ec;
    if (fs::is_directory(folder_, ec)) {
        if (referenceMode_)
            return true;
        for (const auto& entry : fs::directory_iterator(folder_, ec)) {
            const Util::String name = entry.path().filename().string();
            if (ClipFileName::survivesFolderCleaning(name))
                continue;
            // A link goes, never what it points to; a full folder stays, and so
            // does a clip another instance still has open.
            (void)Platform::removeUnlessOpen(entry.path().string());
        }
        return true;
    }
    fs::create_directories(folder_, ec);
    return !ec && fs::is_directory(folder_, ec);
}

Util::String FileHandler::freeClipPath() const
{
    const Util::String host = ClipFileName::hostPart(host_);
    const Util::String tag = referenceMode_ ? "reference" : "captured";
    for (uint32_t k = 0;; ++k) {
        const Util::String path = folder_ + "/" + ClipFileName::compose(host, clipNumber_, tag, k);
        if (!exists(path))
            return path;
    }
}

std::vector<uint8_t> FileHandler::broadcastExtension()
{
    std::vector<uint8_t> bext(BextSize, 0);
    const RecordView chunk(bext.data());
    chunk.setText(256, 32, "TW 6 Relay");
    const auto now = Platform::localDateTimeNow();
    std::memcpy(bext.data() + 320, now.date.data(), std::min<size_t>(now.date.size(), 10));
    std::memcpy(bext.data() + 330, now.time.data(), std::min<size_t>(now.time.size(), 8));
    uint64_t reference = 0;
    if (clipStartValid_ && timelineOffsetValid_)
        reference = uint64_t(std::max<int64_t>(0, clipStart_ + timelineOffset_.load()));
    chunk.setU32(338, uint32_t(reference));
    chunk.setU32(342, uint32_t(reference >> 32));
    timelineOffsetValid_ = false;
    return bext;
}

void FileHandler::closeCaptureLocked()
{
    if (!writer_)
        return;
    const auto chunk = writer_->WriteChunk("bext", broadcastExtension());
    const auto finished = writer_->Finish();
    if (!chunk.ok() || !finished.ok())
        Util::Log::write(Util::format("Clip file %1 not finished: %2", writer_->GetPath(),
                                      (chunk.ok() ? finished : chunk).error().Description()));
    writer_.reset();
}

void FileHandler::closeCapture()
{
    bool ended = false;
    {
        std::lock_guard<std::mutex> lock(filesMutex_);
        if (!writer_)
            return;
        closeCaptureLocked();
        ended = !HostSets::silentClose(host_);
        if (ended)
            passOpen_ = false;
    }
    if (ended)
        captureFinished();
}

void FileHandler::endPass()
{
    {
        std::lock_guard<std::mutex> lock(filesMutex_);
        closeCaptureLocked();
        passOpen_ = false;
    }
    captureFinished();
}

// ---- Playback -----------------------------------------------------------------

bool FileHandler::read(uint32_t frames, float* const* channels)
{
    passOpen_ = false;
    std::lock_guard<std::mutex> lock(filesMutex_);
    if (!reader_ && !openNextRepairedFile())
        return false;
    lastRead_ = Platform::tickCount();
    reading_ = true;
    const uint32_t count = context_.channelCount();
    if (reader_->GetFormat().channels != count)
        return true;
    // The block that reaches the end keeps the host's audio after the last
    // repaired frame; only blocks wholly past the end become silence.
    if (readPosition_ < repairedLength_) {
        const auto result = reader_->ReadFloatDeinterleaved(frames, channels);
        if (!result.ok()) {
            reader_.reset();
            return false;
        }
        readPosition_ += result.value();
    } else if (!HostSets::noSilenceAfterEnd(host_)) {
        for (uint32_t c = 0; c < count; ++c)
            std::fill(channels[c], channels[c] + frames, 0.0f);
    }
    return true;
}

bool FileHandler::openNextRepairedFile()
{
    if (++openCount_ == 1)
        context_.storeFlagLater("ReadyToWrite", false);
    if (repaired_.empty())
        listRepaired(repaired_);
    if (repaired_.empty())
        return false;
    auto decoder = std::make_unique<Audio::Decode::WAV::Decoder>(repaired_.front());
    if (!decoder->Sync().ok())
        return false;
    repairedLength_ = uint32_t(decoder->GetTotalFrames());
    readPosition_ = 0;
    reader_ = std::move(decoder);
    return true;
}

// `ended`: the played file was still there (it is removed unless another
// instance holds it open), so this playback is over.
void FileHandler::closePlaybackLocked(bool& ended)
{
    ended = false;
    reader_.reset();
    if (repaired_.empty())
        return;
    const Util::String played = repaired_.front();
    repaired_.erase(repaired_.begin());
    if (exists(played)) {
        (void)Platform::removeUnlessOpen(played);
        ended = true;
    }
}

void FileHandler::closePlayback()
{
    bool ended = false;
    {
        std::lock_guard<std::mutex> lock(filesMutex_);
        if (!reader_)
            return;
        closePlaybackLocked(ended);
    }
    if (ended && !HostSets::silentClose(host_))
        playbackFinished();
}

void FileHandler::endPlayback()
{
    {
        std::lock_guard<std::mutex> lock(filesMutex_);
        if (reader_) {
            bool ended = false;
            closePlaybackLocked(ended);
        }
    }
    playbackFinished();
}

void FileHandler::setRepairedList(std::vector<Util::String> files)
{
    std::stable_sort(files.begin(), files.end(), [](const Util::String& a, const Util::String& b) {
        return ClipFileName::clipNumber(a).value_or(0) < ClipFileName::clipNumber(b).value_or(0);
    });
    std::lock_guard<std::mutex> lock(filesMutex_);
    reader_.reset();
    repaired_ = std::move(files);
    readPosition_ = 0;
    openCount_ = 0;
}

bool FileHandler::listRepaired(std::vector<Util::String>& files) const
{
    std::error_code ec;
    if (!fs::is_directory(folder_, ec))
        return false;
    files.clear();
    for (const auto& entry : fs::directory_iterator(folder_, ec)) {
        if (entry.is_directory(ec))
            continue;
        const Util::String name = entry.path().filename().string();
        if (ClipFileName::isRepaired(name))
            files.push_back(folder_ + "/" + name);
    }
    return !files.empty();
}

// ---- Time-outs --------------------------------------------------------------------

void FileHandler::tick()
{
    const uint32_t now = Platform::tickCount();
    if (HostSets::writeTimeOut(host_) && writing_ && elapsed(lastWrite_, now)) {
        writing_ = false;
        endPass();
    } else if (HostSets::readTimeOut(host_) && reading_ && elapsed(lastRead_, now)) {
        reading_ = false;
        endPlayback();
    }
    if (HostSets::rescanInReadyState(host_) && context_.shuttleState() == 3) {
        std::vector<Util::String> scratch;
        if (!listRepaired(scratch))
            endPlayback();
    }
}

} // namespace Shuttle
