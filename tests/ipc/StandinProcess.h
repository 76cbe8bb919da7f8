#pragma once
#include "ipc/SocketPair.h"
#include "support/ChildProcess.h"

#include <chrono>
#include <string>
#include <vector>

namespace TestSupport {

// tools/editor-standin running as a child process on free loopback ports (or
// the ports given), with its log read line by line from its standard output
// and its commands written to its standard input. Stopped at destruction.
class StandinProcess {
public:
    // `arguments` come after the port options. With `fixedPorts` the stand-in
    // binds the editor's own ports.
    explicit StandinProcess(std::vector<std::string> arguments = {}, bool fixedPorts = false);

    const IPC::SocketPair::Endpoints& endpoints() const { return endpoints_; }

    // The next log line containing `fragment`, read within `limit`; empty when
    // none came. Lines before it are kept in log().
    std::string expect(const std::string& fragment, std::chrono::milliseconds limit = std::chrono::seconds(10))
    {
        return process_.expect(fragment, limit);
    }
    const std::vector<std::string>& log() const { return process_.log(); }
    void command(const std::string& line) { process_.command(line); }
    // Ends the stand-in (as an editor that quits) and waits for it.
    void stop() { process_.stop(); }

private:
    ChildProcess process_;
    IPC::SocketPair::Endpoints endpoints_;
};

} // namespace TestSupport
