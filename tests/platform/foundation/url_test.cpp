// NSURL: the text it refuses, and the parts it splits an accepted URL into.
#include <Foundation/Foundation.h>

#include <gtest/gtest.h>

namespace {

class URLs : public ::testing::Test {
protected:
    NSURL* url(const char* text) { return msg<NSURL*>(NSURL::class_(), sel<"URLWithString:">(), objc::str(text)); }
    std::string part(NSURL* u, SEL sel) {
        NSString* s = msg<NSString*>(u, sel);
        return s ? s->utf8() : "<nil>";
    }
    objc::AutoreleasePool pool_;
};

TEST_F(URLs, MalformedTextIsRefused) {
    for (const char* text : {"", "http://example.com/a b", "http://example.com/%", "http://example.com/%4", "http://example.com/%zz",
                             "1http://x", "ht tp://x", ":nothing", "-x:y", "http://x/<tag>", "http://x/\"q\"", "http://x/a|b",
                             "http://x/{}", "http://x/caf\u00e9", "http://x/a#b#c", "http://[::1/", "tab\there", "line\nbreak"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(url(text), nullptr);
    }
    EXPECT_EQ(msg<NSURL*>(NSURL::class_(), sel<"URLWithString:">(), static_cast<NSString*>(nullptr)), nullptr);
}

TEST_F(URLs, PartsOfAnAcceptedURL) {
    NSURL* u = url("https://user:pw@Example.com:8443/path/a%20b?q=1&r=%2F#frag");
    ASSERT_NE(u, nullptr);
    EXPECT_EQ(part(u, sel<"scheme">()), "https");
    EXPECT_EQ(part(u, sel<"host">()), "Example.com");
    EXPECT_EQ(part(u, sel<"path">()), "/path/a b");
    EXPECT_EQ(part(u, sel<"query">()), "q=1&r=%2F");
    EXPECT_EQ(part(u, sel<"fragment">()), "frag");
    EXPECT_EQ(part(u, sel<"absoluteString">()), "https://user:pw@Example.com:8443/path/a%20b?q=1&r=%2F#frag");
    EXPECT_FALSE(msg<BOOL>(u, sel<"isFileURL">()));

    NSURL* mail = url("mailto:someone@example.com");
    ASSERT_NE(mail, nullptr);
    EXPECT_EQ(part(mail, sel<"scheme">()), "mailto");
    EXPECT_EQ(part(mail, sel<"host">()), "<nil>");
    EXPECT_EQ(part(mail, sel<"query">()), "<nil>");

    NSURL* relative = url("folder/file.png");
    ASSERT_NE(relative, nullptr);
    EXPECT_EQ(part(relative, sel<"scheme">()), "<nil>");
    EXPECT_EQ(part(relative, sel<"path">()), "folder/file.png");

    NSURL* v6 = url("http://[::1]:80/");
    ASSERT_NE(v6, nullptr);
    EXPECT_EQ(part(v6, sel<"host">()), "::1");
}

TEST_F(URLs, FileURLsAreEncodedAndCompareByText) {
    NSURL* file = msg<NSURL*>(NSURL::class_(), sel<"fileURLWithPath:">(), objc::str("/var/mobile/My Themes/caf\u00e9.plist"));
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(msg<BOOL>(file, sel<"isFileURL">()));
    EXPECT_EQ(part(file, sel<"absoluteString">()), "file:///var/mobile/My%20Themes/caf%C3%A9.plist");
    EXPECT_EQ(part(file, sel<"path">()), "/var/mobile/My Themes/caf\u00e9.plist");
    EXPECT_TRUE(msg<BOOL>(file, sel<"isEqual:">(), static_cast<id>(url("file:///var/mobile/My%20Themes/caf%C3%A9.plist"))));
    EXPECT_FALSE(msg<BOOL>(file, sel<"isEqual:">(), static_cast<id>(url("file:///var/mobile/other"))));
    EXPECT_EQ(msg<NSURL*>(NSURL::class_(), sel<"fileURLWithPath:">(), objc::str("")), nullptr);
    EXPECT_TRUE(msg<BOOL>(url("FILE:///x"), sel<"isFileURL">()));
}

}  // namespace
