// NSLog: a dated, process-stamped line on standard error, and the process-wide log observer.
#include <Foundation/NSLog.h>
#include <Foundation/NSProcessInfo.h>

#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <memory>
#include <mutex>

namespace {

using Observer = std::function<void(const std::string&)>;

std::mutex gObserverLock;
std::shared_ptr<const Observer> gObserver;

void writeAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

}  // namespace

namespace platform {

void setLogObserver(std::function<void(const std::string& message)> observer) {
    auto shared = observer ? std::make_shared<const Observer>(std::move(observer)) : nullptr;
    std::lock_guard lock(gObserverLock);
    gObserver = std::move(shared);
}

}  // namespace platform

namespace objc::detail {

void logMessage(const std::string& message) {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    char stamp[64];
    std::size_t n = std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
    std::snprintf(stamp + n, sizeof stamp - n, ".%03ld", now.tv_nsec / 1000000);

    std::string line = std::string(stamp) + " " + platform::processName() + "[" + std::to_string(::getpid()) + ":" +
                       std::to_string(static_cast<long>(::syscall(SYS_gettid))) + "] " + message;
    if (line.empty() || line.back() != '\n') line += '\n';
    writeAll(STDERR_FILENO, line);  // one write, so that lines of different threads do not interleave

    std::shared_ptr<const Observer> observer;
    {
        std::lock_guard lock(gObserverLock);
        observer = gObserver;
    }
    // Called outside the lock: an observer may itself log or replace the observer.
    if (observer) (*observer)(message);
}

}  // namespace objc::detail
