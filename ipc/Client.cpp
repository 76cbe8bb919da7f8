#include "ipc/Client.h"

#include <utility>

namespace IPC {

Client::Client(std::shared_ptr<Context> context, Endpoints endpoints)
    : SocketPair(std::move(context), std::move(endpoints))
{
    Platform::ScopedLock lock(socketLock());
    connectSockets();
}

Client::~Client() = default;

void Client::reconnect()
{
    Platform::ScopedLock lock(socketLock());
    connectSockets();
    abandonRequest();
}

} // namespace IPC
