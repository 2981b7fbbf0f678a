// Adding and replacing methods through one path, refused signature changes, ivars, subclass tests and the debug lock check.
#include "owned_mutex.h"

#include <objc/NSObject.h>
#include <objc/ClassBuilder.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

long one(id, SEL) { return 1; }
long two(id, SEL) { return 2; }
double half(id, SEL) { return 0.5; }

Class freshClass(const std::string& name, Class superclass = NSObject::class_()) {
    Class cls = objc_allocateClassPair(superclass, name.c_str(), 0);
    EXPECT_NE(cls, nullptr) << name;
    return cls;
}

TEST(Methods, AddAndReplaceAnswerFromWhatTheyDid) {
    Class cls = freshClass("MethodsAddReplace");
    objc_registerClassPair(cls);
    SEL value = sel<"value">();
    EXPECT_TRUE(class_addMethod(cls, value, reinterpret_cast<IMP>(&one), "q@:"));
    EXPECT_FALSE(class_addMethod(cls, value, reinterpret_cast<IMP>(&two), "q@:")) << "the class has its own already";
    auto object = objc::adopt(class_createInstance(cls));
    EXPECT_EQ(msg<long>(object.get(), value), 1) << "a refused add changes nothing";

    EXPECT_EQ(class_replaceMethod(cls, value, reinterpret_cast<IMP>(&two), "q@:"), reinterpret_cast<IMP>(&one));
    EXPECT_EQ(msg<long>(object.get(), value), 2);
    EXPECT_EQ(class_replaceMethod(cls, sel<"other">(), reinterpret_cast<IMP>(&one), "q@:"), nullptr) << "a new method has no previous";
    EXPECT_EQ(msg<long>(object.get(), sel<"other">()), 1);
    EXPECT_FALSE(class_addMethod(cls, sel<"nothing">(), nullptr, "q@:")) << "a method without an implementation is not added";
    EXPECT_FALSE(class_respondsToSelector(cls, sel<"nothing">()));
}

TEST(Methods, AReplacementOfAnotherSignatureIsRefusedWithAMessage) {
    Class cls = freshClass("MethodsSignatures");
    objc_registerClassPair(cls);
    SEL value = sel<"value">();
    ASSERT_TRUE(class_addMethod(cls, value, reinterpret_cast<IMP>(&one), "q@:"));
    testing::internal::CaptureStderr();
    EXPECT_EQ(class_replaceMethod(cls, value, reinterpret_cast<IMP>(&half), "d@:"), nullptr);
    std::string message = testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find("-[MethodsSignatures value] not replaced"), std::string::npos) << message;
    EXPECT_NE(message.find("d@:"), std::string::npos) << message;
    auto object = objc::adopt(class_createInstance(cls));
    EXPECT_EQ(msg<long>(object.get(), value), 1) << "the method keeps its implementation and its signature";
    EXPECT_STREQ(method_getTypeEncoding(class_getInstanceMethod(cls, value)), "q@:");
    // Typed additions go through the same check.
    testing::internal::CaptureStderr();
    objc::addMethod(cls, value, [](id, SEL) { return 0.25; });
    EXPECT_NE(testing::internal::GetCapturedStderr().find("not replaced"), std::string::npos);
    EXPECT_EQ(msg<long>(object.get(), value), 1);
}

TEST(Ivars, ADuplicateNameIsRefusedEvenWhenAddedFromTwoThreadsAtOnce) {
    for (int round = 0; round < 50; ++round) {
        Class cls = freshClass("IvarRace" + std::to_string(round));
        std::atomic<int> added = 0;
        std::atomic<bool> go = false;
        std::vector<std::thread> threads;
        for (int t = 0; t < 2; ++t)
            threads.emplace_back([&] {
                while (!go.load()) std::this_thread::yield();
                added += class_addIvar(cls, "_shared", sizeof(id), alignof(id), "@");
            });
        go = true;
        for (auto& thread : threads) thread.join();
        ASSERT_EQ(added, 1) << "round " << round;
        objc_registerClassPair(cls);
    }
}

TEST(Classes, SubclassTestFollowsTheSuperclassChain) {
    Class base = freshClass("SubclassBase");
    objc_registerClassPair(base);
    Class derived = freshClass("SubclassDerived", base);
    objc_registerClassPair(derived);
    EXPECT_TRUE(class_isSubclassOfClass(derived, base));
    EXPECT_TRUE(class_isSubclassOfClass(derived, NSObject::class_()));
    EXPECT_TRUE(class_isSubclassOfClass(base, base)) << "a class counts as its own subclass";
    EXPECT_FALSE(class_isSubclassOfClass(base, derived));
    EXPECT_FALSE(class_isSubclassOfClass(nullptr, base));
    EXPECT_FALSE(class_isSubclassOfClass(base, nullptr));
}

#ifndef NDEBUG
TEST(OwnedMutexDeathTest, DebugBuildsStopWhenTheLockIsNotHeldByTheCaller) {
    objc::detail::OwnedMutex mutex;
    {
        std::lock_guard lock(mutex);
        mutex.assertLocked();  // held here: nothing happens
    }
    EXPECT_DEATH(mutex.assertLocked(), "method lock");
    std::lock_guard lock(mutex);
    EXPECT_DEATH(std::thread([&] { mutex.assertLocked(); }).join(), "method lock") << "held, but by another thread";
}
#endif

}  // namespace
