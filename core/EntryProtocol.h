#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

// The boundary between a format wrapper and the plug-in core, in both
// directions: the call shape, the protocol number, the result codes, the
// selectors with the lock each one takes, and the byte layout of every
// argument record. Records are little-endian and packed; texts are
// NUL-terminated 8-bit text cut to their field's size less one byte.
//
// This header stands alone (the standard library only): the core's
// dispatcher, the wrapper side and the benchmarks share it. The tests keep
// their own bytes, as an independent witness of these figures.
namespace EntryProtocol {

constexpr int32_t ProtocolNumber = 1079;

// One shape for both directions: protocol number, selector, lock index (wrapper
// to core) or per-call index (core to wrapper), the instance (the core's object,
// or the wrapper's handle in reverse calls), and the selector's argument record.
using Callback = int32_t (*)(int32_t protocol, uint32_t selector, uint32_t index, void* instance, void* record);

enum Result : int32_t {
    Success = 0,
    WrongProtocol = 1,
    BadLockIndex = 2,   // out of range, or not the index the selector demands
    UnknownSelector = 3,
    NullInstance = 4,
    NullRecord = 5,
    Rejected = 6,       // index out of range, unknown sub-operation, not supported, or failed inside
    EditorFailed = 7,   // the editor operation could not be carried out
};

// ---- Wrapper to core -------------------------------------------------------------

enum class Selector : uint32_t {
    GetPluginInformation = 0,
    CreateInstance = 1,
    DrainRecordedEntries = 2,
    SetInstanceFlag = 3,
    ClearInstanceFlag = 4,
    Activate = 5,
    Deactivate = 6,
    DestroyInstance = 7,
    CountAutomatableParameters = 8,
    DescribeAutomatableParameters = 9,
    GetParameterValue = 10,
    SetParameterValue = 11,
    CountElementParameters = 12,
    DescribeSecondValues = 13,
    GetSecondValue = 14,
    SetSecondValue = 15,
    EditorHitTest = 16,
    SetSampleRateAndConfiguration = 17,
    ReadStatusWord = 18,
    Reset = 19,
    SwitchRunState = 20,
    Settle = 21,
    ProcessBlock = 22,
    ProcessBypassed = 23,
    ExchangeHostWord = 24,
    HandHostFloat = 25,
    ProcessingStopped = 26,
    ForwardRenderRequest = 27,
    EditorOperation = 28,
    EditorInputEvent = 29,
    EditorInputEventWithPoint = 30,
    StateChunkOperation = 31,
    AskElementSet = 32,
    DataItemQuery = 33,
    ReadInstanceWord = 34,
    Unsupported35 = 35,
    Unsupported36 = 36,
    SettingsRequest = 37,
    StoreHostOptionWord = 38,
    IdleService = 39,
    PropertyMessage = 40,
};
constexpr uint32_t SelectorCount = 41;

constexpr uint32_t ProcessingLockIndex = 0;     // the host's audio (or offline render) thread
constexpr uint32_t UserInterfaceLockIndex = 1;  // the host's user-interface thread

// Which lock index a selector accepts and which critical section it holds.
enum class Lock : uint8_t {
    None,            // no lock; the index is not checked
    NoneIndexBelow2, // no lock, but the index must be 0 or 1
    Either,          // index 0 or 1; that section is held
    AudioOnly,       // index 0 only; the processing section is held
    UiOnly,          // index 1 only; the user-interface section is held
    Unchecked,       // any index: 1 holds the user-interface section, any other the processing one
};

struct SelectorRule {
    Selector selector;
    Lock lock;
    bool needsRecord;
};

// One row per selector, in selector order.
inline constexpr SelectorRule SelectorRules[SelectorCount] = {
    {Selector::GetPluginInformation, Lock::None, true},
    {Selector::CreateInstance, Lock::None, true},
    {Selector::DrainRecordedEntries, Lock::Either, true},
    {Selector::SetInstanceFlag, Lock::Either, false},
    {Selector::ClearInstanceFlag, Lock::Either, false},
    {Selector::Activate, Lock::Either, false},
    {Selector::Deactivate, Lock::Either, false},
    {Selector::DestroyInstance, Lock::None, false},
    {Selector::CountAutomatableParameters, Lock::Either, true},
    {Selector::DescribeAutomatableParameters, Lock::Either, true},
    {Selector::GetParameterValue, Lock::Either, true},
    {Selector::SetParameterValue, Lock::Either, true},
    {Selector::CountElementParameters, Lock::Either, true},
    {Selector::DescribeSecondValues, Lock::Either, true},
    {Selector::GetSecondValue, Lock::Either, true},
    {Selector::SetSecondValue, Lock::Either, true},
    {Selector::EditorHitTest, Lock::Either, true},
    {Selector::SetSampleRateAndConfiguration, Lock::Either, true},
    {Selector::ReadStatusWord, Lock::Either, true},
    {Selector::Reset, Lock::Either, true},
    {Selector::SwitchRunState, Lock::Either, true},
    {Selector::Settle, Lock::AudioOnly, false},
    {Selector::ProcessBlock, Lock::AudioOnly, true},
    {Selector::ProcessBypassed, Lock::AudioOnly, true},
    {Selector::ExchangeHostWord, Lock::Unchecked, true},
    {Selector::HandHostFloat, Lock::Unchecked, true},
    {Selector::ProcessingStopped, Lock::Unchecked, false},
    {Selector::ForwardRenderRequest, Lock::Unchecked, true},
    {Selector::EditorOperation, Lock::UiOnly, true},
    {Selector::EditorInputEvent, Lock::UiOnly, true},
    {Selector::EditorInputEventWithPoint, Lock::UiOnly, true},
    {Selector::StateChunkOperation, Lock::UiOnly, true},
    {Selector::AskElementSet, Lock::UiOnly, true},
    {Selector::DataItemQuery, Lock::Either, true},
    {Selector::ReadInstanceWord, Lock::Either, true},
    {Selector::Unsupported35, Lock::Either, false},
    {Selector::Unsupported36, Lock::Either, false},
    {Selector::SettingsRequest, Lock::NoneIndexBelow2, true},
    {Selector::StoreHostOptionWord, Lock::NoneIndexBelow2, true},
    {Selector::IdleService, Lock::None, false},
    {Selector::PropertyMessage, Lock::Either, true},
};

constexpr bool rulesStandInSelectorOrder()
{
    for (uint32_t s = 0; s < SelectorCount; ++s)
        if (uint32_t(SelectorRules[s].selector) != s)
            return false;
    return true;
}
static_assert(rulesStandInSelectorOrder(), "one rule per selector, in selector order");

constexpr const SelectorRule& ruleOf(Selector selector) { return SelectorRules[uint32_t(selector)]; }

// Selectors 0 and 1 run before an instance exists; every other one needs it.
constexpr bool needsInstance(Selector selector)
{
    return selector != Selector::GetPluginInformation && selector != Selector::CreateInstance;
}

// Sub-operations of selector 28 (first word of the editor record).
enum class EditorCode : uint32_t {
    Open = 0,
    Close = 1,
    NoOperation2 = 2,
    NoOperation3 = 3,
    NoOperation4 = 4,
    Idle = 5,
    WindowHandle = 6,
    Event = 7,
    Notification = 8,
    NotificationInSizeWords = 9,
    ConstrainSize = 10,
    Mode = 11,
};
constexpr uint32_t EditorCodeCount = 12;

// Codes of selector 31 (first word of the chunk record).
enum class ChunkCode : uint32_t {
    BuildAndMeasure = 0,     // build the first flavour, answer its size
    WriteSecondFlavour = 1,
    WriteFirstFlavour = 2,
    Restore = 3,
    RestoreWithAnswer = 4,
};
constexpr uint32_t ChunkCodeCount = 5;

// Codes of selector 33 (first word): questions about the definition's two data item tables.
enum class DataItemCode : uint32_t {
    Count = 0,
    NameSize = 1,
    DataSize = 2,
    Copy = 3,
    SecondTableCount = 4,
    SecondTableNameSize = 5,
};

// Codes of selector 37 (first word).
enum class SettingsCode : uint32_t {
    ElementCount = 0,
    AddressItem = 1,
    ElementSetValues = 2,
    SharedOptionWord = 3,
    SharedOptionFlag = 4,
    SharedOptionPair = 5,
};

// ---- Core to wrapper (reverse calls) ----------------------------------------------

enum class ReverseSelector : uint32_t {
    ParameterGesture = 1,        // index 1
    StatusWordChanged = 2,       // index: the word's number
    RereadParameterList = 3,     // index 1, no record
    UserInterfaceWorkEnds = 4,   // index 1, no record
    UserInterfaceWorkBegins = 5, // index 1, no record
    Report = 9,                  // index 1
    HostApplication = 13,        // index 1
    HostMouseEvent = 15,         // index 1
    HostFlag = 17,               // the caller's index
    ActivationWords = 18,        // index 0
    DspSeconds = 19,             // index 1
    UserInterfaceSeconds = 20,   // index 1
    PropertyMessage = 21,        // index 1
};
constexpr uint32_t ReverseIndex = 1;           // the index of every reverse call that names no other
constexpr uint32_t ActivationWordsIndex = 0;

// Kinds of reverse call 1.
enum class GestureKind : uint32_t { Begins = 0, ValueChanges = 1, Ends = 2 };

// Property message ids (selector 40 and reverse 21).
namespace PropertyId {
constexpr uint32_t Ignored = 0x8070A002u;        // accepted, no effect
constexpr uint32_t EditorText = 0x800523BCu;     // text for the open editor
constexpr uint32_t CoreNotice = 0x800523BBu;     // sent by the core in reverse 21, size 0
constexpr uint32_t TimelineOffset = 0x4460FADEu; // 8 bytes: the host's timeline offset in samples
} // namespace PropertyId

// Format identifiers the host context block may carry.
namespace Format {
constexpr uint32_t Vst = 2;
constexpr uint32_t DpmAudioSuite = 4; // offline
constexpr uint32_t AaxAudioSuite = 7; // offline
// Ours, beyond the formats above: the LV2 plug-in. Its host runs it in real time
// and the user's pass control says which passes send and which play back (flag A).
constexpr uint32_t Lv2 = 12;
} // namespace Format

// The channel configuration code a wrapper passes for a plain channel count:
// mono, stereo, LRC, quad, 5.0, 5.1, 7.0, 7.1, else the plain multichannel codes
// (3 to 24 channels as code - 10); 0 (mono) for counts without one.
constexpr uint32_t channelConfigurationFor(uint32_t channels)
{
    switch (channels) {
    case 1: return 0;
    case 2: return 1;
    case 3: return 3;
    case 4: return 6;
    case 5: return 7;
    case 6: return 8;
    case 7: return 9;
    case 8: return 11;
    default: return channels >= 3 && channels <= 24 ? channels + 10 : 0;
    }
}

// ---- Record layouts --------------------------------------------------------------

// A fixed-width field of a record: its offset; T is the value the bytes hold.
template <typename T>
struct Field {
    size_t offset;
    constexpr size_t end() const { return offset + sizeof(T); }
};
// A 64-bit address.
struct Address {
    uint64_t bits;
};
static_assert(sizeof(Address) == 8 && sizeof(void*) == 8, "records carry 64-bit addresses");
// A text field of `size` bytes, NUL-terminated.
struct TextField {
    size_t offset;
    size_t size;
    constexpr size_t end() const { return offset + size; }
};

template <typename T>
T read(const void* record, Field<T> field)
{
    T value;
    std::memcpy(&value, static_cast<const uint8_t*>(record) + field.offset, sizeof(T));
    return value;
}
template <typename T>
void write(void* record, Field<T> field, T value)
{
    std::memcpy(static_cast<uint8_t*>(record) + field.offset, &value, sizeof(T));
}
template <typename T = void>
T* readAddress(const void* record, Field<Address> field)
{
    return reinterpret_cast<T*>(static_cast<uintptr_t>(read(record, field).bits));
}
inline void writeAddress(void* record, Field<Address> field, const void* pointer)
{
    write(record, field, Address{reinterpret_cast<uintptr_t>(pointer)});
}
// The text up to its NUL, never beyond the field.
inline std::string_view readText(const void* record, TextField field)
{
    const char* text = static_cast<const char*>(record) + field.offset;
    return {text, strnlen(text, field.size)};
}
// The whole field: the text cut to the field's size less one byte, then zeros.
inline void writeText(void* record, TextField field, std::string_view text)
{
    if (field.size == 0)
        return;
    char* at = static_cast<char*>(record) + field.offset;
    std::memset(at, 0, field.size);
    std::memcpy(at, text.data(), text.size() < field.size ? text.size() : field.size - 1);
}
// A four-character code as a number whose most significant byte is the first character.
constexpr uint32_t fourCharacterCode(std::string_view code)
{
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i)
        value = (value << 8) | uint8_t(i < code.size() ? code[i] : ' ');
    return value;
}

namespace Layout {

// The host context block: eight texts the wrapper chooses, then the format identifier.
struct HostContext {
    static constexpr size_t TextCount = 8;
    static constexpr size_t TextSize = 128;
    static constexpr TextField text(size_t index) { return {index * TextSize, TextSize}; }
    static constexpr Field<uint32_t> FormatIdentifier{1024};
    static constexpr size_t Size = 1028;
};
static_assert(HostContext::text(HostContext::TextCount - 1).end() == HostContext::FormatIdentifier.offset);
static_assert(HostContext::FormatIdentifier.end() == HostContext::Size);

// Selector 0: the host context block, then where the information record goes.
struct InformationRequest {
    static constexpr size_t HostContextBlock = 0;
    static constexpr Field<Address> Reply{1032};
    static constexpr size_t Size = 1040;
};
static_assert(InformationRequest::HostContextBlock + HostContext::Size <= InformationRequest::Reply.offset);
static_assert(InformationRequest::Reply.end() == InformationRequest::Size);

// Selector 1.
struct Creation {
    static constexpr Field<Address> Callback{0};      // the wrapper's reverse callback
    static constexpr Field<Address> WrapperHandle{8}; // handed back in every reverse call
    static constexpr TextField Name{16, 2048};
    static constexpr size_t HostContextBlock = 2064;
    static constexpr size_t HostContextRoom = 1032;
    static constexpr Field<Address> Result{3096};     // address of the pointer that receives the instance
    static constexpr Field<float> SampleRate{3104};
    static constexpr Field<uint32_t> ChannelConfiguration{3108};
    static constexpr Field<uint32_t> FirstFlag{3112}; // the wrapper's own; the core ignores it
    static constexpr Field<uint32_t> Recording{3116}; // nonzero: record entries from the start (selector 2)
    static constexpr size_t Size = 3120;
};
static_assert(Creation::Name.end() == Creation::HostContextBlock);
static_assert(HostContext::Size <= Creation::HostContextRoom);
static_assert(Creation::HostContextBlock + Creation::HostContextRoom == Creation::Result.offset);
static_assert(Creation::Recording.end() == Creation::Size);

// Selector 2: six addresses the core writes through.
struct Drain {
    static constexpr Field<Address> Status{0};               // u32: 1 while entries wait
    static constexpr Field<Address> Constant{8};             // u32: 200
    static constexpr Field<Address> Count{16};               // u32: entries waiting
    static constexpr Field<Address> Entries{24};             // u64 per entry; may be null: only measure
    static constexpr Field<Address> DroppedEntries{32};      // u64
    static constexpr Field<Address> RecordingStartTick{40};  // u64
    static constexpr size_t Size = 48;
    static constexpr uint32_t ConstantValue = 200;
    static constexpr size_t EntrySize = 8; // tick in the high word, frame count in the low
};
static_assert(Drain::RecordingStartTick.end() == Drain::Size);

// Selectors 8, 12, 18, 19, 24 (in and out), 34: one u32.
struct Word {
    static constexpr Field<uint32_t> Value{0};
    static constexpr size_t Size = 4;
};
// Selector 25: one f32.
struct HostFloat {
    static constexpr Field<float> Value{0};
    static constexpr size_t Size = 4;
};

// Selectors 9 and 13: room for exactly as many parameter information records as there are values.
struct Describe {
    static constexpr Field<uint32_t> Count{0};
    static constexpr Field<Address> Records{8};
    static constexpr size_t Size = 16;
};
static_assert(Describe::Records.end() == Describe::Size);

// Selectors 10, 11, 14, 15.
struct ParameterValue {
    static constexpr Field<uint32_t> Index{0};
    static constexpr Field<float> Value{4};
    static constexpr size_t Size = 8;
};
static_assert(ParameterValue::Value.end() == ParameterValue::Size);

// Selector 16.
struct HitTest {
    static constexpr Field<uint32_t> X{0};
    static constexpr Field<uint32_t> Y{4};
    static constexpr Field<uint32_t> Index{8}; // out
    static constexpr Field<uint32_t> Found{12}; // out: 1 when exactly one control is there
    static constexpr size_t Size = 16;
};
static_assert(HitTest::Found.end() == HitTest::Size);

// Selector 17.
struct Configuration {
    static constexpr Field<float> SampleRate{0};
    static constexpr Field<uint32_t> ChannelConfiguration{4};
    static constexpr size_t Size = 8;
};
static_assert(Configuration::ChannelConfiguration.end() == Configuration::Size);

// Selector 20: the host's run state. Running (flag A) tells the element set and
// the editor; running without the hold (flag B) settles pending changes first;
// neither forgets the last block.
struct RunState {
    static constexpr Field<uint32_t> Running{0};
    static constexpr Field<uint32_t> Hold{4};
    static constexpr size_t Size = 8;
};
static_assert(RunState::Hold.end() == RunState::Size);

// The host's transport, addressed by the process record.
struct Transport {
    static constexpr Field<double> SamplePosition{24};
    static constexpr Field<uint32_t> Playing{32};
    static constexpr size_t Size = 136; // the rest goes to the element set unread
};
static_assert(Transport::Playing.end() <= Transport::Size);

// Selector 22.
struct Process {
    static constexpr uint32_t MaxSideBuses = 16;
    static constexpr Field<uint64_t> FrameCount{0};
    static constexpr Field<Address> Channels{8};  // one f32 channel per configured channel, in place
    static constexpr Field<Address> Transport{16};
    static constexpr Field<uint32_t> SideBusCount{24};
    static constexpr Field<uint32_t> BeforeBlockCount{28};
    static constexpr size_t BeforeBlockItems = 32;
    static constexpr size_t BeforeBlockItemsSize = 128;
    static constexpr Field<Address> sideBusChannels(uint32_t bus) { return {160 + 8 * size_t(bus)}; }
    static constexpr Field<uint32_t> sideBusChannelCount(uint32_t bus) { return {288 + 4 * size_t(bus)}; }
    // Flag A: the host reads the audio to analyse it and keeps nothing that comes out.
    static constexpr Field<uint32_t> AnalysisPass{352};
    // Flag B: the host's own; this product reads nothing from it.
    static constexpr Field<uint32_t> HostFlag{356};
    static constexpr size_t Size = 360;
};
static_assert(Process::BeforeBlockCount.end() == Process::BeforeBlockItems);
static_assert(Process::BeforeBlockItems + Process::BeforeBlockItemsSize == Process::sideBusChannels(0).offset);
static_assert(Process::sideBusChannels(Process::MaxSideBuses).offset == Process::sideBusChannelCount(0).offset);
static_assert(Process::sideBusChannelCount(Process::MaxSideBuses).offset == Process::AnalysisPass.offset);
static_assert(Process::HostFlag.end() == Process::Size);

// Selector 23.
struct Bypass {
    static constexpr Field<uint64_t> FrameCount{0};
    static constexpr Field<Address> Inputs{8};
    static constexpr Field<Address> Outputs{16};
    static constexpr size_t Size = 24;
};
static_assert(Bypass::Outputs.end() == Bypass::Size);

// Selector 27: handed to the element set, which may change the flag and answers.
struct RenderRequest {
    static constexpr Field<uint64_t> First{0};
    static constexpr Field<uint32_t> Second{8};
    static constexpr Field<uint32_t> Third{12};
    static constexpr Field<uint64_t> Fourth{16};
    static constexpr Field<uint32_t> Flag{28};
    static constexpr Field<uint32_t> Answer{32};
    static constexpr size_t MinimumSize = 36;
};
static_assert(RenderRequest::Answer.end() == RenderRequest::MinimumSize);

// Selector 28: one record for every sub-operation; the first word is the EditorCode.
struct Editor {
    static constexpr Field<uint32_t> Code{0};
    static constexpr Field<uint64_t> ParentWindow{8};   // open
    static constexpr Field<uint32_t> Width{16};         // open; notification
    static constexpr Field<uint32_t> Height{20};        // open; notification
    static constexpr Field<uint32_t> SizeWidth{24};     // constrain size (in and out); notification in size words
    static constexpr Field<uint32_t> SizeHeight{28};    // constrain size (in and out); notification in size words
    static constexpr Field<uint32_t> OpenWord1{32};     // open
    static constexpr Field<uint32_t> OpenWord2{36};     // open
    static constexpr Field<uint32_t> OpenFlag{40};      // open
    static constexpr Field<uint32_t> ModeAnswer{32};    // mode (out)
    static constexpr Field<uint32_t> EventWord1{44};    // event
    static constexpr Field<uint32_t> EventWord2{48};    // event
    static constexpr Field<uint32_t> EventWord3{52};    // event
    static constexpr Field<uint32_t> EventHandled{56};  // event (out)
    static constexpr Field<uint32_t> IdleAnswer{60};    // idle (out)
    static constexpr Field<uint32_t> ModeKnown{60};     // mode (out)
    static constexpr Field<uint64_t> WindowHandle{64};  // window handle (out)
    static constexpr Field<uint32_t> Recording{72};     // open: start recording entries
    static constexpr size_t Size = 76;
};
static_assert(Editor::Recording.end() == Editor::Size);

// Selector 29: kind, x, y, modifier flags, drag flag.
struct InputEvent {
    static constexpr size_t WordCount = 5;
    static constexpr Field<uint32_t> word(size_t index) { return {4 * index}; }
    static constexpr Field<uint32_t> Answer{20};
    static constexpr size_t Size = 24;
};
static_assert(InputEvent::word(InputEvent::WordCount).offset == InputEvent::Answer.offset);
// Selector 30: kind, x, y, modifier flags, wheel step.
struct InputEventWithPoint {
    static constexpr size_t WordCount = 5;
    static constexpr Field<uint32_t> word(size_t index) { return {4 * index}; }
    static constexpr Field<uint32_t> UseCurrentPoint{20}; // take the window's pointer position
    static constexpr Field<uint32_t> Answer{24};
    static constexpr size_t Size = 28;
};
static_assert(InputEventWithPoint::word(InputEventWithPoint::WordCount).offset ==
              InputEventWithPoint::UseCurrentPoint.offset);

// Selector 31; the first word is the ChunkCode.
struct StateChunk {
    static constexpr Field<uint32_t> Code{0};
    static constexpr Field<uint8_t> Failed{4};       // set to 1 when a write or restore fails
    static constexpr Field<uint32_t> ChunkSize{8};   // out for BuildAndMeasure, in otherwise
    static constexpr Field<Address> Buffer{16};
    static constexpr Field<float> RestoreValue{24};  // RestoreWithAnswer
    static constexpr Field<uint32_t> RestoreExtra{28}; // Restore
    static constexpr Field<uint32_t> RestoreAnswer{32}; // RestoreWithAnswer (out)
    static constexpr size_t Size = 36;
};
static_assert(StateChunk::RestoreAnswer.end() == StateChunk::Size);

// Selector 32.
struct Question {
    static constexpr Field<uint32_t> Refused{0}; // set to 1 when the element set answers no
    static constexpr Field<uint32_t> Subject{4};
    static constexpr Field<uint32_t> Detail{8};
    static constexpr size_t Size = 12;
};
static_assert(Question::Detail.end() == Question::Size);

// Selector 33; the first word is the DataItemCode.
struct DataItem {
    static constexpr Field<uint32_t> Code{0};
    static constexpr Field<uint32_t> Count{8};
    static constexpr Field<uint32_t> Item{12};
    static constexpr Field<uint32_t> ItemSize{16};
    static constexpr Field<Address> NameBuffer{24};
    static constexpr Field<Address> DataBuffer{32};
    static constexpr size_t Size = 40;
};
static_assert(DataItem::DataBuffer.end() == DataItem::Size);

// Selector 37; the first word is the SettingsCode.
struct Settings {
    static constexpr Field<uint32_t> Code{0};
    static constexpr Field<uint32_t> ElementCount{4}; // ElementCount (out)
    static constexpr Field<uint32_t> Element{4};      // AddressItem
    static constexpr Field<uint32_t> Item{8};         // AddressItem
    static constexpr Field<Address> Values{280};      // ElementSetValues
    static constexpr Field<uint64_t> ValuesWord{288};
    static constexpr Field<uint32_t> ValuesFlag{296};
    static constexpr Field<uint32_t> OptionWord{300}; // SharedOptionWord
    static constexpr Field<uint32_t> OptionFlag{304}; // SharedOptionFlag
    static constexpr Field<uint64_t> OptionFirst{312}; // SharedOptionPair
    static constexpr Field<uint64_t> OptionSecond{320};
    static constexpr size_t Size = 328;
};
static_assert(Settings::OptionSecond.end() == Settings::Size);

// Selector 40 and reverse 21.
struct PropertyMessage {
    static constexpr Field<uint32_t> Id{0};
    static constexpr Field<uint32_t> DataSize{4};
    static constexpr Field<Address> Data{8};
    static constexpr size_t Size = 16;
};
static_assert(PropertyMessage::Data.end() == PropertyMessage::Size);

// The plug-in information record, selector 0's reply. Switches and words named
// only by letter carry the host format's meaning; the definition answers them.
struct Information {
    static constexpr TextField MakerShortName{0, 64};
    static constexpr TextField MakerFullName{64, 256};
    static constexpr TextField FamilyIdentifier{320, 256};
    static constexpr TextField ProductIdentifier{576, 64};
    static constexpr TextField ProductName{640, 64};
    static constexpr TextField ProductLongName{704, 256};
    static constexpr TextField VersionText{960, 64};
    static constexpr Field<uint32_t> VersionNumber{1024};
    static constexpr Field<uint32_t> BuildNumber{1028};
    static constexpr Field<uint32_t> ProductNumber{1032};
    static constexpr Field<uint32_t> ProductWord{1036};
    static constexpr int SwitchACount = 7;
    static constexpr Field<uint32_t> switchA(int n) { return {1040 + 4 * size_t(n - 1)}; } // A1..A7
    static constexpr int SwitchBCount = 17;
    static constexpr Field<uint32_t> switchB(int n) { return {1068 + 4 * size_t(n - 1)}; } // B1..B17
    static constexpr Field<uint32_t> Reserved1136{1136};
    static constexpr Field<uint32_t> SwitchC1{1140};
    static constexpr Field<uint32_t> SwitchC2{1144};
    static constexpr Field<uint32_t> EditorWidth{1148};
    static constexpr Field<uint32_t> EditorHeight{1152};
    static constexpr TextField TextD1{1156, 1024};
    static constexpr Field<uint32_t> WordD2{2180};
    static constexpr TextField ProductIdentifierCopy{2184, 64};
    static constexpr Field<uint32_t> ProductCode{2300}; // four characters
    static constexpr Field<uint32_t> WordE1{2304};
    static constexpr TextField MakerNames{2308, 1024};
    static constexpr Field<uint32_t> MakerCode{3332};
    static constexpr TextField ProductNames{3336, 1024};
    static constexpr TextField TextE2{4360, 1024};
    static constexpr Field<uint32_t> SecondProductCode{6408};
    static constexpr Field<uint32_t> WordF1{6412};
    static constexpr Field<uint32_t> switchF(int n) { return {6416 + 4 * size_t(n - 2)}; } // F2..F11
    static constexpr Field<uint32_t> wordG(int n) // G1..G15, one reserved word after G9
    {
        return {n <= 9 ? 6456 + 4 * size_t(n - 1) : 6496 + 4 * size_t(n - 10)};
    }
    static constexpr Field<uint32_t> SwitchG16{6520};
    static constexpr TextField TextH1{6524, 64};
    static constexpr TextField TextH2{6588, 64};
    static constexpr Field<uint32_t> ComponentTypeCode{6652};
    static constexpr Field<uint32_t> MakerCodeCopy{6656};
    static constexpr Field<uint32_t> ProductCodeCopy{6660};
    static constexpr TextField ProductNameCopy{6664, 64};
    static constexpr Field<uint32_t> MakerCodeThirdCopy{6728};
    static constexpr Field<uint32_t> ProductCodeThirdCopy{6732};
    static constexpr Field<uint32_t> WordJ1{6736};
    static constexpr TextField TextJ2{6740, 1024};
    static constexpr size_t Size = 7764;
};
static_assert(Information::VersionText.end() == Information::VersionNumber.offset);
static_assert(Information::switchA(Information::SwitchACount).end() == Information::switchB(1).offset);
static_assert(Information::switchB(Information::SwitchBCount).end() == Information::Reserved1136.offset);
static_assert(Information::EditorHeight.end() == Information::TextD1.offset);
static_assert(Information::MakerNames.end() == Information::MakerCode.offset);
static_assert(Information::switchF(11).end() == Information::wordG(1).offset);
static_assert(Information::wordG(15).end() == Information::SwitchG16.offset);
static_assert(Information::TextJ2.end() == Information::Size);

// The parameter information record of selectors 9 and 13, one per value.
struct ParameterInformation {
    static constexpr size_t Reserved = 0; // 256 bytes the core leaves as the caller gave them
    static constexpr TextField DisplayName{256, 1024};
    static constexpr TextField SecondText{1280, 1024};
    static constexpr TextField Labels{2304, 2048}; // enumeration labels joined by TAB
    static constexpr Field<uint32_t> Kind{4352};   // 0 float, 1 bool, 2 enumeration
    static constexpr Field<uint32_t> FirstAttribute{4356};
    static constexpr Field<uint32_t> FixedWord1{4360}; // 1
    static constexpr Field<uint32_t> FixedWord2{4364}; // 1
    static constexpr Field<uint32_t> FixedWord3{4368}; // 0
    static constexpr Field<float> Minimum{4372};
    static constexpr Field<float> Maximum{4376};
    static constexpr Field<float> Default{4380};
    static constexpr Field<uint32_t> SecondAttribute{4384};
    static constexpr Field<uint32_t> DisplayStyle{4388};
    static constexpr size_t Size = 4392;
};
static_assert(ParameterInformation::Labels.end() == ParameterInformation::Kind.offset);
static_assert(ParameterInformation::DisplayStyle.end() == ParameterInformation::Size);

// ---- Reverse-call records ----

// Reverse 1.
struct Gesture {
    static constexpr Field<uint32_t> Kind{0}; // GestureKind
    static constexpr Field<uint32_t> ParameterIndex{4};
    static constexpr Field<float> Value{8};
    static constexpr size_t Size = 12;
};
static_assert(Gesture::Value.end() == Gesture::Size);

// Reverse 13: the wrapper answers; the text stays the wrapper's, the core copies it.
struct HostApplication {
    static constexpr Field<uint64_t> TextLength{0};
    static constexpr Field<Address> Text{8};
    static constexpr Field<float> Version{16}; // 0: none given
    static constexpr size_t Size = 24;         // room the core gives
};
static_assert(HostApplication::Version.end() <= HostApplication::Size);

// Reverse 18: the wrapper answers three words.
struct ActivationWords {
    static constexpr Field<uint32_t> First{0};
    static constexpr Field<uint32_t> Second{4};
    static constexpr Field<uint32_t> Third{8};
    static constexpr size_t Size = 12;
};
static_assert(ActivationWords::Third.end() == ActivationWords::Size);

// Reverse 2 ({u32 new value}), 9 ({u32}), 19 and 20 ({f32} answered) use Word and HostFloat;
// reverse 17 carries one byte.
struct HostFlag {
    static constexpr Field<uint8_t> Flag{0};
    static constexpr size_t Size = 1;
};

} // namespace Layout
} // namespace EntryProtocol
