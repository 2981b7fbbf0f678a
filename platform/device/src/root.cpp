// The device root and the resolution of device paths inside it, refusing every way out.
#include <device/device.h>

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace device {

namespace {

std::atomic<ResolveObserver> gResolveObserver{nullptr};

std::mutex gRootLock;
bool gRootChosen = false;
fs::path gRoot;

fs::path absoluteOrEmpty(const fs::path& folder) {
    if (folder.empty()) return {};
    std::error_code ec;
    fs::path absolute = fs::absolute(folder, ec);
    return ec ? fs::path() : absolute.lexically_normal();
}

// Splits text on '/' into components, dropping empty and "." ones.
std::vector<std::string> components(std::string_view text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('/', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view part = text.substr(start, end - start);
        if (!part.empty() && part != ".") out.emplace_back(part);
        start = end + 1;
    }
    return out;
}

// The part of `target` below `folder`, or nullopt when `target` is not inside it.
std::optional<fs::path> below(const fs::path& target, const fs::path& folder) {
    auto t = target.begin();
    for (auto f = folder.begin(); f != folder.end(); ++f, ++t) {
        if (f->empty()) continue;  // trailing separator of the folder
        if (t == target.end() || *t != *f) return std::nullopt;
    }
    fs::path rest;
    for (; t != target.end(); ++t) rest /= *t;
    return rest;
}

}  // namespace

void setRoot(const fs::path& folder) {
    std::lock_guard lock(gRootLock);
    gRoot = absoluteOrEmpty(folder);
    gRootChosen = true;
}

void setResolveObserver(ResolveObserver observer) { gResolveObserver.store(observer, std::memory_order_release); }

fs::path root() {
    std::lock_guard lock(gRootLock);
    if (!gRootChosen) {
        const char* env = std::getenv("OBSCURO_DEVICE_ROOT");
        gRoot = absoluteOrEmpty(env ? fs::path(env) : fs::path());
        gRootChosen = true;
    }
    return gRoot;
}

fs::path stagedRoot() { return OBSCURO_STAGED_DEVICE_ROOT; }

fs::path defaultRoot() {
    if (const char* chosen = std::getenv("OBSCURO_DEVICE_ROOT"); chosen && *chosen) return chosen;
    return stagedRoot();
}

// Walks the path one component at a time from the real root folder, reading each symbolic
// link itself, so that no link (nor ".." in a link's target) can carry the walk outside.
std::optional<fs::path> resolve(std::string_view devicePath, LastLink last) {
    if (devicePath.empty() || devicePath.front() != '/' || devicePath.find('\0') != std::string_view::npos) return std::nullopt;
    if (auto observer = gResolveObserver.load(std::memory_order_acquire)) observer(devicePath);
    const fs::path configured = root();
    if (configured.empty()) return std::nullopt;
    std::error_code ec;
    const fs::path realRoot = fs::canonical(configured, ec);
    if (ec) return std::nullopt;

    auto parts = components(devicePath);
    for (const auto& part : parts)
        if (part == "..") return std::nullopt;
    std::deque<std::string> pending(parts.begin(), parts.end());

    fs::path current = realRoot;
    int linksFollowed = 0;
    while (!pending.empty()) {
        std::string name = std::move(pending.front());
        pending.pop_front();
        if (name == "..") {
            if (current == realRoot) return std::nullopt;
            current = current.parent_path();
            continue;
        }
        fs::path candidate = current / name;
        struct stat st;
        if (::lstat(candidate.c_str(), &st) != 0) {
            // Nothing below a missing component exists, so no link can be met any more.
            current = std::move(candidate);
            for (auto& rest : pending) {
                if (rest == "..") return std::nullopt;
                current /= rest;
            }
            return current;
        }
        bool isLast = pending.empty();
        if (!S_ISLNK(st.st_mode) || (isLast && last == LastLink::keep)) {
            current = std::move(candidate);
            continue;
        }
        if (++linksFollowed > 40) return std::nullopt;  // a loop of links, as ELOOP
        std::string target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : PATH_MAX), '\0');
        ssize_t n = ::readlink(candidate.c_str(), target.data(), target.size());
        if (n < 0) return std::nullopt;
        target.resize(static_cast<std::size_t>(n));
        std::vector<std::string> targetParts;
        if (!target.empty() && target.front() == '/') {
            // A host path: allowed only when it names a place inside the root.
            fs::path normal = fs::path(target).lexically_normal();
            auto inside = below(normal, realRoot);
            if (!inside) inside = below(normal, configured);
            if (!inside) return std::nullopt;
            current = realRoot;
            targetParts = components(inside->string());
        } else {
            targetParts = components(target);
        }
        pending.insert(pending.begin(), targetParts.begin(), targetParts.end());
    }
    return current;
}

}  // namespace device
