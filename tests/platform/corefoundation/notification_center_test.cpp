// The Darwin notification centre: delivery across processes on the observer's run loop, coalescing, dead observers.
#include <CoreFoundation/CoreFoundation.h>
#include <device/device.h>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

// One device for this whole process: the centre listens in the folder of the device on
// which it first observed. The root is deep on purpose: its socket paths do not fit a socket
// address, as happens with device roots inside build trees.
const fs::path& deviceRoot() {
    // Never destroyed, so that the exit handler below can still read it.
    static const fs::path* root = new fs::path([] {
        std::string pattern = (fs::temp_directory_path() / "cf-device-XXXXXX").string();
        fs::path folder = fs::path(mkdtemp(pattern.data())) / std::string(100, 'd');
        fs::create_directories(folder);
        device::setRoot(folder);
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(deviceRoot().parent_path(), ignored);
        });
        return folder;
    }());
    return *root;
}

fs::path registry() { return deviceRoot() / "var/run/notifyd"; }

CFNotificationCenterRef darwin() { return CFNotificationCenterGetDarwinNotifyCenter(); }

CFStringRef name(const std::string& text) { return CFStringCreateWithCString(nullptr, text.c_str(), kCFStringEncodingUTF8); }

void post(const std::string& text) { CFNotificationCenterPostNotification(darwin(), name(text), nullptr, nullptr, true); }

// Turns the main run loop until `done` holds or two seconds pass.
template <class Done>
bool runMainLoopUntil(Done done) {
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!done() && std::chrono::steady_clock::now() < until) CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.05, true);
    return done();
}

// The observer program in a child process, talked to through its standard input and output.
class ObserverProcess {
public:
    ObserverProcess(const std::string& observed, const std::string& mode) {
        int in[2], out[2];
        EXPECT_EQ(pipe2(in, O_CLOEXEC), 0);
        EXPECT_EQ(pipe2(out, O_CLOEXEC), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        std::string root = deviceRoot().string();
        std::vector<char*> argv{const_cast<char*>(NOTIFICATION_OBSERVER), root.data(), const_cast<char*>(observed.c_str()),
                                const_cast<char*>(mode.c_str()), nullptr};
        EXPECT_EQ(posix_spawn(&pid_, NOTIFICATION_OBSERVER, &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        close(in[0]);
        close(out[1]);
        toChild_ = in[1];
        fromChild_ = out[0];
    }
    ~ObserverProcess() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        close(toChild_);
        close(fromChild_);
    }

    pid_t pid() const { return pid_; }

    // The next line the observer prints, or "" when it prints none within five seconds.
    std::string readLine() {
        std::string line;
        char c;
        while (true) {
            pollfd readable{fromChild_, POLLIN, 0};
            if (poll(&readable, 1, 5000) <= 0 || read(fromChild_, &c, 1) != 1) return "";
            if (c == '\n') return line;
            line += c;
        }
    }
    void writeLine(const std::string& line) { EXPECT_EQ(write(toChild_, (line + "\n").data(), line.size() + 1), ssize_t(line.size() + 1)); }

    int exitStatus() {
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return status;
    }
    void killNow() {
        kill(pid_, SIGKILL);
        exitStatus();
    }

private:
    pid_t pid_ = -1;
    int toChild_ = -1, fromChild_ = -1;
};

struct Received {
    int calls = 0;
    CFNotificationCenterRef center = nullptr;
    CFStringRef name = nullptr;
    const void* object = reinterpret_cast<const void*>(1);
    CFDictionaryRef userInfo = reinterpret_cast<CFDictionaryRef>(1);
};

void record(CFNotificationCenterRef center, void* observer, CFStringRef name, const void* object, CFDictionaryRef userInfo) {
    auto* received = static_cast<Received*>(observer);
    ++received->calls;
    received->center = center;
    received->name = name;
    received->object = object;
    received->userInfo = userInfo;
}

class DarwinNotifications : public ::testing::Test {
protected:
    void SetUp() override { deviceRoot(); }
};

TEST_F(DarwinNotifications, PostReachesAnObserverInAnotherProcessWithTheCallbackArguments) {
    ObserverProcess observer("com.test.cross/changed", "once");
    ASSERT_EQ(observer.readLine(), "ready");
    post("com.test.cross/changed");
    EXPECT_EQ(observer.readLine(), "callback name=com.test.cross/changed center=darwin observer=token object=nil userInfo=nil");
    EXPECT_EQ(observer.exitStatus(), 0);
}

TEST_F(DarwinNotifications, SeveralPostsBeforeTheObserversLoopRunsGiveOneCallback) {
    ObserverProcess observer("com.test.coalesce", "count");
    ASSERT_EQ(observer.readLine(), "ready");
    for (int i = 0; i < 3; ++i) post("com.test.coalesce");
    post("com.test.someone-else");
    observer.writeLine("go");
    EXPECT_EQ(observer.readLine(), "callbacks 1");
}

TEST_F(DarwinNotifications, ADeadObserversRegistrationIsRemovedByTheNextPost) {
    ObserverProcess observer("com.test.dead", "idle");
    ASSERT_EQ(observer.readLine(), "ready");
    fs::path names = registry() / (std::to_string(observer.pid()) + ".names");
    fs::path socket = registry() / (std::to_string(observer.pid()) + ".sock");
    ASSERT_TRUE(fs::exists(names));
    observer.killNow();

    post("com.test.unrelated");
    EXPECT_TRUE(fs::exists(names)) << "only a post the dead process observed finds out it is dead";
    post("com.test.dead");
    EXPECT_FALSE(fs::exists(names));
    EXPECT_FALSE(fs::exists(socket));
}

TEST_F(DarwinNotifications, ObserverInThisProcessIsCalledOnTheMainRunLoopNotInsidePost) {
    Received received;
    CFStringRef observed = CFSTR("com.test.local");
    CFNotificationCenterAddObserver(darwin(), &received, record, observed, nullptr, CFNotificationSuspensionBehaviorCoalesce);
    post("com.test.local");
    EXPECT_EQ(received.calls, 0);
    EXPECT_TRUE(runMainLoopUntil([&] { return received.calls > 0; }));
    EXPECT_EQ(received.calls, 1);
    EXPECT_EQ(received.center, darwin());
    EXPECT_EQ(received.name, observed) << "names are interned, so the handle is the one observed";
    EXPECT_EQ(received.object, nullptr);
    EXPECT_EQ(received.userInfo, nullptr);
    CFNotificationCenterRemoveEveryObserver(darwin(), &received);
}

TEST_F(DarwinNotifications, OnlyCoalescingObserversMergePosts) {
    Received coalescing, everyPost;
    CFNotificationCenterAddObserver(darwin(), &coalescing, record, CFSTR("com.test.burst"), nullptr, CFNotificationSuspensionBehaviorCoalesce);
    CFNotificationCenterAddObserver(darwin(), &everyPost, record, CFSTR("com.test.burst"), nullptr,
                                    CFNotificationSuspensionBehaviorDeliverImmediately);
    // Registering the same observer and callback again must not double its calls.
    CFNotificationCenterAddObserver(darwin(), &coalescing, record, CFSTR("com.test.burst"), nullptr, CFNotificationSuspensionBehaviorCoalesce);
    for (int i = 0; i < 3; ++i) post("com.test.burst");
    EXPECT_TRUE(runMainLoopUntil([&] { return everyPost.calls == 3; }));
    EXPECT_EQ(coalescing.calls, 1);
    CFNotificationCenterRemoveEveryObserver(darwin(), &coalescing);
    CFNotificationCenterRemoveEveryObserver(darwin(), &everyPost);
}

TEST_F(DarwinNotifications, RemovedObserversAreNotCalled) {
    Received removed, kept;
    CFNotificationCenterAddObserver(darwin(), &removed, record, CFSTR("com.test.removal"), nullptr, CFNotificationSuspensionBehaviorCoalesce);
    CFNotificationCenterAddObserver(darwin(), &kept, record, CFSTR("com.test.removal"), nullptr, CFNotificationSuspensionBehaviorCoalesce);
    CFNotificationCenterRemoveObserver(darwin(), &removed, CFSTR("com.test.removal"), nullptr);
    post("com.test.removal");
    EXPECT_TRUE(runMainLoopUntil([&] { return kept.calls == 1; }));
    EXPECT_EQ(removed.calls, 0);
    CFNotificationCenterRemoveEveryObserver(darwin(), &kept);
}

TEST_F(DarwinNotifications, PostingWithNoObserverAnywhereDoesNothing) {
    fs::path previous = device::root();
    std::string pattern = (fs::temp_directory_path() / "cf-empty-XXXXXX").string();
    fs::path empty = mkdtemp(pattern.data());
    device::setRoot(empty);
    post("com.test.nobody");
    EXPECT_TRUE(fs::is_empty(empty)) << "a post leaves no trace on a device where nobody observes";
    device::setRoot(previous);
    fs::remove_all(empty);
}

TEST_F(DarwinNotifications, NamesThatCannotTravelRegisterNothing) {
    Received received;
    CFNotificationCenterAddObserver(darwin(), &received, record, nullptr, nullptr, CFNotificationSuspensionBehaviorCoalesce);
    CFNotificationCenterAddObserver(darwin(), &received, record, CFSTR("two\nlines"), nullptr, CFNotificationSuspensionBehaviorCoalesce);
    CFNotificationCenterAddObserver(darwin(), &received, record, CFSTR(""), nullptr, CFNotificationSuspensionBehaviorCoalesce);
    CFNotificationCenterAddObserver(darwin(), &received, nullptr, CFSTR("com.test.nil-callback"), nullptr,
                                    CFNotificationSuspensionBehaviorCoalesce);
    CFNotificationCenterPostNotification(darwin(), CFSTR("two\nlines"), nullptr, nullptr, true);
    CFNotificationCenterPostNotification(darwin(), nullptr, nullptr, nullptr, true);
    CFNotificationCenterPostNotification(nullptr, CFSTR("com.test.nil-callback"), nullptr, nullptr, true);
    CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.05, false);
    EXPECT_EQ(received.calls, 0);
}

}  // namespace
