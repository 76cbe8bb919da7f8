#include "support/HttpTestServer.h"

#include <json/json.h>

#include <memory>
#include <stdexcept>

namespace TestSupport {

namespace {
std::optional<HttpTestServer::Request> parsed(const std::string& line)
{
    Json::Value json;
    std::string errors;
    const std::unique_ptr<Json::CharReader> reader(Json::CharReaderBuilder().newCharReader());
    if (!reader->parse(line.data(), line.data() + line.size(), &json, &errors) || !json.isObject())
        return std::nullopt;
    HttpTestServer::Request request{json["method"].asString(), json["path"].asString(), json["version"].asString(),
                                    {}, json["body"].asString()};
    for (const auto& name : json["headers"].getMemberNames())
        request.headers[name] = json["headers"][name].asString();
    return request;
}
} // namespace

HttpTestServer::HttpTestServer()
    : process_({"/usr/bin/python3", RELAY_SOURCE_DIR "/tests/support/http_test_server.py"})
{
    const std::string ready = process_.expect("READY port=");
    if (ready.empty())
        throw std::runtime_error("the HTTP test server did not start");
    url_ = "http://127.0.0.1:" + ready.substr(ready.find('=') + 1) + "/collect";
}

bool HttpTestServer::readOne(std::chrono::milliseconds limit)
{
    const auto line = process_.nextLine(limit);
    if (!line)
        return false;
    if (line->rfind("OK ", 0) == 0)
        acknowledgements_.push_back(line->substr(3));
    else if (auto request = parsed(*line))
        requests_.push_back(std::move(*request));
    return true;
}

void HttpTestServer::acknowledged(const std::string& command)
{
    while (acknowledgements_.empty() || acknowledgements_.front() != command)
        if (!readOne(std::chrono::seconds(10)))
            throw std::runtime_error("the HTTP test server did not take: " + command);
    acknowledgements_.pop_front();
}

void HttpTestServer::setMode(const std::string& mode)
{
    process_.command("mode " + mode);
    acknowledged("mode " + mode);
}

void HttpTestServer::release()
{
    process_.command("release");
    acknowledged("release");
}

std::optional<HttpTestServer::Request> HttpTestServer::nextRequest(std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (requests_.empty()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !readOne(left))
            return std::nullopt;
    }
    Request request = std::move(requests_.front());
    requests_.pop_front();
    return request;
}

} // namespace TestSupport
