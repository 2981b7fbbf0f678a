// The studio's state as the page reads it, and server-sent event framing.
#include <studio/StudioEvents.h>

#include <gtest/gtest.h>

namespace {

TEST(StudioEvents, EachLineOfDataIsADataLineAndABlankLineEndsTheEvent) {
    EXPECT_EQ(studio::serverSentEvent("studio", R"({"a":1})"), "event: studio\ndata: {\"a\":1}\n\n");
    EXPECT_EQ(studio::serverSentEvent("studio", "one\ntwo\r\nthree\rfour"), "event: studio\ndata: one\ndata: two\ndata: three\ndata: four\n\n");
    EXPECT_EQ(studio::serverSentEvent("studio", ""), "event: studio\ndata: \n\n");
}

TEST(StudioEvents, ANameCannotStartAnotherField) {
    EXPECT_EQ(studio::serverSentEvent("studio\ndata: forged", "x"), "event: studio\ndata: x\n\n");
}

TEST(StudioEvents, ThePictureUrlNamesThePictureAndIsNullBeforeTheFirst) {
    studio::StudioState state;
    auto before = studio::stateJson(state, "library", 2);
    EXPECT_TRUE(before["pictureUrl"].is_null());
    EXPECT_EQ(before["running"], false);
    EXPECT_EQ(before["screen"], "library");

    state.version = 5;
    state.picture = 3;
    state.process = 1234;
    auto after = studio::stateJson(state, "album", 3);
    EXPECT_EQ(after["pictureUrl"], "/studio/picture.png?picture=3");
    EXPECT_EQ(after["process"], 1234);
    EXPECT_EQ(after["running"], true);
    EXPECT_EQ(after["scale"], 3.0);
}

}  // namespace
