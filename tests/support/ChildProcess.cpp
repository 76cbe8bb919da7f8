#include "support/ChildProcess.h"

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace TestSupport {

ChildProcess::ChildProcess(std::vector<std::string> words)
{
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
    const int failed = posix_spawn(&pid, words.front().c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(toChild[0]);
    close(fromChild[1]);
    input_ = toChild[1];
    output_ = fromChild[0];
    if (failed)
        throw std::runtime_error("cannot start " + words.front() + ": " + std::strerror(failed));
    pid_ = pid;
}

ChildProcess::~ChildProcess()
{
    stop();
    close(input_);
    close(output_);
}

void ChildProcess::stop()
{
    if (pid_ <= 0)
        return;
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
}

bool ChildProcess::readLine(std::string& line, std::chrono::steady_clock::time_point deadline)
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

std::string ChildProcess::expect(const std::string& fragment, std::chrono::milliseconds limit)
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

std::optional<std::string> ChildProcess::nextLine(std::chrono::milliseconds limit)
{
    std::string line;
    if (!readLine(line, std::chrono::steady_clock::now() + limit))
        return std::nullopt;
    log_.push_back(line);
    return line;
}

void ChildProcess::command(const std::string& line)
{
    const std::string text = line + "\n";
    if (write(input_, text.data(), text.size()) != ssize_t(text.size()))
        throw std::runtime_error("cannot write to the child process");
}

} // namespace TestSupport
