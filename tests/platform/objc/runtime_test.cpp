// The object runtime: classes and metaclasses, message sending and caching, nil messaging, ivars, reference counts.
#include <objc/NSException.h>
#include <objc/NSObject.h>
#include <objc/invoke.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

struct CGPointLike {
    double x, y;
};

}  // namespace

template <>
struct objc::StructEncoding<CGPointLike> {
    static constexpr auto value = objc::text("{CGPoint=dd}");
};

namespace {

// A class with a counter in its C++ layout, and a live-instance count to see deallocation
// (atomic: the threaded tests create instances on several threads).
std::atomic<int> gLiveCounters = 0;
struct Counter : NSObject {
    static Class class_() { return objc_getClass("TestCounter"); }
    Counter() { ++gLiveCounters; }
    ~Counter() override { --gLiveCounters; }
    long value = 0;
};

Class counterClass() {
    static Class cls = objc::ClassBuilder<Counter>("TestCounter", NSObject::class_())
                           .method(sel<"value">(), [](Counter* self, SEL) { return self->value; })
                           .method(sel<"setValue:">(), [](Counter* self, SEL, long v) { self->value = v; })
                           .method(sel<"name">(), [](Counter*, SEL) -> const char* { return "counter"; })
                           .method(sel<"point">(), [](Counter* self, SEL) { return CGPointLike{double(self->value), 2}; })
                           .method(sel<"ratio">(), [](Counter*, SEL) { return 0.5; })
                           .method(sel<"isPositive">(), [](Counter* self, SEL) { return self->value > 0; })
                           .method(sel<"me">(), [](Counter* self, SEL) -> id { return self; })
                           .classMethod(sel<"kind">(), [](Class, SEL) { return 42; })
                           .registerClass();
    return cls;
}

Class subclassOfCounter() {
    static Class cls = [] {
        Class c = objc_allocateClassPair(counterClass(), "TestSubCounter", 0);
        class_addIvar(c, "fillColor", sizeof(id), alignof(id), "@");
        objc_registerClassPair(c);
        return c;
    }();
    return cls;
}

TEST(Classes, LookupByRuntimeAndDottedNames) {
    Class cls = objc::ClassBuilder<NSObject>("_TtC5Music10TestPlayer", NSObject::class_()).registerClass();
    EXPECT_EQ(objc_getClass("_TtC5Music10TestPlayer"), cls);
    EXPECT_EQ(objc_getClass("Music.TestPlayer"), cls);
    EXPECT_EQ(objc_getClass("Music.Missing"), nullptr);
    EXPECT_EQ(objc_getClass(nullptr), nullptr);
    EXPECT_STREQ(class_getName(nullptr), "nil");
}

TEST(Classes, MetaclassChain) {
    Class cls = counterClass();
    Class meta = object_getClass(reinterpret_cast<id>(cls));
    EXPECT_TRUE(class_isMetaClass(meta));
    EXPECT_EQ(class_getSuperclass(meta), object_getClass(reinterpret_cast<id>(NSObject::class_())));
    Class rootMeta = object_getClass(reinterpret_cast<id>(NSObject::class_()));
    EXPECT_EQ(class_getSuperclass(rootMeta), NSObject::class_());
    EXPECT_EQ(msg<int>(cls, sel<"kind">()), 42);
    // Root instance methods reach classes through the root metaclass.
    EXPECT_TRUE(msg<BOOL>(cls, sel<"respondsToSelector:">(), sel<"kind">()));
}

TEST(Classes, HiddenClassesAreAbsentToLookups) {
    objc::ClassBuilder<NSObject>("TestHidden", NSObject::class_()).registerClass();
    objc_hideClass("TestHidden");
    EXPECT_EQ(objc_getClass("TestHidden"), nullptr);
    objc_unhideClass("TestHidden");
    EXPECT_NE(objc_getClass("TestHidden"), nullptr);
}

TEST(Messaging, TypedSendsOfEveryReturnKind) {
    objc::AutoreleasePool pool;
    auto counter = objc::adopt(msg<id>(counterClass(), sel<"new">()));
    msg<void>(counter.get(), sel<"setValue:">(), 7L);
    EXPECT_EQ(msg<long>(counter.get(), sel<"value">()), 7);
    EXPECT_STREQ(msg<const char*>(counter.get(), sel<"name">()), "counter");
    EXPECT_EQ(msg<CGPointLike>(counter.get(), sel<"point">()).x, 7);
    EXPECT_EQ(msg<double>(counter.get(), sel<"ratio">()), 0.5);
    EXPECT_TRUE(msg<BOOL>(counter.get(), sel<"isPositive">()));
    EXPECT_EQ(msg<id>(counter.get(), sel<"me">()), counter.get());
}

TEST(Messaging, NilReceiverReturnsZeroOfEveryKind) {
    id nothing = nil;
    EXPECT_EQ(msg<long>(nothing, sel<"value">()), 0);
    EXPECT_EQ(msg<const char*>(nothing, sel<"name">()), nullptr);
    auto p = msg<CGPointLike>(nothing, sel<"point">());
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 0);
    EXPECT_EQ(msg<double>(nothing, sel<"ratio">()), 0.0);
    EXPECT_FALSE(msg<BOOL>(nothing, sel<"isPositive">()));
    EXPECT_EQ(msg<id>(nothing, sel<"me">()), nil);
    msg<void>(nothing, sel<"setValue:">(), 1L);
}

TEST(Messaging, UnknownSelectorRaises) {
    auto counter = objc::adopt(msg<id>(counterClass(), sel<"new">()));
    try {
        msg<void>(counter.get(), sel<"noSuchThing">());
        FAIL() << "no exception";
    } catch (const NSException& e) {
        EXPECT_EQ(e.name(), "NSInvalidArgumentException");
        EXPECT_NE(e.reason().find("-[TestCounter noSuchThing]"), std::string::npos);
    }
}

TEST(MessagingDeathTest, SignatureMismatchAbortsNamingBoth) {
    auto counter = objc::adopt(msg<id>(counterClass(), sel<"new">()));
    EXPECT_DEATH(msg<void>(counter.get(), sel<"setValue:">(), 1.5), "setValue:.*v@:d.*v@:q");
}

long replacedValue(id, SEL) { return 99; }

TEST(Messaging, CachedLookupSeesReplacedAndShadowingMethods) {
    objc::AutoreleasePool pool;
    Class sub = subclassOfCounter();
    auto obj = objc::adopt(class_createInstance(sub));
    msg<void>(obj.get(), sel<"setValue:">(), 3L);
    EXPECT_EQ(msg<long>(obj.get(), sel<"value">()), 3);  // now cached on the subclass
    SEL valueSel = sel<"value">();
    ASSERT_TRUE(class_addMethod(sub, valueSel, reinterpret_cast<IMP>(&replacedValue), "q@:"));
    EXPECT_EQ(msg<long>(obj.get(), valueSel), 99);
    auto plain = objc::adopt(msg<id>(counterClass(), sel<"new">()));
    msg<void>(plain.get(), sel<"setValue:">(), 5L);
    EXPECT_EQ(msg<long>(plain.get(), valueSel), 5);  // the superclass keeps its own
}

TEST(ReferenceCounting, CountStartsAtOneAndDeallocAtZero) {
    int before = gLiveCounters;
    id obj = msg<id>(counterClass(), sel<"alloc">());
    EXPECT_EQ(objc_retainCount(obj), 1);
    EXPECT_EQ(gLiveCounters, before + 1);
    objc_retain(obj);
    objc_release(obj);
    EXPECT_EQ(gLiveCounters, before + 1);
    objc_release(obj);
    EXPECT_EQ(gLiveCounters, before);
}

TEST(ReferenceCounting, AutoreleasePoolReleasesAtScopeEnd) {
    int before = gLiveCounters;
    {
        objc::AutoreleasePool pool;
        objc::autorelease(msg<id>(counterClass(), sel<"new">()));
        EXPECT_EQ(gLiveCounters, before + 1);
    }
    EXPECT_EQ(gLiveCounters, before);
}

// An object owned by a thread-local made before the thread's first autorelease is released after
// the thread's pool has gone; what its release autoreleases must not reach the pool's freed storage.
TEST(ReferenceCounting, AutoreleasingAfterTheThreadsPoolHasGoneIsSafe) {
    struct LateOwner {
        id object = nil;
        ~LateOwner() {
            objc::autorelease(object);
            objc::AutoreleasePool pool;
            objc::autorelease(msg<id>(counterClass(), sel<"new">()));
        }
    };
    int before = gLiveCounters;
    std::thread([] {
        thread_local LateOwner owner;
        owner.object = msg<id>(counterClass(), sel<"new">());
        objc::autorelease(msg<id>(counterClass(), sel<"new">()));  // the pool is made after the owner
    }).join();
    EXPECT_EQ(gLiveCounters, before + 2) << "the pool's object is released; the two autoreleased late are kept";
}

TEST(ReferenceCounting, StrongIvarIsReleasedWithItsOwner) {
    int before = gLiveCounters;
    Class sub = subclassOfCounter();
    Ivar ivar = class_getInstanceVariable(sub, "fillColor");
    ASSERT_NE(ivar, nullptr);
    EXPECT_GE(ivar_getOffset(ivar), static_cast<std::ptrdiff_t>(sizeof(Counter)));
    id owner = class_createInstance(sub);
    EXPECT_EQ(object_getIvar(owner, ivar), nil);
    id value = msg<id>(counterClass(), sel<"new">());
    object_setIvar(owner, ivar, value);  // the owner adopts the new object's reference
    EXPECT_EQ(gLiveCounters, before + 2);
    objc_release(owner);
    EXPECT_EQ(gLiveCounters, before);
}

// Debug builds name the class; AddressSanitizer builds report the use of freed memory instead.
TEST(ReferenceCountingDeathTest, ReleasingOrRetainingADeadObjectAbortsNamingTheClass) {
    EXPECT_DEATH(
        {
            id obj = msg<id>(counterClass(), sel<"new">());
            objc_release(obj);
            objc_release(obj);
        },
        "over-release of a TestCounter instance|heap-use-after-free");
    EXPECT_DEATH(
        {
            id obj = msg<id>(counterClass(), sel<"new">());
            msg<void>(obj, sel<"release">());
            msg<void>(obj, sel<"release">());
        },
        "over-release of a TestCounter instance|heap-use-after-free");
    EXPECT_DEATH(
        {
            id obj = msg<id>(counterClass(), sel<"new">());
            objc_release(obj);
            objc_retain(obj);
        },
        "retain of a deallocated TestCounter instance|heap-use-after-free");
    // Still caught after many other objects have died since.
    EXPECT_DEATH(
        {
            id obj = msg<id>(counterClass(), sel<"new">());
            objc_release(obj);
            for (int i = 0; i < 1000; ++i) objc_release(msg<id>(counterClass(), sel<"new">()));
            objc_release(obj);
        },
        "over-release of a TestCounter instance|heap-use-after-free");
}

TEST(Invocation, ArgumentsFromDataAreTypedBySignature) {
    objc::AutoreleasePool pool;
    auto counter = objc::adopt(msg<id>(counterClass(), sel<"new">()));
    std::vector<objc::Value> args{objc::Value(12LL)};
    objc::invoke(counter.get(), sel<"setValue:">(), args);
    auto result = objc::invoke(counter.get(), sel<"point">(), {});
    auto& point = std::get<objc::StructValue>(result);
    EXPECT_EQ(point.type, "{CGPoint=dd}");
    EXPECT_EQ(point.fields, (std::vector<double>{12, 2}));
    std::vector<objc::Value> wrong{objc::Value(std::string("twelve"))};
    EXPECT_THROW(objc::invoke(counter.get(), sel<"setValue:">(), wrong), objc::InvokeError);
    EXPECT_THROW(objc::invoke(counter.get(), sel<"setValue:">(), {}), objc::InvokeError);
    EXPECT_EQ(objc::signatureArgumentCount("v@:{CGRect=dddd}q"), 2);
    EXPECT_EQ(objc::signatureArgumentType("v@:{CGRect=dddd}q", 0), "{CGRect=dddd}");
}

TEST(Threads, ConcurrentSendsAndCacheFills) {
    Class cls = counterClass();
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([cls] {
            objc::AutoreleasePool pool;
            for (int i = 0; i < 2000; ++i) {
                auto obj = objc::adopt(msg<id>(cls, sel<"new">()));
                msg<void>(obj.get(), sel<"setValue:">(), static_cast<long>(i));
                ASSERT_EQ(msg<long>(obj.get(), sel<"value">()), i);
            }
        });
    for (auto& t : threads) t.join();
}

long selectorNumber(id, SEL cmd) { return std::stol(sel_getName(cmd) + 6); }

// A class of many methods whose cache starts empty: every thread's first sends fill it, and
// the fills grow it several times over (16 slots to 128) while the other threads read it.
TEST(Threads, CacheGrowsWhileOtherThreadsSend) {
    constexpr int kMethods = 80;
    Class cls = objc_allocateClassPair(NSObject::class_(), "TestManyMethods", 0);
    std::vector<SEL> selectors;
    for (int i = 0; i < kMethods; ++i) {
        selectors.push_back(sel_registerName(("method" + std::to_string(i)).c_str()));
        ASSERT_TRUE(class_addMethod(cls, selectors.back(), reinterpret_cast<IMP>(&selectorNumber), "q@:"));
    }
    objc_registerClassPair(cls);
    auto object = objc::adopt(class_createInstance(cls));
    std::atomic<bool> go = false;
    std::atomic<int> wrong = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            while (!go.load()) std::this_thread::yield();
            for (int round = 0; round < 20; ++round)
                for (int i = 0; i < kMethods; ++i) {
                    int n = (i * 7 + t * 20) % kMethods;  // each thread fills in its own order
                    if (msg<long>(object.get(), selectors[n]) != n) ++wrong;
                }
        });
    go = true;
    for (auto& t : threads) t.join();
    EXPECT_EQ(wrong, 0);
}

}  // namespace
