#include "platform/posix/X11Clipboard.h"

#include "platform/posix/X11Connection.h"
#include "platform/posix/X11ConnectionGuard.h"
#include "platform/posix/X11ErrorTrap.h"
#include "util/Log.h"

#include <X11/Xatom.h>
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <list>
#include <thread>
#include <utility>

namespace Platform::Posix {

namespace {

// How long setText() waits for the server to hand over the selection.
constexpr auto ClaimBound = std::chrono::seconds(5);

// Owns an eventfd that wakes the serving thread.
class WakeEvent {
public:
    WakeEvent() : fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}
    ~WakeEvent()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    WakeEvent(const WakeEvent&) = delete;
    WakeEvent& operator=(const WakeEvent&) = delete;

    int fd() const { return fd_; }
    void set() const
    {
        const uint64_t one = 1;
        [[maybe_unused]] const auto written = ::write(fd_, &one, sizeof one);
    }
    void clear() const
    {
        uint64_t count = 0;
        [[maybe_unused]] const auto read = ::read(fd_, &count, sizeof count);
    }

private:
    int fd_;
};

// UTF-8 as Latin-1 (what the STRING target means): characters beyond it become '?'.
Util::String latin1Of(const Util::String& utf8)
{
    Util::String out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 1;
        length = std::min(length, utf8.size() - i);
        uint32_t code = lead;
        if (length == 2)
            code = ((lead & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu);
        out.push_back(length == 1 && lead < 0x80 ? char(lead) : (length == 2 && code <= 0xFF ? char(code) : '?'));
        i += length;
    }
    return out;
}

} // namespace

// The serving side: one display connection, an invisible window that owns the
// selection, and the thread that answers requests and feeds INCR transfers.
// Every Xlib call on this connection is made on that thread.
class X11Clipboard::Server {
public:
    // Null when there is no display.
    static std::unique_ptr<Server> start()
    {
        Display* display = openX11Display();
        if (!display)
            return nullptr;
        return std::unique_ptr<Server>(new Server(display));
    }

    ~Server()
    {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.set();
        thread_.join();
        if (window_ && !guard_->lost())
            XDestroyWindow(display_.get(), window_);
        display_.reset();
    }

    // Hands the text to the thread and waits until the selection is ours.
    void claim(const Util::String& text)
    {
        std::unique_lock lock(mutex_);
        pending_ = std::make_shared<const Util::String>(text);
        const uint64_t wanted = ++claimsAsked_;
        wake_.set();
        if (!claimed_.wait_for(lock, ClaimBound, [&] { return claimsDone_ >= wanted || stopping_; }))
            Util::Log::write("The X server did not hand the clipboard over in time");
    }

    bool owns() const
    {
        std::lock_guard lock(mutex_);
        return owner_;
    }

private:
    // A text larger than one request, sent piece by piece as the requestor
    // deletes each piece.
    struct Transfer {
        ::Window requestor;
        Atom property;
        Atom type;
        std::shared_ptr<const Util::String> data;
        size_t offset = 0;
        bool finished = false;
    };

    explicit Server(Display* display) : guard_(std::make_unique<X11ConnectionGuard>(display))
    {
        display_.reset(display);
        window_ = XCreateSimpleWindow(display, DefaultRootWindow(display), -10, -10, 1, 1, 0, 0, 0);
        XSelectInput(display, window_, PropertyChangeMask);
        clipboard_ = XInternAtom(display, "CLIPBOARD", False);
        targets_ = XInternAtom(display, "TARGETS", False);
        utf8_ = XInternAtom(display, "UTF8_STRING", False);
        textPlain_ = XInternAtom(display, "text/plain;charset=utf-8", False);
        incr_ = XInternAtom(display, "INCR", False);
        // One request holds at most this many bytes of property data.
        pieceBytes_ = size_t(XMaxRequestSize(display)) * 4 - 256;
        XFlush(display);
        thread_ = std::thread([this] { run(); });
    }

    void run()
    {
        pthread_setname_np(pthread_self(), "X11 Clipboard");
        Display* display = display_.get();
        pollfd fds[2] = {{ConnectionNumber(display), POLLIN, 0}, {wake_.fd(), POLLIN, 0}};
        while (!guard_->lost()) {
            takePendingClaim();
            while (!guard_->lost() && XPending(display)) {
                XEvent event;
                XNextEvent(display, &event);
                handle(event);
            }
            // No Xlib call between the last XPending (which flushed) and the
            // poll: XFlush also reads what the server sent meanwhile into
            // Xlib's queue, where the poll would not see it, and a requestor
            // waiting for the next piece of a long text would wait forever.
            {
                std::lock_guard lock(mutex_);
                if (stopping_)
                    break;
            }
            if (::poll(fds, 2, -1) < 0 && errno != EINTR)
                break;
            if (fds[1].revents & POLLIN)
                wake_.clear();
        }
        std::lock_guard lock(mutex_);
        claimsDone_ = claimsAsked_;
        claimed_.notify_all();
    }

    void takePendingClaim()
    {
        std::shared_ptr<const Util::String> text;
        uint64_t asked = 0;
        {
            std::lock_guard lock(mutex_);
            if (!pending_)
                return;
            text = std::exchange(pending_, nullptr);
            asked = claimsAsked_;
        }
        Display* display = display_.get();
        XSetSelectionOwner(display, clipboard_, window_, CurrentTime);
        const bool ours = XGetSelectionOwner(display, clipboard_) == window_;
        if (!ours)
            Util::Log::write("The X server did not give the clipboard to the plug-in");
        std::lock_guard lock(mutex_);
        serving_ = std::move(text);
        owner_ = ours;
        claimsDone_ = asked;
        claimed_.notify_all();
    }

    void handle(const XEvent& event)
    {
        switch (event.type) {
        case SelectionRequest: answer(event.xselectionrequest); break;
        case SelectionClear:
            if (event.xselectionclear.selection == clipboard_) {
                std::lock_guard lock(mutex_);
                owner_ = false;
            }
            break;
        case PropertyNotify:
            if (event.xproperty.state == PropertyDelete)
                feed(event.xproperty.window, event.xproperty.atom);
            break;
        default: break;
        }
    }

    // Puts the asked form of the text into the requestor's property and tells it.
    void answer(const XSelectionRequestEvent& request)
    {
        Display* display = display_.get();
        // Obsolete clients name no property: the target is the property then.
        const Atom property = request.property == None ? request.target : request.property;
        bool given = false;
        {
            X11ErrorTrap trap(display);
            given = request.selection == clipboard_ && serving_ && put(request, property);
            given = given && !trap.failed();
        }
        XEvent reply{};
        reply.xselection.type = SelectionNotify;
        reply.xselection.display = display;
        reply.xselection.requestor = request.requestor;
        reply.xselection.selection = request.selection;
        reply.xselection.target = request.target;
        reply.xselection.property = given ? property : None;
        reply.xselection.time = request.time;
        X11ErrorTrap trap(display); // the requestor may be gone already
        XSendEvent(display, request.requestor, False, NoEventMask, &reply);
    }

    bool put(const XSelectionRequestEvent& request, Atom property)
    {
        Display* display = display_.get();
        if (request.target == targets_) {
            const Atom offered[] = {targets_, utf8_, textPlain_, XA_STRING};
            XChangeProperty(display, request.requestor, property, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(offered), int(std::size(offered)));
            return true;
        }
        std::shared_ptr<const Util::String> data;
        if (request.target == utf8_ || request.target == textPlain_)
            data = serving_;
        else if (request.target == XA_STRING)
            data = std::make_shared<const Util::String>(latin1Of(*serving_));
        else
            return false;
        if (data->size() <= pieceBytes_) {
            XChangeProperty(display, request.requestor, property, request.target, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(data->data()), int(data->size()));
            return true;
        }
        // INCR: announce the size; each deletion of the property asks for the next piece.
        // A transfer left unfinished on the same window and property (its
        // requestor gone, and the server giving a new one the same window id)
        // would take this one's deletions and, ending, stop their events.
        transfers_.remove_if([&](const Transfer& transfer) {
            return transfer.requestor == request.requestor && transfer.property == property;
        });
        XSelectInput(display, request.requestor, PropertyChangeMask);
        const long size = long(data->size());
        XChangeProperty(display, request.requestor, property, incr_, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&size), 1);
        transfers_.push_back({request.requestor, property, request.target, std::move(data)});
        return true;
    }

    void feed(::Window requestor, Atom property)
    {
        const auto found = std::find_if(transfers_.begin(), transfers_.end(), [&](const Transfer& transfer) {
            return transfer.requestor == requestor && transfer.property == property;
        });
        if (found == transfers_.end())
            return;
        Display* display = display_.get();
        X11ErrorTrap trap(display);
        const size_t piece = std::min(pieceBytes_, found->data->size() - found->offset);
        // The last, empty piece ends the transfer.
        XChangeProperty(display, requestor, property, found->type, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(found->data->data() + found->offset), int(piece));
        found->offset += piece;
        if (piece == 0 || trap.failed()) {
            transfers_.erase(found);
            const bool stillFeeding = std::any_of(transfers_.begin(), transfers_.end(),
                                                  [&](const Transfer& t) { return t.requestor == requestor; });
            if (!stillFeeding)
                XSelectInput(display, requestor, NoEventMask);
        }
    }

    std::unique_ptr<X11ConnectionGuard> guard_; // outlives the connection
    X11DisplayHandle display_;
    ::Window window_ = 0;
    Atom clipboard_ = 0, targets_ = 0, utf8_ = 0, textPlain_ = 0, incr_ = 0;
    size_t pieceBytes_ = 0;
    std::list<Transfer> transfers_; // the thread's own

    WakeEvent wake_;
    mutable std::mutex mutex_;
    std::condition_variable claimed_;
    std::shared_ptr<const Util::String> pending_; // handed over by claim()
    std::shared_ptr<const Util::String> serving_; // the thread's text since its last claim
    uint64_t claimsAsked_ = 0;
    uint64_t claimsDone_ = 0;
    bool owner_ = false;
    bool stopping_ = false;
    std::thread thread_; // last: it starts once everything above is made
};

X11Clipboard::X11Clipboard() = default;

X11Clipboard::~X11Clipboard() = default;

void X11Clipboard::setText(const Util::String& utf8)
{
    {
        std::lock_guard lock(mutex_);
        text_ = utf8;
        if (!serverTried_) {
            serverTried_ = true;
            server_ = Server::start();
        }
    }
    if (server_)
        server_->claim(utf8);
}

Util::String X11Clipboard::text() const
{
    std::lock_guard lock(mutex_);
    return text_;
}

bool X11Clipboard::ownsSelection() const
{
    std::lock_guard lock(mutex_);
    return server_ && server_->owns();
}

} // namespace Platform::Posix
