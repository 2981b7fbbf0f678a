// Swift class names: mangling dotted names on lookup, demangling only the simple top-level form.
#include <objc/swift.h>

#include <gtest/gtest.h>

using objc::swiftDemangledClassName;
using objc::swiftMangledClassName;

TEST(SwiftNames, MangleDottedNames) {
    EXPECT_EQ(swiftMangledClassName("Music.NavigationBar"), "_TtC5Music13NavigationBar");
    EXPECT_EQ(swiftMangledClassName("Swift.Thing"), "_TtCs5Thing");
    EXPECT_EQ(swiftMangledClassName("A.B"), "_TtC1A1B");
}

TEST(SwiftNames, MangleRefusesNamesWithoutExactlyOneInnerDot) {
    EXPECT_FALSE(swiftMangledClassName("UIView"));
    EXPECT_FALSE(swiftMangledClassName(".Music"));
    EXPECT_FALSE(swiftMangledClassName("Music."));
    EXPECT_FALSE(swiftMangledClassName("Music.Text.View"));
    EXPECT_FALSE(swiftMangledClassName(""));
}

TEST(SwiftNames, DemangleSimpleTopLevelNames) {
    EXPECT_EQ(swiftDemangledClassName("_TtC5Music13NavigationBar"), "Music.NavigationBar");
    EXPECT_EQ(swiftDemangledClassName("_TtCs5Thing"), "Swift.Thing");
    EXPECT_EQ(swiftDemangledClassName("_TtC5Music24NowPlayingViewController"), "Music.NowPlayingViewController");
}

TEST(SwiftNames, OtherNamesComeBackUnchanged) {
    for (const char* name : {"UIView", "_TtCC5Music24NowPlayingViewController14CollectionView", "_TtCV5Music4Text9StackView",
                             "_TtCVV5Music4Text7Drawing4View", "_TtC5MusicP33_E266AE2617DB15E0278A9481B04FB1C59ShapeView",
                             "_TtC05Music4View", "_TtC5Music04View", "_TtC5Music4ViewX", "_TtC5Music", "_TtC", "_TtC5Mu",
                             "_TtC5Music0"}) {
        EXPECT_EQ(swiftDemangledClassName(name), name) << name;
    }
}
