#include "StandinProcess.h"

#include <csignal>
#include <fcntl.h>
#include <cstring>
#include <poll.h>
#include <regex>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace TestSupport {

StandinProcess::StandinProcess(std::vector<std::string> arguments, bool fixedPorts)
{
    const std::string program = RELAY_SOURCE_DIR "/tools/editor-standin/editor-standin";
    std::vector<std::string> words{program};
    if (!fixedPorts)
        words.insert(words.end(), {"--request-port", "0", "--reply-port", "0", "--push-port", "0"});
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);

    int toChild[2];
    int fromChild[2];
    // Close-on-exec, so that no later child inherits these pipes.
    if (pipe2(toChild, O_CLOEXEC) != 0 || pipe2(fromChild, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toChild[0], 0);
    posix_spawn_file_actions_adddup2(&actions, fromChild[1], 1);
    for (const int fd : {toChild[0], toChild[1], fromChild[0], fromChild[1]})
        posix_spawn_file_actions_addclose(&actions, fd);
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(toChild[0]);
    close(fromChild[1]);
    input_ = toChild[1];
    output_ = fromChild[0];
    if (failed)
        throw std::runtime_error("cannot start " + program + ": " + std::strerror(failed));
    pid_ = pid;

    const std::string ready = expect("READY ");
    const std::regex field(R"((request|reply|push)=(\S+))");
    for (std::sregex_iterator it(ready.begin(), ready.end(), field), end; it != end; ++it) {
        const std::string name = (*it)[1];
        (name == "request" ? endpoints_.request : name == "reply" ? endpoints_.reply : endpoints_.push) = (*it)[2];
    }
}

StandinProcess::~StandinProcess()
{
    stop();
    close(input_);
    close(output_);
}

void StandinProcess::stop()
{
    if (pid_ <= 0)
        return;
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
}

bool StandinProcess::readLine(std::string& line, std::chrono::steady_clock::time_point deadline)
{
    for (;;) {
        if (const auto end = pending_.find('\n'); end != std::string::npos) {
            line = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            return true;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd item{output_, POLLIN, 0};
        if (left.count() <= 0 || poll(&item, 1, int(left.count())) <= 0)
            return false;
        char buffer[4096];
        const ssize_t got = read(output_, buffer, sizeof buffer);
        if (got <= 0)
            return false;
        pending_.append(buffer, size_t(got));
    }
}

std::string StandinProcess::expect(const std::string& fragment, std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    std::string line;
    while (readLine(line, deadline)) {
        log_.push_back(line);
        if (line.find(fragment) != std::string::npos)
            return line;
    }
    return {};
}

void StandinProcess::command(const std::string& line)
{
    const std::string text = line + "\n";
    if (write(input_, text.data(), text.size()) != ssize_t(text.size()))
        throw std::runtime_error("cannot write to the stand-in");
}

} // namespace TestSupport
