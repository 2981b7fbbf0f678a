// Name tests answer as NSStringFromClass would, and a remembered class that was missing is found once it exists.
#include "ClassTests.h"

#include <Foundation/Foundation.h>
#include <objc/runtime.h>

#include <gtest/gtest.h>

#include <string>

namespace obscuro {
namespace {

Class registered(const char* runtimeName, const char* superclass = "NSObject") {
    if (Class existing = objc_getClass(runtimeName)) return existing;
    Class cls = objc_allocateClassPair(objc_getClass(superclass), runtimeName, 0);
    objc_registerClassPair(cls);
    return cls;
}

// Every readable name a test might use, against classes of every shape of runtime name.
TEST(ClassName, AgreesWithNSStringFromClass) {
    const char* runtimeNames[] = {
        "ClassTestsPlain",
        "_TtC5Music18ClassTestsSwiftOne",
        "_TtCs15ClassTestsSwift",
        "_TtCC5Music10ClassTests6Nested",
        "_TtC5Music22ClassTestsP33_ABCDEF12",
        "_TtC5Music",
        "_TtC5Music9ClassTest",  // counted name longer than what follows
    };
    const char* readableNames[] = {
        "ClassTestsPlain", "Music.ClassTestsSwiftOne", "Swift.ClassTestsSwift", "_TtCs15ClassTestsSwift",
        "Music.ClassTests.Nested", "Music.ClassTests", "Music.", ".ClassTests", "Music", "",
        "Music.ClassTest", "_TtC5Music18ClassTestsSwiftOne",
    };
    for (const char* runtimeName : runtimeNames) {
        Class cls = registered(runtimeName);
        std::string stock = objc::utf8(NSStringFromClass(cls));
        ClassName name(cls);
        for (const char* readable : readableNames)
            EXPECT_EQ(name.is(readable), stock == readable || readable == std::string(runtimeName))
                << runtimeName << " tested against \"" << readable << "\"";
    }
    EXPECT_FALSE(ClassName(nullptr).is(""));
    EXPECT_FALSE(classNameIs(static_cast<Class>(nullptr), "nil"));
}

TEST(RememberedClass, FindsAClassRegisteredAfterItWasMissing) {
    static constinit RememberedClass late{"ClassTestsLateComer"};
    EXPECT_EQ(late.get(), nullptr);
    EXPECT_EQ(late.get(), nullptr);  // asked again while nothing changed
    registered("ClassTestsUnrelated");
    EXPECT_EQ(late.get(), nullptr);
    Class cls = registered("ClassTestsLateComer");
    EXPECT_EQ(late.get(), cls);

    id instance = class_createInstance(cls, 0);
    EXPECT_TRUE(late.isKindOf(instance));
    objc_release(instance);
}

TEST(RememberedClass, FindsAClassShownAgainAfterHiding) {
    static constinit RememberedClass hidden{"ClassTestsHidden"};
    registered("ClassTestsHidden");
    objc_hideClass("ClassTestsHidden");
    EXPECT_EQ(hidden.get(), nullptr);
    objc_unhideClass("ClassTestsHidden");
    EXPECT_EQ(hidden.get(), objc_getClass("ClassTestsHidden"));
}

}  // namespace
}  // namespace obscuro
