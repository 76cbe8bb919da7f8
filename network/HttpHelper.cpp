#include "network/HttpHelper.h"

#include "network/CurlLibrary.h"

#include <utility>

namespace Network {

namespace {

// How long the worker waits for the network before it asks its owner again
// whether to give up. The owner's clock is read, not waited on, so a test's
// fake clock takes effect within one slice.
constexpr int PollSliceMs = 50;

using Easy = std::unique_ptr<CURL, decltype(&curl_easy_cleanup)>;
using Headers = std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)>;

// Only reached once a multi handle exists, that is once libcurl is loaded.
const CurlLibrary& curl() { return *CurlLibrary::get(); }

void* newMulti()
{
    const CurlLibrary* library = CurlLibrary::get();
    if (!library)
        return nullptr;
    // Thread-safe in this libcurl; done once, never undone: a plug-in cannot
    // know whether the host uses libcurl as well.
    static const bool initialised = library->globalInit(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    return initialised ? library->multiInit() : nullptr;
}

size_t appendBody(char* data, size_t size, size_t count, void* reply)
{
    static_cast<Util::String*>(reply)->append(data, size * count);
    return size * count;
}

Headers requestHeaders()
{
    Headers headers(curl().slistAppend(nullptr, HttpHelper::ContentType), curl().slistFreeAll);
    // No "Expect: 100-continue" round trip: the body follows the header at once.
    if (headers && !curl().slistAppend(headers.get(), "Expect:"))
        headers.reset();
    return headers;
}

template <typename Value>
bool set(CURL* easy, CURLoption option, Value value)
{
    return curl().easySetopt(easy, option, value) == CURLE_OK;
}

// A plain HTTP/1.1 POST, without signals (a library must not touch the
// host's), the whole reply body appended to `body`.
bool configure(CURL* easy, const Util::String& url, const Util::String& payload, curl_slist* headers, Util::String* body)
{
    return set(easy, CURLOPT_URL, url.c_str()) && set(easy, CURLOPT_PROTOCOLS_STR, "http") &&
           set(easy, CURLOPT_NOSIGNAL, 1L) && set(easy, CURLOPT_USERAGENT, HttpHelper::Agent) &&
           set(easy, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_1)) && set(easy, CURLOPT_POST, 1L) &&
           set(easy, CURLOPT_POSTFIELDSIZE, long(payload.size())) && set(easy, CURLOPT_POSTFIELDS, payload.c_str()) &&
           set(easy, CURLOPT_HTTPHEADER, headers) && set(easy, CURLOPT_WRITEFUNCTION, &appendBody) &&
           set(easy, CURLOPT_WRITEDATA, static_cast<void*>(body));
}

std::optional<CURLcode> finishedTransfer(CURLM* multi)
{
    int left = 0;
    while (CURLMsg* message = curl().multiInfoRead(multi, &left))
        if (message->msg == CURLMSG_DONE)
            return message->data.result;
    return std::nullopt;
}

// The failure's text by the stage the exchange reached: a request that could
// not be made is an invalid request; one that never reached a server says why
// in libcurl's words; once sent, a reply without a status line gave no size
// information, and one that broke off after it could not be read.
Util::String failureText(CURLcode result, bool requestSent, long status)
{
    if (!requestSent)
        return result == CURLE_URL_MALFORMAT || result == CURLE_UNSUPPORTED_PROTOCOL ? "Invalid request handle."
                                                                                     : curl().easyStrerror(result);
    return status > 0 ? "Unable to read data from the server." : "Unable to query size information.";
}

} // namespace

void HttpHelper::MultiCleanup::operator()(void* multi) const { curl().multiCleanup(static_cast<CURLM*>(multi)); }

HttpHelper::HttpHelper() : multi_(newMulti())
{
    thread_.Start([this](Util::Thread& self) { run(self); });
}

HttpHelper::~HttpHelper()
{
    closing_.store(true, std::memory_order_release);
    if (multi_)
        curl().multiWakeup(static_cast<CURLM*>(multi_.get()));
    thread_.Stop();
}

bool HttpHelper::start(Util::String url, Util::String body, GiveUp giveUp, Done done)
{
    bool idle = false;
    if (!busy_.compare_exchange_strong(idle, true, std::memory_order_acq_rel))
        return false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        job_ = Job{std::move(url), std::move(body), std::move(giveUp), std::move(done)};
    }
    thread_.SetEvent();
    return true;
}

void HttpHelper::run(Util::Thread& self)
{
    for (;;) {
        std::optional<Job> job;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            job.swap(job_);
        }
        if (job) {
            const HttpReply reply = exchange(*job);
            if (closing_.load(std::memory_order_acquire))
                return;
            busy_.store(false, std::memory_order_release); // so that `done` may start the next
            if (job->done)
                job->done(reply);
            continue;
        }
        if (self.StopRequested())
            return;
        self.WaitForEvent();
    }
}

HttpReply HttpHelper::exchange(const Job& job)
{
    HttpReply reply;
    CURLM* multi = static_cast<CURLM*>(multi_.get());
    if (!multi) {
        reply.error = "Unable to obtain internet handle.";
        return reply;
    }
    const Easy easy(curl().easyInit(), curl().easyCleanup);
    const Headers headers = requestHeaders();
    if (!easy || !headers) {
        reply.error = "Unable to obtain internet handle.";
        return reply;
    }
    if (!configure(easy.get(), job.url, job.body, headers.get(), &reply.body) ||
        curl().multiAddHandle(multi, easy.get()) != CURLM_OK) {
        reply.error = "Invalid request handle.";
        return reply;
    }

    std::optional<CURLcode> result;
    const char* stoppedBecause = nullptr;
    for (;;) {
        int running = 0;
        if (const CURLMcode code = curl().multiPerform(multi, &running); code != CURLM_OK) {
            stoppedBecause = curl().multiStrerror(code);
            break;
        }
        if ((result = finishedTransfer(multi)))
            break;
        if (closing_.load(std::memory_order_acquire)) {
            stoppedBecause = "Closed.";
            break;
        }
        if (job.giveUp && (stoppedBecause = job.giveUp()))
            break;
        curl().multiPoll(multi, nullptr, 0, PollSliceMs, nullptr);
    }
    curl().multiRemoveHandle(multi, easy.get());

    if (stoppedBecause) {
        reply.error = stoppedBecause;
        return reply;
    }
    curl().easyGetinfo(easy.get(), CURLINFO_RESPONSE_CODE, &reply.status);
    reply.ok = *result == CURLE_OK;
    if (!reply.ok) {
        long sentBytes = 0;
        curl().easyGetinfo(easy.get(), CURLINFO_REQUEST_SIZE, &sentBytes);
        reply.error = failureText(*result, sentBytes > 0, reply.status);
    }
    return reply;
}

} // namespace Network
