#pragma once
#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace TestSupport {

// A program run as a child process, its standard output read line by line and
// its standard input written a line at a time. Ended (SIGTERM) at destruction.
class ChildProcess {
public:
    explicit ChildProcess(std::vector<std::string> argv);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // The next line containing `fragment`, read within `limit`; empty when none
    // came. Every line read is kept in log().
    std::string expect(const std::string& fragment, std::chrono::milliseconds limit = std::chrono::seconds(10));
    // The next line, read within `limit`; none when none came.
    std::optional<std::string> nextLine(std::chrono::milliseconds limit = std::chrono::seconds(10));
    const std::vector<std::string>& log() const { return log_; }
    void command(const std::string& line);
    // Ends the program and waits for it.
    void stop();

private:
    bool readLine(std::string& line, std::chrono::steady_clock::time_point deadline);

    int pid_ = -1;
    int input_ = -1;
    int output_ = -1;
    std::string pending_;
    std::vector<std::string> log_;
};

} // namespace TestSupport
