#include "shuttle/RepairedPlayer.h"

#include "platform/FileIO.h"
#include "shuttle/ClipFileName.h"
#include "shuttle/FailureReason.h"
#include "shuttle/HostSets.h"
#include "util/Log.h"

#include <algorithm>
#include <filesystem>
#include <new>

namespace fs = std::filesystem;

namespace Shuttle {

namespace {
// Frames per read: few enough to keep the queue moving, many enough to keep
// the system calls few.
constexpr uint64_t ReadFrames = 16384;
} // namespace

RepairedPlayer::RepairedPlayer(FileHandlerContext& context, uint32_t hostNumber, Util::String folder,
                               Atomic::SpscQueue<PlaybackRecord>& records, Atomic::SpanRing<float>& samples,
                               Util::Signal<void()>& finished)
    : context_(context), host_(hostNumber), folder_(std::move(folder)), records_(records), samples_(samples),
      finished_(finished)
{
}

bool RepairedPlayer::listRepaired(const Util::String& folder, std::vector<Util::String>& files)
{
    std::error_code ec;
    if (!fs::is_directory(folder, ec))
        return false;
    files.clear();
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        if (entry.is_directory(ec))
            continue;
        const Util::String name = entry.path().filename().string();
        if (ClipFileName::isRepaired(name))
            files.push_back(folder + "/" + name);
    }
    return !files.empty();
}

// ---- The list -------------------------------------------------------------------

void RepairedPlayer::offerList(std::vector<Util::String> files)
{
    Platform::ScopedLock hold(listLock_);
    offered_ = std::move(files);
    offers_.fetch_add(1, std::memory_order_release);
}

void RepairedPlayer::applyOfferedList()
{
    std::vector<Util::String> files;
    uint64_t offer = 0;
    {
        Platform::ScopedLock hold(listLock_);
        if (!offered_)
            return;
        files = *offered_;
        offer = offers_.load(std::memory_order_relaxed);
    }
    setList(std::move(files));
    {
        Platform::ScopedLock hold(listLock_);
        if (offers_.load(std::memory_order_relaxed) == offer)
            offered_.reset();
    }
    taken_.store(offer, std::memory_order_release);
}

std::vector<Util::String> RepairedPlayer::list() const
{
    Platform::ScopedLock hold(listLock_);
    return offered_ ? *offered_ : published_;
}

void RepairedPlayer::publishList()
{
    Platform::ScopedLock hold(listLock_);
    published_ = list_;
}

void RepairedPlayer::setList(std::vector<Util::String> files)
{
    forgetSession();
    list_ = std::move(files);
    publishList();
    openCount_ = 0;
    lastLogged_.clear();
    prepare(false);
}

// ---- Opening ------------------------------------------------------------------------

// Every file opened and every file the audio side asked for in vain counts;
// the first since the list was set clears "ReadyToWrite".
void RepairedPlayer::countOpen()
{
    if (++openCount_ == 1)
        context_.storeFlagLater("ReadyToWrite", false);
}

bool RepairedPlayer::prepare(bool fillFromFolder)
{
    if (session_)
        return true;
    if (list_.empty() && fillFromFolder) {
        listRepaired(folder_, list_);
        publishList();
    }
    if (list_.empty())
        return false;
    const Util::String& path = list_.front();
    auto decoder = std::make_unique<Audio::Decode::WAV::Decoder>(path);
    const auto format = decoder->Sync();
    if (!format || format.value().channels == 0) {
        logOnce(path, Util::format("Repaired file %1 could not be opened: %2", path,
                                   format ? Util::String("it has no channels") : FailureReason::of(format.error())));
        return false;
    }
    Session session;
    session.generation = ++generation_;
    session.decoder = std::move(decoder);
    session.length = uint32_t(session.decoder->GetTotalFrames()); // taken as 32-bit, as the editor writes them
    session.channels = format.value().channels;
    session_ = std::move(session);
    live_.store(generation_, std::memory_order_release);
    announce();
    return true;
}

bool RepairedPlayer::announce()
{
    if (session_->announced)
        return true;
    PlaybackRecord start;
    start.kind = PlaybackRecord::Kind::Start;
    start.generation = session_->generation;
    start.channels = session_->channels;
    start.length = session_->length;
    session_->announced = records_.TryPush(start);
    return session_->announced;
}

void RepairedPlayer::answerNone()
{
    PlaybackRecord none;
    none.kind = PlaybackRecord::Kind::None;
    none.generation = live_.load(std::memory_order_relaxed);
    if (!records_.TryPush(none))
        return; // the queue is full of what the audio side has yet to skip; asked again later
    wantPending_ = false;
    countOpen();
}

void RepairedPlayer::want()
{
    wantPending_ = true;
    if (!prepare(true))
        answerNone();
}

void RepairedPlayer::claim(uint32_t generation)
{
    if (!session_ || session_->generation != generation)
        return; // a file dropped since it was announced
    session_->claimed = true;
    claimedOpen_ = true;
    wantPending_ = false;
    countOpen();
    const uint32_t instanceChannels = context_.channelCount();
    if (session_->channels != instanceChannels)
        logOnce(list_.front(), Util::format("Repaired file %1 has %2 channels, the instance %3: the host's audio "
                                            "plays in its place",
                                            list_.front(), session_->channels, instanceChannels));
}

void RepairedPlayer::drop(uint32_t generation)
{
    if (session_ && session_->generation == generation)
        forgetSession();
}

// ---- Closing ------------------------------------------------------------------------

void RepairedPlayer::forgetSession()
{
    session_.reset();
    claimedOpen_ = false;
    live_.store(++generation_, std::memory_order_release);
}

// `deleted`: the played file was still there (it is removed unless another
// instance holds it open), so this playback is over.
void RepairedPlayer::closeClaimed(bool& deleted)
{
    deleted = false;
    forgetSession();
    if (list_.empty())
        return;
    const Util::String played = list_.front();
    list_.erase(list_.begin());
    publishList();
    std::error_code ec;
    if (fs::exists(fs::symlink_status(played, ec))) {
        (void)Platform::removeUnlessOpen(played);
        deleted = true;
    }
}

void RepairedPlayer::close()
{
    if (!session_ || !session_->claimed)
        return;
    bool deleted = false;
    closeClaimed(deleted);
    if (deleted && !HostSets::silentClose(host_))
        finished_();
    prepare(false);
}

void RepairedPlayer::end()
{
    endClaimed();
    prepare(false);
}

void RepairedPlayer::endClaimed()
{
    if (session_ && session_->claimed) {
        bool deleted = false;
        closeClaimed(deleted);
    }
    finished_();
}

// The files are gone: nothing is opened ahead of time any more.
void RepairedPlayer::rescan()
{
    std::vector<Util::String> scratch;
    if (listRepaired(folder_, scratch))
        return;
    if (session_ && !session_->claimed)
        forgetSession();
    endClaimed();
}

// ---- Reading ahead ------------------------------------------------------------------

bool RepairedPlayer::readAhead(const std::function<void()>& pace, const std::function<void()>& queued)
{
    const uint64_t before = records_.Pushed();
    if (!session_ && wantPending_)
        answerNone();
    if (session_ && announce())
        fill(pace, queued);
    return records_.Pushed() != before;
}

void RepairedPlayer::fill(const std::function<void()>& pace, const std::function<void()>& queued)
{
    Session& s = *session_;
    while (!s.failed && s.queued < s.length && records_.FreeSlots() > 0) {
        if (!makeRing()) {
            failRead(s, "there is no memory to read it ahead");
            break;
        }
        const uint64_t frames = std::min({s.length - s.queued, ReadFrames, uint64_t(samples_.MaxSpan() / s.channels)});
        const auto start = samples_.Reserve(uint32_t(frames * s.channels));
        if (!start)
            break;
        if (pace)
            pace();
        const auto read = s.decoder->ReadFloatInterleaved(frames, samples_.At(*start));
        if (!read || read.value() == 0) {
            failRead(s, read ? Util::String("it ends early") : FailureReason::of(read.error()));
            break;
        }
        PlaybackRecord record;
        record.generation = s.generation;
        record.channels = s.channels;
        record.kind = PlaybackRecord::Kind::Frames;
        record.sampleStart = *start;
        record.frames = uint32_t(read.value());
        samples_.Commit(*start, uint32_t(read.value() * s.channels));
        records_.TryPush(record);
        s.queued += read.value();
        queued();
    }
}

// The playback ring is made when the first file is read ahead, here on the
// disk thread; the audio side reaches it only through the records that follow.
bool RepairedPlayer::makeRing()
{
    try {
        samples_.MakeStorage();
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

// The frames queued before stay playable; the audio side gives the file up at this entry.
void RepairedPlayer::failRead(Session& s, const Util::String& reason)
{
    logOnce(list_.front(), Util::format("Repaired file %1 could not be read: %2", list_.front(), reason));
    PlaybackRecord record;
    record.generation = s.generation;
    record.channels = s.channels;
    record.kind = PlaybackRecord::Kind::Failed;
    records_.TryPush(record);
    s.failed = true;
}

void RepairedPlayer::logOnce(const Util::String& path, const Util::String& line)
{
    if (path == lastLogged_)
        return;
    lastLogged_ = path;
    Util::Log::write(line);
}

} // namespace Shuttle
