// Libraries attach their classes and categories as they load, once each; of two carrying one category, the last loaded wins.
#include <device/device.h>
#include <objc/NSObject.h>
#include <objc/category.h>
#include <objc/invoke.h>

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

Class categoryTarget() {
    static Class cls = [] {
        Class c = objc_allocateClassPair(NSObject::class_(), "CategoryTarget", 0);
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}

// The fixture libraries, copied into a device of their own; the device stays the process's,
// since the libraries stay loaded.
class FixtureDevice : public testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string pattern = (fs::temp_directory_path() / "objc-images-XXXXXX").string();
        root_ = mkdtemp(pattern.data());
        fs::create_directories(root_ / "usr/lib");
        fs::copy_file(CATEGORY_LIBRARY_1, root_ / "usr/lib/first.dylib");
        fs::copy_file(CATEGORY_LIBRARY_2, root_ / "usr/lib/second.dylib");
        fs::copy_file(PLAIN_LIBRARY, root_ / "usr/lib/plain.dylib");
        device::setRoot(root_);
    }
    static void TearDownTestSuite() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    static long answerOf(id object) { return msg<long>(object, sel<"answer">()); }
    static inline fs::path root_;
};

TEST_F(FixtureDevice, CategoriesAttachAsTheLibraryLoadsAndTheLastLoadedWins) {
    objc::AutoreleasePool pool;
    auto target = objc::adopt(class_createInstance(categoryTarget()));
    EXPECT_FALSE(class_respondsToSelector(categoryTarget(), sel<"answer">()));

    void* first = device::dlopen("/usr/lib/first.dylib", RTLD_NOW);
    ASSERT_NE(first, nullptr) << device::dlerror();
    EXPECT_EQ(answerOf(target.get()), 1);
    EXPECT_EQ(msg<long>(categoryTarget(), sel<"classAnswer">()), 10);
    EXPECT_EQ(std::get<long long>(objc::invoke(target.get(), sel<"answer">(), {})), 1) << "attached methods are sendable from data";

    void* second = device::dlopen("/usr/lib/second.dylib", RTLD_NOW);
    ASSERT_NE(second, nullptr) << device::dlerror();
    EXPECT_EQ(answerOf(target.get()), 2) << "the library loaded last wins, even over a cached lookup";
    EXPECT_EQ(msg<long>(categoryTarget(), sel<"classAnswer">()), 20);

    // Opening a loaded library again hands back the same image, which is not attached again.
    EXPECT_EQ(device::dlopen("/usr/lib/first.dylib", RTLD_NOW), first);
    EXPECT_EQ(answerOf(target.get()), 2);
    EXPECT_EQ(objc_getClass("NoSuchClassAnywhere"), nullptr) << "a category of a missing class is skipped";
}

TEST_F(FixtureDevice, AClassOfTheLibraryIsRegisteredOnceWithItsIvars) {
    ASSERT_NE(device::dlopen("/usr/lib/first.dylib", RTLD_NOW), nullptr);
    ASSERT_NE(device::dlopen("/usr/lib/second.dylib", RTLD_NOW), nullptr);
    Class cls = objc_getClass("LibraryObject");
    ASSERT_NE(cls, nullptr);
    EXPECT_EQ(class_getSuperclass(cls), NSObject::class_());
    EXPECT_NE(class_getInstanceVariable(cls, "_payload"), nullptr);
    auto object = objc::adopt(msg<id>(cls, sel<"new">()));
    EXPECT_EQ(msg<long>(object.get(), sel<"libraryAnswer">()), 2) << "the second library's methods replaced the first's";
}

TEST_F(FixtureDevice, ALibraryWithoutAListLoadsAndLeavesNoError) {
    void* plain = device::dlopen("/usr/lib/plain.dylib", RTLD_NOW);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(device::dlerror(), nullptr);
    EXPECT_EQ(device::dlopen("/usr/lib/missing.dylib", RTLD_NOW), nullptr);
    EXPECT_NE(device::dlerror(), nullptr) << "a failed open still reports its error";
}

// The entry for a class registered by its own code first and by the loader later.
struct ReadTwice : NSObject {};
long readTwiceValue(id) { return 5; }
constexpr objc_method_entry kReadTwiceMethods[] = {objc::instanceFunction<"value", &readTwiceValue>()};
constinit const objc_class_entry kReadTwice{"ReadTwiceObject", "NSObject", sizeof(ReadTwice), alignof(ReadTwice),
                                            [](void* memory) -> id { return new (memory) ReadTwice(); }, {}, kReadTwiceMethods, {}};
constinit const objc_class_entry kOrphan{"OrphanObject", "NoSuchSuperclass", sizeof(ReadTwice), alignof(ReadTwice),
                                         [](void* memory) -> id { return new (memory) ReadTwice(); }, {}, {}, {}};

TEST(ClassEntries, ReadingAnEntryAgainKeepsTheClassAndAMissingSuperclassRegistersNothing) {
    Class cls = objc_readClassEntry(kReadTwice);
    ASSERT_NE(cls, nullptr);
    EXPECT_EQ(objc_readClassEntry(kReadTwice), cls);
    auto object = objc::adopt(msg<id>(cls, sel<"new">()));
    EXPECT_EQ(msg<long>(object.get(), sel<"value">()), 5);

    testing::internal::CaptureStderr();
    EXPECT_EQ(objc_readClassEntry(kOrphan), nullptr);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("NoSuchSuperclass"), std::string::npos);
    EXPECT_EQ(objc_getClass("OrphanObject"), nullptr);
}

}  // namespace
