// MSHookMessageEx: own and inherited methods, class methods, chains, caches, and the cases that hook nothing.
#include <objc/NSObject.h>
#include <substrate/substrate.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// A fresh Base ← Derived ← Leaf family per test, since hooks are never undone.
// Base implements -value (1) and +kind (10); the others inherit both.
struct Family {
    Class base, derived, leaf;
};

Family makeFamily(const std::string& prefix) {
    Class base = objc_allocateClassPair(NSObject::class_(), (prefix + "Base").c_str(), 0);
    objc::addMethod(base, sel<"value">(), [](id, SEL) -> long { return 1; });
    objc::addMethod(object_getClass(reinterpret_cast<id>(base)), sel<"kind">(), [](Class, SEL) -> long { return 10; });
    objc_registerClassPair(base);
    Class derived = objc_allocateClassPair(base, (prefix + "Derived").c_str(), 0);
    objc_registerClassPair(derived);
    Class leaf = objc_allocateClassPair(derived, (prefix + "Leaf").c_str(), 0);
    objc_registerClassPair(leaf);
    return {base, derived, leaf};
}

long valueOf(Class cls) {
    objc::Strong<objc_object> instance = objc::adopt(class_createInstance(cls));
    return msg<long>(instance.get(), sel<"value">());
}

Class metaclassOf(Class cls) { return object_getClass(reinterpret_cast<id>(cls)); }

IMP savedValue;
long valuePlusHundred(id self, SEL cmd) { return objc::callIMP<long>(savedValue, self, cmd) + 100; }

IMP savedKind;
long kindPlusHundred(Class self, SEL cmd) { return objc::callIMP<long>(savedKind, self, cmd) + 100; }

template <class F>
IMP asIMP(F* function) {
    return reinterpret_cast<IMP>(function);
}

TEST(MSHookMessageEx, OwnImplementationIsSwappedAndTheOldOneSaved) {
    Family f = makeFamily("HookOwn");
    IMP original = method_getImplementation(class_getOwnMethod(f.base, sel<"value">()));
    MSHookMessageEx(f.base, sel<"value">(), asIMP(valuePlusHundred), &savedValue);
    EXPECT_EQ(savedValue, original);
    EXPECT_EQ(valueOf(f.base), 101);
    EXPECT_EQ(valueOf(f.derived), 101) << "subclasses inherit the replacement";
}

TEST(MSHookMessageEx, InheritedSelectorGetsAMethodOfItsOwnAndTheSuperclassKeepsItsOwn) {
    Family f = makeFamily("HookInherited");
    Method inherited = class_getInstanceMethod(f.base, sel<"value">());
    MSHookMessageEx(f.derived, sel<"value">(), asIMP(valuePlusHundred), &savedValue);
    EXPECT_EQ(savedValue, method_getImplementation(inherited));
    Method added = class_getOwnMethod(f.derived, sel<"value">());
    ASSERT_NE(added, nullptr);
    EXPECT_STREQ(method_getTypeEncoding(added), method_getTypeEncoding(inherited));
    EXPECT_EQ(valueOf(f.derived), 101);
    EXPECT_EQ(valueOf(f.base), 1);
}

TEST(MSHookMessageEx, ClassMethodsAreHookedThroughTheMetaclass) {
    Family f = makeFamily("HookMeta");
    MSHookMessageEx(metaclassOf(f.derived), sel<"kind">(), asIMP(kindPlusHundred), &savedKind);
    EXPECT_EQ(msg<long>(f.derived, sel<"kind">()), 110);
    EXPECT_EQ(msg<long>(f.leaf, sel<"kind">()), 110);
    EXPECT_EQ(msg<long>(f.base, sel<"kind">()), 10);
    EXPECT_EQ(valueOf(f.derived), 1) << "instances are not affected";
}

TEST(MSHookMessageEx, HooksOfTheSameSelectorChainNewestFirst) {
    Family f = makeFamily("HookChain");
    static std::string trace;
    static IMP savedByFirst, savedBySecond;
    objc::addMethod(f.base, sel<"trace">(), [](id, SEL) { trace += "original"; });
    auto first = [](id self, SEL cmd) {
        trace += "first,";
        objc::callIMP(savedByFirst, self, cmd);
    };
    auto second = [](id self, SEL cmd) {
        trace += "second,";
        objc::callIMP(savedBySecond, self, cmd);
    };
    MSHookMessageEx(f.derived, sel<"trace">(), asIMP(+first), &savedByFirst);
    MSHookMessageEx(f.derived, sel<"trace">(), asIMP(+second), &savedBySecond);
    objc::Strong<objc_object> instance = objc::adopt(class_createInstance(f.derived));
    msg(instance.get(), sel<"trace">());
    EXPECT_EQ(trace, "second,first,original");
}

TEST(MSHookMessageEx, SubclassCachesSeeTheHook) {
    Family f = makeFamily("HookCached");
    EXPECT_EQ(valueOf(f.leaf), 1);  // Leaf's cache now holds Base's method
    MSHookMessageEx(f.derived, sel<"value">(), asIMP(valuePlusHundred), &savedValue);
    EXPECT_EQ(valueOf(f.leaf), 101) << "a method added above a cached lookup must replace it";

    Family g = makeFamily("HookCachedOwn");
    EXPECT_EQ(valueOf(g.leaf), 1);
    static IMP savedOwn;
    auto plusThousand = [](id self, SEL cmd) -> long { return objc::callIMP<long>(savedOwn, self, cmd) + 1000; };
    MSHookMessageEx(g.base, sel<"value">(), asIMP(+plusThousand), &savedOwn);
    EXPECT_EQ(valueOf(g.leaf), 1001);
}

TEST(MSHookMessageEx, NilClassOrUnknownSelectorHooksNothingAndLeavesTheSlotAlone) {
    Family f = makeFamily("HookNothing");
    IMP untouched = asIMP(valuePlusHundred);
    IMP slot = untouched;
    MSHookMessageEx(nullptr, sel<"value">(), asIMP(valuePlusHundred), &slot);
    EXPECT_EQ(slot, untouched);

    testing::internal::CaptureStderr();
    MSHookMessageEx(f.derived, sel<"noSuchSelector">(), asIMP(valuePlusHundred), &slot);
    std::string message = testing::internal::GetCapturedStderr();
    EXPECT_EQ(slot, untouched);
    EXPECT_EQ(class_getOwnMethod(f.derived, sel<"noSuchSelector">()), nullptr);
    EXPECT_NE(message.find("-[HookNothingDerived noSuchSelector]"), std::string::npos) << message;

    MSHookMessageEx(f.base, sel<"value">(), nullptr, &slot);
    EXPECT_EQ(slot, untouched);
    EXPECT_EQ(valueOf(f.base), 1);
}

}  // namespace
