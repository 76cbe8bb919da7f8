#pragma once
#include "engine/TestEngineControl.h"

#include <string>
#include <vector>

namespace TestSupport {

// A private common program files folder with the engine's folder inside it,
// named to the library through RELAY_COMMON_PROGRAM_FILES while it lives.
class EngineFolder {
public:
    // `root`: the folder to use; a fresh temporary one when empty.
    explicit EngineFolder(std::string root = {});
    ~EngineFolder();
    EngineFolder(const EngineFolder&) = delete;
    EngineFolder& operator=(const EngineFolder&) = delete;

    // Copies a built test engine in under `name` ("ReWire.so" ...); returns its path.
    std::string install(const std::string& builtEngine, const std::string& name = "ReWire.so");
    void remove(const std::string& name);
    std::string path(const std::string& name) const { return engineFolder_ + "/" + name; }

private:
    std::string engineFolder_;
};

// The loaded image of an installed engine, held while this lives, with the
// engine's controls and its record of calls.
class EngineControl {
public:
    explicit EngineControl(const std::string& path);
    ~EngineControl();
    EngineControl(const EngineControl&) = delete;
    EngineControl& operator=(const EngineControl&) = delete;

    void reset() { reset_(); }
    void setAnswer(TestEngineFunction function, int32_t answer) { setAnswer_(function, answer); }
    void setBytesAvailable(int32_t port, int32_t bytes) { setBytes_(port, bytes); }
    int32_t callCount() const { return callCount_(); }
    // The calls recorded from index `from` on.
    std::vector<TestEngineCall> calls(int32_t from = 0) const;
    // Just the functions called, from index `from` on.
    std::vector<int32_t> functions(int32_t from = 0) const;

private:
    void* handle_;
    TestEngineReset reset_;
    TestEngineSetAnswer setAnswer_;
    TestEngineSetBytesAvailable setBytes_;
    TestEngineCallCount callCount_;
    TestEngineGetCall getCall_;
};

// Whether the file is loaded in this process now (without loading it).
bool isLoaded(const std::string& path);

} // namespace TestSupport
