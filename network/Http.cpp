#include "network/Http.h"

#include "network/HttpError.h"
#include "network/HttpHelper.h"
#include "platform/Clock.h"

#include <utility>

namespace Network {

Http::Http() = default;

Http::~Http() = default;

HttpHelper& Http::helper()
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (!helper_)
        helper_ = std::make_unique<HttpHelper>();
    return *helper_;
}

bool Http::pending() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return helper_ && helper_->busy();
}

void Http::post(const Util::String& url, const Util::String& body, uint32_t timeoutMs, Completion done)
{
    const uint32_t postedAt = Platform::tickCount();
    auto timedOut = [postedAt, timeoutMs]() -> const char* {
        return Platform::tickCount() - postedAt >= timeoutMs ? TimeoutText : nullptr;
    };
    if (!helper().start(url, body, std::move(timedOut), std::move(done)))
        throw HttpError(PendingText, __FILE__, __LINE__);
}

} // namespace Network
