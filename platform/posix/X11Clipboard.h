#pragma once
#include "platform/Clipboard.h"

#include <memory>
#include <mutex>

namespace Platform::Posix {

// The desktop's clipboard on X11: setText() takes the CLIPBOARD selection and
// from then on any X client that asks gets the text, as UTF-8
// ("text/plain;charset=utf-8", UTF8_STRING) or as Latin-1 (STRING), until
// another client takes the selection or this object dies. Texts larger than
// the server's request size go out in pieces (the INCR protocol).
//
// The selection is served on a display connection and a thread of its own
// ("X11 Clipboard"), made at the first setText(), so that requests are
// answered while the host's user-interface thread is busy elsewhere. Without
// a display the text stays in the process, readable through text().
class X11Clipboard final : public Clipboard {
public:
    X11Clipboard();
    ~X11Clipboard() override;
    X11Clipboard(const X11Clipboard&) = delete;
    X11Clipboard& operator=(const X11Clipboard&) = delete;

    // Returns once the selection is ours (or the server did not answer within
    // a bound, or there is no display). [ui-thread]
    void setText(const Util::String& utf8) override;
    Util::String text() const override; // [any-thread]
    // Whether the selection is ours now. [any-thread]
    bool ownsSelection() const;

private:
    class Server;

    mutable std::mutex mutex_;
    Util::String text_;
    std::unique_ptr<Server> server_;
    bool serverTried_ = false;
};

} // namespace Platform::Posix
