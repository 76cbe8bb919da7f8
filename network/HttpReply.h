#pragma once
#include "util/Text.h"

namespace Network {

// How one HTTP exchange ended. The reply's body is read whole before `ok` is set.
struct HttpReply {
    bool ok = false;
    long status = 0;   // the reply's status code; 0 when no reply line came
    Util::String body;
    Util::String error; // why the exchange failed; empty when ok
};

} // namespace Network
