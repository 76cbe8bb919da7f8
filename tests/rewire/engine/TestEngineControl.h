#pragma once
#include "rewire/EngineInterface.h"

#include <cstdint>

// The test engine's own exports beside the engine functions: what the tests
// tell it and what it recorded. Every call of an engine function is recorded
// with its arguments, without allocating, in the order made.
extern "C" {

enum TestEngineFunction : int32_t {
    TestEngineOpen,
    TestEngineIsCloseOK,
    TestEngineClose,
    TestEngineIsMixerRunning,
    TestEngineChannelCreate,
    TestEngineConnectionCheck,
    TestEngineChannelDestroy,
    TestEngineMessageFits,
    TestEngineSend,
    TestEngineRead,
    TestEngineBytesAvailable,
};

struct TestEngineCall {
    int32_t function;
    int64_t arguments[4];
    char signature[64];                               // channel create
    ReWire::Engine::PortDescription ports[8];         // channel create
};

using TestEngineReset = void (*)();
// The answer of open, channel create or the connection check.
using TestEngineSetAnswer = void (*)(int32_t function, int32_t answer);
// Bytes waiting on a port until the next read of it.
using TestEngineSetBytesAvailable = void (*)(int32_t port, int32_t bytes);
using TestEngineCallCount = int32_t (*)();
using TestEngineGetCall = int32_t (*)(int32_t index, TestEngineCall* call);
}
