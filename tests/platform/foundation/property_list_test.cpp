// Property lists: XML and binary files read into Foundation values, written back, and bad files refused.
#include <Foundation/Foundation.h>

#include <gtest/gtest.h>

#include "temporary_device.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

// A binary property list as the phone writes one: {count = 42; data = <00ff>; enabled = YES;
// list = (1, "two", NO); ratio = 0.25; theme = "Midnight"; when = 2001-01-01 00:00:00 +0000}.
const std::uint8_t kBinarySettings[] = {
    0x62, 0x70, 0x6c, 0x69, 0x73, 0x74, 0x30, 0x30, 0xd7, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0a, 0x0b,
    0x0f, 0x10, 0x11, 0x55, 0x63, 0x6f, 0x75, 0x6e, 0x74, 0x54, 0x64, 0x61, 0x74, 0x61, 0x57, 0x65, 0x6e, 0x61, 0x62, 0x6c,
    0x65, 0x64, 0x54, 0x6c, 0x69, 0x73, 0x74, 0x55, 0x72, 0x61, 0x74, 0x69, 0x6f, 0x55, 0x74, 0x68, 0x65, 0x6d, 0x65, 0x54,
    0x77, 0x68, 0x65, 0x6e, 0x10, 0x2a, 0x42, 0x00, 0xff, 0x09, 0xa3, 0x0c, 0x0d, 0x0e, 0x10, 0x01, 0x53, 0x74, 0x77, 0x6f,
    0x08, 0x23, 0x3f, 0xd0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x58, 0x4d, 0x69, 0x64, 0x6e, 0x69, 0x67, 0x68, 0x74, 0x33,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x08, 0x17, 0x1d, 0x22, 0x2a, 0x2f, 0x35, 0x3b, 0x40, 0x42, 0x45, 0x46,
    0x4a, 0x4c, 0x50, 0x51, 0x5a, 0x63, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x12, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x6c};

const char* const kXMLSettings = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
	<key>enabled</key>
	<true/>
	<key>theme</key>
	<string>Caf&#233; &amp; Night</string>
	<key>tint</key>
	<real>-1.5</real>
	<key>nested</key>
	<dict>
		<key>items</key>
		<array>
			<integer>-7</integer>
			<data>AP8=</data>
		</array>
	</dict>
</dict>
</plist>
)";

class PropertyLists : public ::testing::Test {
protected:
    void writeBytes(const std::string& devicePath, const std::uint8_t* bytes, std::size_t size) {
        device_.write(devicePath, std::string(reinterpret_cast<const char*>(bytes), size));
    }
    NSDictionary* read(const std::string& devicePath) {
        return msg<NSDictionary*>(NSDictionary::class_(), sel<"dictionaryWithContentsOfFile:">(), objc::str(devicePath));
    }
    id value(NSDictionary* d, const char* key) { return d ? d->objectForKey(objc::str(key)) : nullptr; }

    TemporaryDevice device_;
    objc::AutoreleasePool pool_;
};

TEST_F(PropertyLists, BinaryFileGivesEveryValueKind) {
    writeBytes("/var/mobile/Library/Preferences/binary.plist", kBinarySettings, sizeof kBinarySettings);
    NSDictionary* d = read("/var/mobile/Library/Preferences/binary.plist");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->count(), 7u);

    auto* enabled = static_cast<NSNumber*>(value(d, "enabled"));
    ASSERT_TRUE(object_isKindOfClass(enabled, NSNumber::class_()));
    EXPECT_TRUE(enabled->isBoolean());
    EXPECT_TRUE(msg<BOOL>(enabled, sel<"boolValue">()));
    EXPECT_EQ(msg<NSInteger>(value(d, "count"), sel<"integerValue">()), 42);
    EXPECT_DOUBLE_EQ(msg<double>(value(d, "ratio"), sel<"doubleValue">()), 0.25);
    EXPECT_EQ(objc::utf8(value(d, "theme")), "Midnight");
    auto* data = static_cast<NSData*>(value(d, "data"));
    ASSERT_TRUE(object_isKindOfClass(data, NSData::class_()));
    EXPECT_EQ(data->bytes(), (std::vector<std::uint8_t>{0x00, 0xff}));
    // The property-list epoch is 2001-01-01; dates arrive as seconds since 1970.
    EXPECT_DOUBLE_EQ(msg<double>(value(d, "when"), sel<"doubleValue">()), 978307200.0);

    auto* list = static_cast<NSArray*>(value(d, "list"));
    ASSERT_TRUE(object_isKindOfClass(list, NSArray::class_()));
    ASSERT_EQ(list->count(), 3u);
    EXPECT_EQ(msg<int>(list->objects()[0].get(), sel<"intValue">()), 1);
    EXPECT_EQ(objc::utf8(list->objects()[1].get()), "two");
    EXPECT_FALSE(msg<BOOL>(list->objects()[2].get(), sel<"boolValue">()));
}

TEST_F(PropertyLists, XMLFileGivesEntitiesNegativesAndNesting) {
    device_.write("/var/mobile/Library/Preferences/xml.plist", kXMLSettings);
    NSDictionary* d = read("/var/mobile/Library/Preferences/xml.plist");
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(static_cast<NSNumber*>(value(d, "enabled"))->isBoolean());
    EXPECT_EQ(objc::utf8(value(d, "theme")), "Caf\u00e9 & Night");
    EXPECT_DOUBLE_EQ(msg<double>(value(d, "tint"), sel<"doubleValue">()), -1.5);
    auto* items = static_cast<NSArray*>(value(static_cast<NSDictionary*>(value(d, "nested")), "items"));
    ASSERT_NE(items, nullptr);
    ASSERT_EQ(items->count(), 2u);
    EXPECT_EQ(msg<long long>(items->objects()[0].get(), sel<"longLongValue">()), -7);
    EXPECT_EQ(static_cast<NSData*>(items->objects()[1].get())->bytes(), (std::vector<std::uint8_t>{0x00, 0xff}));
}

TEST_F(PropertyLists, UnreadableFilesGiveNil) {
    device_.write("/tmp/array.plist", "<plist version=\"1.0\"><array><string>a</string></array></plist>");
    device_.write("/tmp/garbage.plist", "this is not a property list");
    device_.write("/tmp/empty.plist", "");
    device_.write("/tmp/cut.plist", "<plist version=\"1.0\"><dict><key>a</key><string>b</str");
    writeBytes("/tmp/truncated.plist", kBinarySettings, sizeof kBinarySettings - 20);
    // The key "count" made "c\0unt": libplist would stop the program on reading it.
    std::vector<std::uint8_t> nulKey(std::begin(kBinarySettings), std::end(kBinarySettings));
    ASSERT_EQ(nulKey[25], 'o');
    nulKey[25] = 0;
    writeBytes("/tmp/nul-key.plist", nulKey.data(), nulKey.size());
    std::filesystem::create_directories(device_.host("/tmp/folder.plist"));

    for (const char* path : {"/tmp/missing.plist", "/tmp/array.plist", "/tmp/garbage.plist", "/tmp/empty.plist", "/tmp/cut.plist",
                             "/tmp/truncated.plist", "/tmp/nul-key.plist", "/tmp/folder.plist", "/tmp/../etc/passwd", "relative.plist"}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(read(path), nullptr);
        id alloc = msg<id>(NSDictionary::class_(), sel<"alloc">());
        EXPECT_EQ(msg<id>(alloc, sel<"initWithContentsOfFile:">(), objc::str(path)), nullptr);
    }
    // The array file is still a property list, for a reader that asks for an array.
    EXPECT_NE(msg<NSArray*>(NSArray::class_(), sel<"arrayWithContentsOfFile:">(), objc::str("/tmp/array.plist")), nullptr);
}

TEST_F(PropertyLists, WrittenFileReadsBackEqualWithKindsKept) {
    std::filesystem::create_directories(device_.host("/var/mobile/Library/Preferences"));
    NSDictionary* original = objc::dict({{NSSTR("enabled"), msg<id>(NSNumber::class_(), sel<"numberWithBool:">(), true)},
                                         {NSSTR("count"), msg<id>(NSNumber::class_(), sel<"numberWithInt:">(), -3)},
                                         {NSSTR("alpha"), msg<id>(NSNumber::class_(), sel<"numberWithDouble:">(), 0.5)},
                                         {NSSTR("name"), objc::str("\u00fcber <dark> & \"light\"")},
                                         {NSSTR("list"), objc::array({NSSTR("a"), objc::data(std::string_view("\x01\x02", 2))})}});
    NSString* path = NSSTR("/var/mobile/Library/Preferences/out.plist");
    ASSERT_TRUE(msg<BOOL>(original, sel<"writeToFile:atomically:">(), path, true));
    NSDictionary* back = read(objc::utf8(path));
    ASSERT_NE(back, nullptr);
    EXPECT_TRUE(msg<BOOL>(back, sel<"isEqualToDictionary:">(), original));
    EXPECT_TRUE(static_cast<NSNumber*>(value(back, "enabled"))->isBoolean());
    EXPECT_EQ(static_cast<NSNumber*>(value(back, "alpha"))->kind(), NSNumber::Kind::real);

    std::ifstream in(device_.host(objc::utf8(path)));
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("<?xml"), std::string::npos) << "files are written as XML";
}

TEST_F(PropertyLists, ValueThatIsNoPropertyListLeavesTheFileAlone) {
    device_.write("/tmp/keep.plist", kXMLSettings);
    NSDictionary* bad = objc::dict({{NSSTR("url"), msg<id>(NSURL::class_(), sel<"URLWithString:">(), NSSTR("http://x"))}});
    for (bool atomically : {true, false}) {
        EXPECT_FALSE(msg<BOOL>(bad, sel<"writeToFile:atomically:">(), NSSTR("/tmp/keep.plist"), atomically));
        EXPECT_NE(read("/tmp/keep.plist"), nullptr);
    }
    NSError* error = nullptr;
    EXPECT_EQ(msg<NSData*>(NSPropertyListSerialization::class_(), sel<"dataWithPropertyList:format:options:error:">(), static_cast<id>(bad),
                           NSPropertyListXMLFormat_v1_0, 0UL, &error),
              nullptr);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(msg<NSInteger>(error, sel<"code">()), NSPropertyListWriteInvalidError);
}

TEST_F(PropertyLists, SerializationReportsFormatAndMutability) {
    NSData* data = objc::data(std::span<const std::uint8_t>(kBinarySettings, sizeof kBinarySettings));
    NSPropertyListFormat format = 0;
    id plist = msg<id>(NSPropertyListSerialization::class_(), sel<"propertyListWithData:options:format:error:">(), data,
                       NSPropertyListMutableContainers, &format, static_cast<NSError**>(nullptr));
    ASSERT_NE(plist, nullptr);
    EXPECT_EQ(format, NSPropertyListBinaryFormat_v1_0);
    EXPECT_TRUE(object_isKindOfClass(plist, NSMutableDictionary::class_()));

    NSError* error = nullptr;
    EXPECT_EQ(msg<id>(NSPropertyListSerialization::class_(), sel<"propertyListWithData:options:format:error:">(), objc::data(std::string_view("{")),
                      NSPropertyListImmutable, static_cast<NSPropertyListFormat*>(nullptr), &error),
              nullptr);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(msg<NSInteger>(error, sel<"code">()), NSPropertyListReadCorruptError);
}

}  // namespace
