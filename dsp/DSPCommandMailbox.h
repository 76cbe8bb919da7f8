#pragma once

namespace DSP {

class DSPCommand;

// Where element commands are posted.
class DSPCommandMailbox {
public:
    virtual ~DSPCommandMailbox() = default;
    // Takes ownership of `command`. [any-thread] but the audio thread
    virtual void Post(DSPCommand* command) = 0;
};

} // namespace DSP
