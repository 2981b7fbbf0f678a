// The message-tracing bridge: forwarding, one-time loading and its log lines, each case in a process of its own.
#include "InspectiveCBridge.h"

#include <Foundation/Foundation.h>
#include <device/device.h>

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <barrier>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr const char* kLibrary = "/usr/lib/libinspectivec.dylib";

// Counts how often the tracing library's device path is resolved: once per loading attempt.
std::atomic<int> gLibraryResolutions{0};
void countResolution(std::string_view devicePath) {
    if (devicePath == kLibrary) ++gLibraryResolutions;
}

// What a child process saw, sent back to the test as text.
struct Report {
    std::vector<std::string> log;    // NSLog messages, in order
    std::vector<std::string> calls;  // calls the tracing library received, in order
    int resolutions = 0;
    std::string notes;               // anything else the case checks inside the child
};

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

class Bridge : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "bridge-XXXXXX").string();
        root_ = ::mkdtemp(pattern.data());
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }

    void install(const char* library) {
        fs::create_directories(root_ / "usr/lib");
        fs::copy_file(library, root_ / "usr/lib/libinspectivec.dylib", fs::copy_options::overwrite_existing);
    }

    // Runs `body` in a new process on this test's device, with the bridge untouched so far,
    // and returns what it logged, what the tracing library received and what it noted.
    Report run(const std::function<std::string()>& body) {
        int channel[2];
        EXPECT_EQ(::pipe(channel), 0);
        pid_t child = ::fork();
        if (child == 0) {
            ::close(channel[0]);
            std::string text;
            {
                objc::AutoreleasePool pool;
                device::setRoot(root_);
                device::setResolveObserver(countResolution);
                std::vector<std::string> log;
                std::mutex logLock;
                platform::setLogObserver([&](const std::string& message) {
                    std::lock_guard lock(logLock);
                    log.push_back(message);
                });
                std::string notes = body();
                int resolutions = gLibraryResolutions.load();
                platform::setLogObserver({});
                std::string calls;
                // The bridge has loaded the library already when it could; this finds the same one.
                if (void* handle = device::dlopen(kLibrary, RTLD_NOW | RTLD_NOLOAD))
                    if (auto read = reinterpret_cast<const char* (*)()>(device::dlsym(handle, "tracingCalls"))) calls = read();
                std::ostringstream out;
                out << log.size() << '\n';
                for (auto& line : log) out << line << '\n';
                out << resolutions << '\n' << notes << "\n--\n" << calls;
                text = out.str();
            }
            ssize_t written = ::write(channel[1], text.data(), text.size());
            ::_exit(written == static_cast<ssize_t>(text.size()) ? 0 : 1);
        }
        ::close(channel[1]);
        std::string text;
        char buffer[4096];
        for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(n));
        ::close(channel[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the child process failed";

        Report report;
        auto all = lines(text);
        std::size_t i = 0;
        std::size_t logged = i < all.size() ? std::stoul(all[i++]) : 0;
        for (std::size_t k = 0; k < logged && i < all.size(); ++k) report.log.push_back(all[i++]);
        if (i < all.size()) report.resolutions = std::stoi(all[i++]);
        for (; i < all.size() && all[i] != "--"; ++i) report.notes += all[i];
        for (++i; i < all.size(); ++i) report.calls.push_back(all[i]);
        return report;
    }

    fs::path root_;
};

const std::string kMissingLibrary = "[InspectiveC Wrapper] Unable to load libinspectivec! Error: ";
const std::string kMissingFunction = "[InspectiveC Wrapper] Unable to load function ";

TEST_F(Bridge, EveryExportForwardsItsArgumentsToItsFunction) {
    install(TRACING_FULL);
    Report report = run([] {
        objc::AutoreleasePool pool;
        id string = objc::str("watched");
        Class cls = NSString::class_();
        setMaximumRelativeLoggingDepth(-3);
        watchObject(string);
        unwatchObject(string);
        watchSelectorOnObject(string, sel<"length">());
        unwatchSelectorOnObject(string, sel<"length">());
        watchClass(cls);
        unwatchClass(cls);
        watchSelectorOnClass(cls, sel<"hash">());
        unwatchSelectorOnClass(cls, sel<"hash">());
        watchSelector(sel<"description">());
        unwatchSelector(sel<"description">());
        enableLogging();
        disableLogging();
        enableCompleteLogging();
        disableCompleteLogging();
        flushLogFile();
        // The bridge's own reference is gone after each call.
        return "count after " + std::to_string(objc_retainCount(string));
    });
    EXPECT_TRUE(report.log.empty());
    EXPECT_EQ(report.resolutions, 1);
    EXPECT_EQ(report.notes, "count after 1");
    // Objects are held one more time for the duration of the call.
    EXPECT_EQ(report.calls, (std::vector<std::string>{
                                "InspectiveC_setMaximumRelativeLoggingDepth(-3)",
                                "InspectiveC_watchObject(NSString count 2)",
                                "InspectiveC_unwatchObject(NSString count 2)",
                                "InspectiveC_watchSelectorOnObject(NSString count 2, length)",
                                "InspectiveC_unwatchSelectorOnObject(NSString count 2, length)",
                                "InspectiveC_watchInstancesOfClass(NSString)",
                                "InspectiveC_unwatchInstancesOfClass(NSString)",
                                "InspectiveC_watchSelectorOnInstancesOfClass(NSString, hash)",
                                "InspectiveC_unwatchSelectorOnInstancesOfClass(NSString, hash)",
                                "InspectiveC_watchSelector(description)",
                                "InspectiveC_unwatchSelector(description)",
                                "InspectiveC_enableLogging()",
                                "InspectiveC_disableLogging()",
                                "InspectiveC_enableCompleteLogging()",
                                "InspectiveC_disableCompleteLogging()",
                                "InspectiveC_flushLogFile()",
                            }));
}

TEST_F(Bridge, MissingLibraryLogsOnceAndIsNeverRetried) {
    Report report = run([this] {
        flushLogFile();
        flushLogFile();
        // Installed later, the library is not picked up until the process restarts.
        install(TRACING_FULL);
        watchObject(NSSTR("x"));
        enableLogging();
        return std::string();
    });
    ASSERT_EQ(report.log.size(), 1u);
    EXPECT_EQ(report.log[0].substr(0, kMissingLibrary.size()), kMissingLibrary);
    EXPECT_NE(report.log[0].find(kLibrary), std::string::npos) << "the loader's reason follows: " << report.log[0];
    EXPECT_EQ(report.resolutions, 1);
    EXPECT_TRUE(report.calls.empty());
}

TEST_F(Bridge, MissingFunctionLogsItsNameAndOnlyThatExportIsSilent) {
    install(TRACING_PARTIAL);
    Report report = run([] {
        objc::AutoreleasePool pool;
        watchSelector(sel<"description">());
        watchObject(objc::str("x"));
        unwatchSelector(sel<"description">());
        watchSelector(sel<"layoutSubviews">());
        return std::string();
    });
    ASSERT_EQ(report.log.size(), 1u);
    std::string expected = kMissingFunction + "InspectiveC_watchSelector! Error: ";
    EXPECT_EQ(report.log[0].substr(0, expected.size()), expected);
    EXPECT_NE(report.log[0].find("undefined symbol: InspectiveC_watchSelector"), std::string::npos) << report.log[0];
    EXPECT_EQ(report.calls, (std::vector<std::string>{"InspectiveC_watchObject(NSString count 2)", "InspectiveC_unwatchSelector(description)"}));
}

TEST_F(Bridge, ConcurrentFirstCallsShareOneLoading) {
    auto callFromEightThreads = [] {
        std::barrier start(8);
        std::vector<std::thread> threads;
        for (int i = 0; i < 8; ++i)
            threads.emplace_back([&start, i] {
                start.arrive_and_wait();
                setMaximumRelativeLoggingDepth(i);
            });
        for (auto& t : threads) t.join();
        return std::string();
    };
    Report missing = run(callFromEightThreads);
    EXPECT_EQ(missing.log.size(), 1u);
    EXPECT_EQ(missing.resolutions, 1);

    install(TRACING_FULL);
    Report present = run(callFromEightThreads);
    EXPECT_TRUE(present.log.empty());
    EXPECT_EQ(present.resolutions, 1);
    EXPECT_EQ(present.calls.size(), 8u);
}

// The deliverables are loaded as a caller outside them would, and must show all sixteen.
TEST_F(Bridge, DeliverablesExportTheSixteenFunctions) {
    std::vector<std::string> libraries;
#ifdef TWEAK_LIBRARY
    libraries.push_back(TWEAK_LIBRARY);
#endif
#ifdef SETTINGS_LIBRARY
    libraries.push_back(SETTINGS_LIBRARY);
#endif
    if (libraries.empty()) GTEST_SKIP() << "no deliverable is built";
    for (const auto& library : libraries) {
        Report report = run([&library] {
            void* handle = ::dlopen(library.c_str(), RTLD_LAZY | RTLD_LOCAL);
            if (!handle) return std::string("cannot open: ") + ::dlerror();
            std::string missing;
            for (const char* name : {"setMaximumRelativeLoggingDepth", "watchObject", "unwatchObject", "watchSelectorOnObject",
                                     "unwatchSelectorOnObject", "watchClass", "unwatchClass", "watchSelectorOnClass", "unwatchSelectorOnClass",
                                     "watchSelector", "unwatchSelector", "enableLogging", "disableLogging", "enableCompleteLogging",
                                     "disableCompleteLogging", "flushLogFile"})
                if (!::dlsym(handle, name)) missing += std::string(" ") + name;
            return missing.empty() ? std::string("all exported") : "missing:" + missing;
        });
        EXPECT_EQ(report.notes, "all exported") << library;
    }
}

}  // namespace
