// A stand-in for the ReWire engine library: exports the eleven functions the
// device binds (unless built without one), the version datum (of the version
// it is built as, unless built without it), and the controls of
// TestEngineControl.h. Variants come from compile definitions:
//   TEST_ENGINE_VERSION=major,minor   the version it claims (default 1,8)
//   TEST_ENGINE_WITHOUT_VERSION       no version datum
//   TEST_ENGINE_WITHOUT_READ          no RWDComReadImp
#include "engine/TestEngineControl.h"

#include <array>
#include <atomic>
#include <cstring>

#define ENGINE_EXPORT extern "C" __attribute__((visibility("default")))

#ifndef TEST_ENGINE_VERSION
#define TEST_ENGINE_VERSION 1, 8
#endif

namespace {

constexpr int32_t Capacity = 65536;
std::array<TestEngineCall, Capacity> calls;
std::atomic<int32_t> callCount{0};

std::atomic<int32_t> openAnswer{1};
std::atomic<int32_t> createAnswer{1};
std::atomic<int32_t> connectionAnswer{ReWire::Engine::PanelNotConnected};
std::array<std::atomic<int32_t>, 8> bytesWaiting{};
char channel; // the handle given out is this byte's address

TestEngineCall& record(int32_t function, int64_t a = 0, int64_t b = 0, int64_t c = 0, int64_t d = 0)
{
    static TestEngineCall overflow;
    const int32_t index = callCount.fetch_add(1);
    TestEngineCall& call = index < Capacity ? calls[size_t(index)] : overflow;
    call = TestEngineCall{function, {a, b, c, d}, {}, {}};
    return call;
}

int64_t handle(ReWire::Engine::ChannelHandle h) { return h == &channel ? 1 : reinterpret_cast<intptr_t>(h); }

} // namespace

#ifndef TEST_ENGINE_WITHOUT_VERSION
ENGINE_EXPORT const uint16_t ReWireFileVersion[4] = {TEST_ENGINE_VERSION, 0, 0};
#endif

ENGINE_EXPORT int32_t RWDOpenImp(int32_t interfaceVersion)
{
    record(TestEngineOpen, interfaceVersion);
    return openAnswer;
}

ENGINE_EXPORT int32_t RWDIsCloseOKImp()
{
    record(TestEngineIsCloseOK);
    return 1;
}

ENGINE_EXPORT void RWDCloseImp() { record(TestEngineClose); }

ENGINE_EXPORT int32_t RWIsReWireMixerAppRunningImp()
{
    record(TestEngineIsMixerRunning);
    return 1;
}

ENGINE_EXPORT int32_t RWDComCreateImp(const char* signature, int32_t value, const ReWire::Engine::PortDescription* ports,
                                      int32_t portCount, ReWire::Engine::ChannelHandle* made)
{
    TestEngineCall& call = record(TestEngineChannelCreate, value, portCount);
    std::strncpy(call.signature, signature ? signature : "(null)", sizeof call.signature - 1);
    for (int32_t i = 0; ports && i < portCount && i < 8; ++i)
        call.ports[i] = ports[i];
    const int32_t answer = createAnswer;
    if (answer == 1)
        *made = &channel;
    return answer;
}

ENGINE_EXPORT int32_t RWDComCheckConnectionImp(ReWire::Engine::ChannelHandle h)
{
    record(TestEngineConnectionCheck, handle(h));
    return connectionAnswer;
}

ENGINE_EXPORT void RWDComDestroyImp(ReWire::Engine::ChannelHandle h) { record(TestEngineChannelDestroy, handle(h)); }

ENGINE_EXPORT int32_t RWDComDoesMessageFitImp(ReWire::Engine::ChannelHandle h, int32_t port, int32_t size)
{
    record(TestEngineMessageFits, handle(h), port, size);
    return 1;
}

ENGINE_EXPORT int32_t RWDComSendImp(ReWire::Engine::ChannelHandle h, int32_t port, int32_t size, const void*)
{
    record(TestEngineSend, handle(h), port, size);
    return 1;
}

#ifndef TEST_ENGINE_WITHOUT_READ
ENGINE_EXPORT int32_t RWDComReadImp(ReWire::Engine::ChannelHandle h, int32_t port, int32_t capacity, void*, int32_t* size)
{
    record(TestEngineRead, handle(h), port, capacity);
    *size = port >= 0 && port < 8 ? bytesWaiting[size_t(port)].exchange(0) : 0;
    return 1;
}
#endif

ENGINE_EXPORT int32_t RWDComBytesAvailableImp(ReWire::Engine::ChannelHandle h, int32_t port, int32_t* bytes)
{
    record(TestEngineBytesAvailable, handle(h), port);
    *bytes = port >= 0 && port < 8 ? bytesWaiting[size_t(port)].load() : 0;
    return 1;
}

ENGINE_EXPORT void TestEngine_Reset()
{
    callCount = 0;
    openAnswer = 1;
    createAnswer = 1;
    connectionAnswer = ReWire::Engine::PanelNotConnected;
    for (auto& bytes : bytesWaiting)
        bytes = 0;
}

ENGINE_EXPORT void TestEngine_SetAnswer(int32_t function, int32_t answer)
{
    switch (function) {
    case TestEngineOpen: openAnswer = answer; break;
    case TestEngineChannelCreate: createAnswer = answer; break;
    case TestEngineConnectionCheck: connectionAnswer = answer; break;
    default: break;
    }
}

ENGINE_EXPORT void TestEngine_SetBytesAvailable(int32_t port, int32_t bytes)
{
    if (port >= 0 && port < 8)
        bytesWaiting[size_t(port)] = bytes;
}

ENGINE_EXPORT int32_t TestEngine_CallCount() { return callCount.load(); }

ENGINE_EXPORT int32_t TestEngine_GetCall(int32_t index, TestEngineCall* call)
{
    if (index < 0 || index >= callCount.load() || index >= Capacity)
        return 0;
    *call = calls[size_t(index)];
    return 1;
}
