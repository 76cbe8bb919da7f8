#pragma once
#include <functional>
#include <string>
#include <vector>

// A stand-in for the user's web browser: a script that appends each argument
// it is given, one a line, to a log file. It is registered in the test
// program's private home as the desktop's default handler of text/html (a
// .desktop file in $XDG_DATA_HOME/applications, the default in
// $XDG_CONFIG_HOME/mimeapps.list). The system's data and configuration folders
// point at a private folder that holds only the MIME database, so that no
// handler of the machine is ever found, and the session bus is one that does
// not exist, so that no desktop hears of the launches.
class RecordingBrowser {
public:
    // The one registration of the test program, made before the first test
    // runs (GLib reads the folders once per process).
    static RecordingBrowser& instance();

    // Runs `action`, waits until every program it started has ended, and
    // answers the arguments the browser was given meanwhile.
    std::vector<std::string> argumentsDuring(const std::function<void()>& action) const;

    // While it lives, the browser's program does not exist (its .desktop file
    // stays): the desktop then knows no handler of the type.
    class Missing {
    public:
        explicit Missing(const RecordingBrowser& browser);
        ~Missing();
        Missing(const Missing&) = delete;
        Missing& operator=(const Missing&) = delete;

    private:
        const RecordingBrowser& browser_;
    };

private:
    RecordingBrowser();

    std::string program_;
    std::string log_;
};
