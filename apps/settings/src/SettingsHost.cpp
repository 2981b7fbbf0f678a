// The Settings host over HTTP: pages and their API on the loopback address, each write checked before it reaches a controller.
#include <settings/SettingsHost.h>

#include "PageHtml.h"

#include <Foundation/Foundation.h>

#include <httplib.h>

#include <algorithm>
#include <cctype>
#include <mutex>
#include <random>

namespace settings {

namespace {

constexpr const char* kTokenHeader = "X-Obscuro-Token";

void replyJson(httplib::Response& response, int status, const nlohmann::json& body) {
    response.status = status;
    response.set_header("Cache-Control", "no-store");
    response.set_content(body.dump(), "application/json");
}

void refuse(httplib::Response& response, int status, const std::string& message) { replyJson(response, status, {{"error", message}}); }

// Compares without stopping at the first difference, so that timing tells nothing about the token.
bool sameToken(const std::string& given, const std::string& token) {
    if (given.size() != token.size()) return false;
    unsigned char difference = 0;
    for (std::size_t i = 0; i < token.size(); ++i) difference |= static_cast<unsigned char>(given[i] ^ token[i]);
    return difference == 0;
}

std::string lowercase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

}  // namespace

struct SettingsHost::Server {
    std::unique_ptr<SettingsSession> session;
    std::mutex lock;  // the controllers see one caller at a time, as on the Settings app's main thread
    httplib::Server http;
    int port = -1;

    bool hostAllowed(const httplib::Request& request) const {
        std::string host = lowercase(request.get_header_value("Host"));
        std::string suffix = ":" + std::to_string(port);
        return host == "127.0.0.1" + suffix || host == "localhost" + suffix;
    }

    const Page* pageOf(const httplib::Request& request) const { return session->page(request.matches[1], request.matches[2]); }

    // Parses a POST's JSON object body after the checks every write shares; nullopt after replying.
    std::optional<nlohmann::json> writeRequest(const httplib::Request& request, httplib::Response& response, const std::string& token) {
        if (!sameToken(request.get_header_value(kTokenHeader), token)) {
            refuse(response, 403, "this request does not carry the page's session token; reload the page");
            return std::nullopt;
        }
        auto body = nlohmann::json::parse(request.body, nullptr, false);
        if (!body.is_object()) {
            refuse(response, 400, "the request body is not a JSON object");
            return std::nullopt;
        }
        return body;
    }
};

SettingsHost::SettingsHost(std::unique_ptr<SettingsSession> session, std::string token)
    : server_(std::make_unique<Server>()), token_(std::move(token)) {
    server_->session = std::move(session);
    Server& s = *server_;
    s.http.set_payload_max_length(kMaximumBody);
    s.http.set_pre_routing_handler([&s](const httplib::Request& request, httplib::Response& response) {
        if (s.hostAllowed(request)) return httplib::Server::HandlerResponse::Unhandled;
        refuse(response, 403, "the host answers only requests addressed to 127.0.0.1:" + std::to_string(s.port));
        return httplib::Server::HandlerResponse::Handled;
    });
    s.http.set_error_handler([](const httplib::Request&, httplib::Response& response) {
        if (!response.body.empty()) return;
        if (response.status == 413) refuse(response, 413, "the request body is larger than " + std::to_string(kMaximumBody) + " bytes");
        else refuse(response, response.status, "HTTP " + std::to_string(response.status));
    });

    s.http.Get("/", [&s](const httplib::Request&, httplib::Response& response) {
        std::lock_guard lock(s.lock);
        response.set_content(renderIndex(s.session->pages()), "text/html; charset=utf-8");
    });
    s.http.Get(R"(/pages/([^/]+)/([^/]+))", [this, &s](const httplib::Request& request, httplib::Response& response) {
        std::lock_guard lock(s.lock);
        const Page* page = s.pageOf(request);
        if (!page) return refuse(response, 404, "no such page");
        objc::AutoreleasePool pool;
        std::string title = objc::utf8(msg<id>(page->controller.get(), sel<"title">()));
        response.set_header("Cache-Control", "no-store");
        response.set_content(renderPage(*page, title.empty() ? page->name : title, s.session->describe(*page, true), token_),
                             "text/html; charset=utf-8");
    });
    s.http.Get(R"(/api/pages/([^/]+)/([^/]+))", [&s](const httplib::Request& request, httplib::Response& response) {
        std::lock_guard lock(s.lock);
        const Page* page = s.pageOf(request);
        if (!page) return refuse(response, 404, "no such page");
        replyJson(response, 200, s.session->describe(*page, true));
    });
    s.http.Post(R"(/api/pages/([^/]+)/([^/]+)/set)", [this, &s](const httplib::Request& request, httplib::Response& response) {
        std::lock_guard lock(s.lock);
        const Page* page = s.pageOf(request);
        if (!page) return refuse(response, 404, "no such page");
        auto body = s.writeRequest(request, response, token_);
        if (!body) return;
        if (!(*body)["key"].is_string() || !body->contains("value")) return refuse(response, 400, "a write names a \"key\" and a \"value\"");
        std::string key = (*body)["key"].get<std::string>();
        WriteResult result = s.session->write(*page, key, (*body)["value"]);
        if (result.refusal == Refusal::notStored) return refuse(response, 500, result.message);
        if (result.refusal != Refusal::none) return refuse(response, 400, result.message);
        replyJson(response, 200, {{"key", key}, {"value", result.stored}});
    });
    s.http.Post(R"(/api/pages/([^/]+)/([^/]+)/tap)", [this, &s](const httplib::Request& request, httplib::Response& response) {
        std::lock_guard lock(s.lock);
        const Page* page = s.pageOf(request);
        if (!page) return refuse(response, 404, "no such page");
        auto body = s.writeRequest(request, response, token_);
        if (!body) return;
        if (!(*body)["label"].is_string()) return refuse(response, 400, "a tap names the button's \"label\"");
        ActionOutcome outcome;
        if (!s.session->tap(*page, (*body)["label"].get<std::string>(), {}, &outcome))
            return refuse(response, 400, "the page " + page->name + " has no button \"" + (*body)["label"].get<std::string>() + "\"");
        replyJson(response, 200, outcome.toJson());
    });
}

SettingsHost::~SettingsHost() { stop(); }

std::string SettingsHost::newToken() {
    std::random_device random;
    std::string token;
    constexpr char kDigits[] = "0123456789abcdef";
    for (int i = 0; i < 32; ++i) token += kDigits[random() % 16];
    return token;
}

int SettingsHost::bind(int port) {
    int bound = port == 0 ? server_->http.bind_to_any_port("127.0.0.1") : (server_->http.bind_to_port("127.0.0.1", port) ? port : -1);
    server_->port = bound;
    return bound;
}

void SettingsHost::run() { server_->http.listen_after_bind(); }

void SettingsHost::stop() {
    if (server_) server_->http.stop();
}

httplib::Server& SettingsHost::server() { return server_->http; }

bool SettingsHost::acceptsToken(const std::string& given) const { return sameToken(given, token_); }

std::string SettingsHost::address() const { return "http://127.0.0.1:" + std::to_string(server_->port) + "/"; }

}  // namespace settings
