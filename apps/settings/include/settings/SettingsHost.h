// The Settings host: the preference bundles' pages served as a local web page, with writes guarded by a per-session token.
#pragma once

#include <settings/SettingsSession.h>

#include <memory>
#include <string>

namespace httplib {
class Server;
}

namespace settings {

// Serves every page of a SettingsSession on 127.0.0.1 only:
//   GET  /                                   the bundles and their pages
//   GET  /pages/BUNDLE/PAGE                  a page: groups and footers, switches, list pickers,
//                                            colour cells, text fields, buttons, links to sub-pages
//   GET  /api/pages/BUNDLE/PAGE              the page's rows with their values, as JSON
//   POST /api/pages/BUNDLE/PAGE/set          {"key": K, "value": V}   → {"key", "value"} as stored
//   POST /api/pages/BUNDLE/PAGE/tap          {"label": L}             → {"opened", "spawned"}
// Every POST must carry the session's token in the X-Obscuro-Token header (the page holds it,
// a page of another site cannot read it). Refused with {"error": …} and the settings file
// untouched: no or a wrong token (403), a Host header other than this address (403: a
// renamed site cannot reach the host through the browser), a key no row of that page declares
// or a value of the wrong type (400), a body over the limit (413).
class SettingsHost {
public:
    static constexpr std::size_t kMaximumBody = 16 * 1024;

    SettingsHost(std::unique_ptr<SettingsSession> session, std::string token);
    ~SettingsHost();
    SettingsHost(const SettingsHost&) = delete;
    SettingsHost& operator=(const SettingsHost&) = delete;

    // A token of 128 random bits, in hexadecimal.
    static std::string newToken();

    // Binds 127.0.0.1:`port` (0: any free port). Returns the port, or -1 when it cannot bind.
    int bind(int port);
    // Serves until stop(); call after bind, on any thread.
    void run();
    void stop();

    const std::string& token() const { return token_; }
    // The HTTP server, for a host that embeds this one and serves pages of its own beside the
    // settings pages: add routes (and change timeouts) before run(). Its requests pass the same
    // Host check; a route of its own that acts should check X-Obscuro-Token with acceptsToken.
    httplib::Server& server();
    // Whether `given` is this session's token (compared in constant time).
    bool acceptsToken(const std::string& given) const;
    // "http://127.0.0.1:PORT/" once bound.
    std::string address() const;

private:
    struct Server;
    std::unique_ptr<Server> server_;
    std::string token_;
};

}  // namespace settings
