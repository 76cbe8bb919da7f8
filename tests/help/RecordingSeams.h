#pragma once
#include "platform/MessageBox.h"
#include "platform/Shell.h"
#include "platform/UrlOpener.h"

#include <string>
#include <vector>

// Recorders installed in the platform seams for the life of a test: the
// notices shown, what reached the shell's open (which answers as told: by
// default it fails, as it would without a working xdg-open), and, when a test
// asks for it, the URLs opened.
struct RecordingSeams {
    struct Notice {
        std::string title;
        std::string text;
        Platform::MessageBox::Icon icon;
        bool operator==(const Notice&) const = default;
    };
    struct Box final : Platform::MessageBox {
        std::vector<Notice> shown;
        void show(const Util::String& title, const Util::String& text, Icon icon) override
        {
            shown.push_back({title, text, icon});
        }
    };
    struct Shell final : Platform::Shell {
        std::vector<std::string> opened;
        int32_t answer = FileNotFound;
        int32_t open(const Util::String& verb, const Util::String& path, const Util::String&) override
        {
            opened.push_back(verb + " " + path);
            return answer;
        }
    };
    struct Opener final : Platform::UrlOpener {
        std::vector<std::string> opened;
        bool answer = true;
        bool openUrl(const Util::String& url) override
        {
            opened.push_back(url);
            return answer;
        }
    };

    Box box;
    Shell shell;

    RecordingSeams()
    {
        Platform::installMessageBox(&box);
        Platform::installShell(&shell);
    }
    ~RecordingSeams()
    {
        Platform::installUrlOpener(nullptr);
        Platform::installShell(nullptr);
        Platform::installMessageBox(nullptr);
    }
    RecordingSeams(const RecordingSeams&) = delete;
    RecordingSeams& operator=(const RecordingSeams&) = delete;

    // Replaces the system's opener (GIO and the shell) by a recorder.
    Opener& recordUrls()
    {
        Platform::installUrlOpener(&opener_);
        return opener_;
    }

private:
    Opener opener_;
};
