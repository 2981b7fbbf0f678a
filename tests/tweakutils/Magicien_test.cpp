// Magicien: salts from class lists, reveal, the registry, the developer formats and permutations.
#include "Magicien.h"
#include "LogCapture.h"

#include <Foundation/Foundation.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

Class cls(const char* name) { return objc_getClass(name); }
std::string text(id string) { return objc::utf8(string); }

class MagicienTest : public ::testing::Test {
    objc::AutoreleasePool pool_;
};

TEST_F(MagicienTest, SaltIsTheHexDigestOfTheClassNamesInOrder) {
    constexpr const char* kEmptyDigest = "da39a3ee5e6b4b0d3255bfef95601890afd80709";
    EXPECT_EQ(text(Magicien::nouvoAvecDisel({})->salt()), kEmptyDigest);
    EXPECT_EQ(text(Magicien::nouvoAvecDisel({nil, cls("NSString")})->salt()), kEmptyDigest);
    EXPECT_EQ(text(Magicien::hashSaltUsingSHA1(nil)), kEmptyDigest);

    std::string forward = text(Magicien::nouvoAvecDisel({cls("NSObject"), cls("NSString")})->salt());
    EXPECT_EQ(forward, "6a8bb251a1f4269a5df99e31ad107554246ac128");  // SHA-1 of "NSObjectNSString"
    EXPECT_NE(text(Magicien::nouvoAvecDisel({cls("NSString"), cls("NSObject")})->salt()), forward);
    // The list ends at its first nil.
    EXPECT_EQ(text(Magicien::nouvoAvecDisel({cls("NSObject"), cls("NSString"), nil, cls("NSArray")})->salt()), forward);
    EXPECT_EQ(text(Magicien::newWithSaltUnsafe(NSSTR("NSObjectNSString"))->salt()), forward);
    EXPECT_EQ(text(Magicien::stringFromClasses(objc::array({cls("NSObject"), cls("NSString")}))), "NSObjectNSString");
}

TEST_F(MagicienTest, RevealUndoesTheStoredFormAndCyclesTheSaltAfterFortyBytes) {
    auto store = Magicien::nouvoAvecDisel({cls("NSObject"), cls("NSArray")});
    std::string salt = text(store->salt());
    ASSERT_EQ(salt.size(), 40u);
    std::string secret = "a text of forty-five characters, give or take";
    ASSERT_EQ(secret.size(), 45u);
    auto stored = magicienStoredForm(secret, salt);
    ASSERT_EQ(stored.size(), 46u);
    EXPECT_EQ(stored.back(), 0);
    EXPECT_EQ(stored[40], static_cast<unsigned char>(secret[40] ^ salt[0]));
    EXPECT_EQ(stored[41], static_cast<unsigned char>(secret[41] ^ salt[1]));
    EXPECT_EQ(text(store->dirMoi(stored.data())), secret);
    EXPECT_EQ(text(msg<id>(store.get(), sel<"dirMoi:">(), static_cast<const unsigned char*>(stored.data()))), secret);
    // Another class order is another salt: the text does not come back.
    EXPECT_NE(text(Magicien::nouvoAvecDisel({cls("NSArray"), cls("NSObject")})->dirMoi(stored.data())), secret);
    EXPECT_EQ(store->dirMoi(nullptr), nil);
}

TEST_F(MagicienTest, SetSaltIsUsedUnhashedAndBadBytesRevealNothing) {
    auto store = Magicien::nouvoAvecDisel({});
    store->setSalt(NSSTR("k"));
    EXPECT_EQ(text(store->salt()), "k");
    EXPECT_EQ(text(store->dirMoi(magicienStoredForm("hi", "k").data())), "hi");
    // 'A' ^ 0xC3 is a lone continuation byte: not UTF-8.
    store->setSalt(objc::str("\xC3\xA9"));
    EXPECT_EQ(store->dirMoi(reinterpret_cast<const unsigned char*>("A")), nil);
    store->setSalt(nil);
    EXPECT_EQ(text(store->dirMoi(reinterpret_cast<const unsigned char*>("plain"))), "plain");
}

TEST_F(MagicienTest, RegistryRevealsWithTheSaltStoredUnderAKey) {
    Magicien::storeKeyForSalt(NSSTR("test.registry"), {cls("NSString"), cls("NSNumber")});
    auto salt = text(Magicien::nouvoAvecDisel({cls("NSString"), cls("NSNumber")})->salt());
    auto stored = magicienStoredForm("registered", salt);
    EXPECT_EQ(text(Magicien::revealUsingStoredSalt(stored.data(), NSSTR("test.registry"))), "registered");
    EXPECT_EQ(text(Magicien::newUsingStoredSalt(NSSTR("test.registry"))->salt()), salt);
    EXPECT_EQ(Magicien::revealUsingStoredSalt(stored.data(), NSSTR("test.unknown")), nil);
    EXPECT_FALSE(Magicien::newUsingStoredSalt(NSSTR("test.unknown")));
    EXPECT_FALSE(Magicien::newUsingStoredSalt(nil));
}

TEST_F(MagicienTest, PrintHexWritesACByteArray) {
    EXPECT_EQ(text(Magicien::printHex(NSSTR("AB"))), "const unsigned char _key[] = { 0x41, 0x42, 0x00 };");
    EXPECT_EQ(text(Magicien::printHex(NSSTR("\n\x7F"))), "const unsigned char _key[] = { 0xA, 0x7F, 0x00 };");
    EXPECT_EQ(text(Magicien::printHexWithKey(NSSTR("z"), NSSTR("bg"))), "const unsigned char _bg[] = { 0x7A, 0x00 };");
    EXPECT_EQ(text(Magicien::printHex(NSSTR(""))), "const unsigned char _key[] = { 0x00 };");
    EXPECT_EQ(text(msg<id>(Magicien::class_(), sel<"printHex:">(), NSSTR("AB"))), "const unsigned char _key[] = { 0x41, 0x42, 0x00 };");
}

TEST_F(MagicienTest, LogCodeWritesFailuresThenHeaderAndBody) {
    LogCapture log;
    Magicien::logCodeWithSuccessfulUnsuccessful(objc::array({}), objc::array({}));
    EXPECT_TRUE(log.messages().empty());

    id withKey = objc::dict({{NSSTR("original"), NSSTR("hi")}, {NSSTR("obfuscated"), NSSTR("AB")}, {NSSTR("key"), NSSTR("greeting")}});
    id withoutKey = objc::dict({{NSSTR("original"), NSSTR("yo")}, {NSSTR("obfuscated"), NSSTR("C")}});
    Magicien::logCodeWithSuccessfulUnsuccessful(objc::array({withKey, withoutKey}), objc::array({NSSTR("bad"), NSSTR("worse")}));
    auto messages = log.messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], "Could not obfuscate these strings:\nbad\nworse\n-------------------------------");
    const std::string& code = messages[1];
    std::string expected =
        "**********Globals.h**********\n"
        "extern const unsigned char *greeting;\n"
        "extern const unsigned char *key;\n"
        "\n**********Globals.m**********\n"
        "//Original: \"hi\"\n"
        "const unsigned char _greeting[] = { 0x41, 0x42, 0x00 };\n"
        "const unsigned char *greeting = &_greeting[0];\n\n"
        "//Original: \"yo\"\n"
        "const unsigned char _key[] = { 0x43, 0x00 };\n"
        "const unsigned char *key = &_key[0];\n\n";
    ASSERT_GT(code.size(), expected.size());
    EXPECT_EQ(code.substr(code.size() - expected.size()), expected);
    EXPECT_EQ(code[code.size() - expected.size() - 1], '\n');  // after the title line
}

TEST_F(MagicienTest, GenerationEntryPointsAnswerYesAndLogNothing) {
    LogCapture log;
    id strings = objc::array({NSSTR("x")});
    id successful = nil, unsuccessful = nil;
    EXPECT_TRUE(Magicien::generateCodeWithSaltWithStrings(nil, strings));
    EXPECT_TRUE(Magicien::generateCodeWithSaltUnsafeWithStrings(NSSTR("salt"), strings));
    EXPECT_TRUE(msg<BOOL>(Magicien::class_(), sel<"generateCodeWithSaltUnsafe:WithStrings:silence:successfulP:unsuccessfulP:">(),
                          static_cast<id>(NSSTR("salt")), strings, NO, &successful, &unsuccessful));
    EXPECT_EQ(successful, nil);
    EXPECT_EQ(unsuccessful, nil);
    EXPECT_TRUE(log.messages().empty());
    auto store = Magicien::nouvoAvecDisel({});
    EXPECT_EQ(store->hexByObfuscatingString(NSSTR("x")), nil);
}

std::vector<std::string> orderings(id permutations) {
    std::vector<std::string> out;
    for (id ordering : static_cast<NSArray*>(permutations)) {
        std::string joined;
        for (id element : static_cast<NSArray*>(ordering)) joined += text(element);
        out.push_back(joined);
    }
    return out;
}

TEST_F(MagicienTest, PermutationsFollowTheirPassOrder) {
    id three = objc::array({NSSTR("a"), NSSTR("b"), NSSTR("c")});
    id result = Magicien::allPermutationsOfArray(three);
    EXPECT_FALSE(msg<BOOL>(result, sel<"isKindOfClass:">(), NSMutableArray::class_()));
    EXPECT_EQ(orderings(result), (std::vector<std::string>{"cba", "bca", "cab", "acb", "bac", "abc"}));
    // Equal by isEqual:, not identical: two equal elements never share an ordering.
    EXPECT_TRUE(orderings(Magicien::allPermutationsOfArray(objc::array({objc::str("x"), objc::str("x")}))).empty());
    EXPECT_EQ(orderings(Magicien::allPermutationsOfArray(objc::array({objc::str("x"), objc::str("x"), objc::str("x")}))),
              (std::vector<std::string>{"x", "x", "x"}));
    EXPECT_EQ(orderings(Magicien::allPermutationsOfArray(objc::array({NSSTR("solo")}))), (std::vector<std::string>{"solo"}));
    EXPECT_TRUE(orderings(Magicien::allPermutationsOfArray(objc::array({}))).empty());
}

TEST_F(MagicienTest, CStringConversions) {
    auto store = Magicien::nouvoAvecDisel({});
    EXPECT_EQ(text(store->CStringToNSString("abc")), "abc");
    char* bytes = store->convertNSStringtoCString(objc::str("A\xC3\xA9\xE2\x82\xAC"));  // A, U+00E9, U+20AC
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(std::string(bytes), "A\xE9\xAC");
    std::free(bytes);
    bytes = store->convertNSStringtoCString(nil);
    EXPECT_STREQ(bytes, "");
    std::free(bytes);
}

TEST_F(MagicienTest, RuntimeClassHasItsNameAndSaltVariable) {
    Class magicien = Magicien::class_();
    EXPECT_EQ(text(NSStringFromClass(magicien)), "Magicien");
    EXPECT_EQ(class_getSuperclass(magicien), NSObject::class_());
    Ivar ivar = class_getInstanceVariable(magicien, "_salt");
    ASSERT_NE(ivar, nullptr);
    auto store = objc::adopt(msg<id>(magicien, sel<"newWithSaltUnsafe:">(), static_cast<id>(NSSTR(""))));
    EXPECT_EQ(object_getIvar(store.get(), ivar), msg<id>(store.get(), sel<"salt">()));
}

}  // namespace
