#pragma once
#include "util/ExceptionBase.h"

namespace Network {

// A request that could not be handed to the network, e.g. "Request already
// pending." while another is in flight.
class HttpError : public Exception::Base {
public:
    using Base::Base;
};

} // namespace Network
