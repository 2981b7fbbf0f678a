// objc::Strong owns exactly one reference: copies retain, moves transfer, adopt takes over, retain adds one.
#include <objc/NSObject.h>

#include <gtest/gtest.h>

#include <utility>

namespace {

// A fresh object at count 1, owned by the test until handed to a Strong.
id newObject() { return msg<id>(NSObject::class_(), sel<"new">()); }

TEST(Strong, AdoptTakesOverTheCallersReferenceAndRetainAddsOne) {
    id object = newObject();
    {
        auto adopted = objc::adopt(object);
        EXPECT_EQ(objc_retainCount(object), 1) << "adopting a new object does not retain it";
        {
            auto retained = objc::retain(object);
            EXPECT_EQ(objc_retainCount(object), 2);
        }
        EXPECT_EQ(objc_retainCount(object), 1) << "the retained reference is released with its owner";
        objc_retain(object);  // keeps the object alive past the adopted reference, to watch its count
    }
    EXPECT_EQ(objc_retainCount(object), 1);
    objc_release(object);
}

TEST(Strong, AssigningToItselfKeepsTheReference) {
    auto strong = objc::adopt(newObject());
    id object = strong.get();
    objc_retain(object);
    auto& alias = strong;
    strong = alias;
    EXPECT_EQ(strong.get(), object);
    EXPECT_EQ(objc_retainCount(object), 2) << "self-assignment neither leaks nor releases";
    strong = std::move(alias);
    EXPECT_EQ(strong.get(), object) << "moving into itself keeps the object";
    EXPECT_EQ(objc_retainCount(object), 2);
    objc_release(object);
}

TEST(Strong, MovesTransferOwnershipAndLeaveTheSourceEmpty) {
    id object = newObject();
    objc_retain(object);
    auto source = objc::adopt(object);
    objc::Strong<objc_object> moved(std::move(source));
    EXPECT_EQ(source.get(), nullptr);
    EXPECT_EQ(moved.get(), object);
    EXPECT_EQ(objc_retainCount(object), 2) << "a move does not retain";
    objc::Strong<objc_object> assigned;
    assigned = std::move(moved);
    EXPECT_EQ(moved.get(), nullptr);
    EXPECT_EQ(objc_retainCount(object), 2);
    assigned = nullptr;
    EXPECT_EQ(objc_retainCount(object), 1) << "assigning nil releases the reference held";
    objc_release(object);
}

TEST(Strong, CopiesRetainAndAssignmentReleasesThePrevious) {
    id first = newObject();
    id second = newObject();
    objc_retain(first);
    objc_retain(second);
    {
        auto a = objc::adopt(first);
        auto b = a;
        EXPECT_EQ(objc_retainCount(first), 3);
        b = objc::adopt(second);  // takes over the reference of newObject()
        EXPECT_EQ(objc_retainCount(first), 2) << "the replaced object is released";
        EXPECT_EQ(objc_retainCount(second), 2);
    }
    EXPECT_EQ(objc_retainCount(first), 1);
    EXPECT_EQ(objc_retainCount(second), 1);
    objc_release(first);
    objc_release(second);
}

TEST(Strong, ReleaseHandsTheReferenceBack) {
    id object = newObject();
    auto strong = objc::adopt(object);
    id handedBack = strong.release();
    EXPECT_EQ(handedBack, object);
    EXPECT_FALSE(strong);
    EXPECT_EQ(objc_retainCount(object), 1);
    objc_release(handedBack);
}

}  // namespace
