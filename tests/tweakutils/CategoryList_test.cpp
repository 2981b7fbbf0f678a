// The toolkit's categories are runtime methods: each selector sent through the runtime answers what its function does.
#include "Magicien.h"
#include "NSAttributedString+color.h"
#include "PixelImages.h"
#include "UIColor+Tarnwick.h"
#include "UIColor+TarnwickAnalysis.h"
#include "UIColor+TarnwickImages.h"
#include "UIImage+Color.h"

#include <Foundation/Foundation.h>
#include <UIKit/UIColor.h>
#include <objc/category.h>
#include <objc/invoke.h>

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

// The list this program carries, as the toolkit compiled into it exports it.
extern "C" const objc_image_info objc_catlist;

namespace {

using objc::Value;
using pixels::uniformImage;

id sendFromData(id receiver, const char* selector, std::vector<Value> args = {}) {
    return std::get<id>(objc::invoke(receiver, sel_registerName(selector), args));
}
Value sendValue(id receiver, const char* selector, std::vector<Value> args = {}) {
    return objc::invoke(receiver, sel_registerName(selector), args);
}
id classObject(const char* name) { return reinterpret_cast<id>(objc_getClass(name)); }

std::array<double, 4> componentsOf(id colour) {
    std::array<double, 4> c{-1, -1, -1, -1};
    msg<BOOL>(colour, sel<"getRed:green:blue:alpha:">(), &c[0], &c[1], &c[2], &c[3]);
    return c;
}

Value sizeValue(double width, double height) { return objc::StructValue{"{CGSize=dd}", {width, height}}; }

// The test program has the toolkit compiled in rather than loaded, so it attaches the list itself.
class CategoryMethods : public testing::Test {
protected:
    static void SetUpTestSuite() { objc_attachImage(objc_catlist); }
    objc::AutoreleasePool pool_;
    id red_ = UIColor::colorWithRGBA(1, 0, 0, 1);
    id translucent_ = UIColor::colorWithRGBA(0.2, 0.4, 0.6, 0.5);
    id glyph_ = uniformImage(4, 4, {0, 0, 0, 255});
};

TEST_F(CategoryMethods, ColourInstanceMethodsAnswerAsTheirFunctions) {
    for (id colour : {red_, translucent_, static_cast<id>(UIColor::colorWithWhite(0.9, 1))}) {
        EXPECT_EQ(componentsOf(sendFromData(colour, "lighterColor")), componentsOf(lighterColor(colour)));
        EXPECT_EQ(componentsOf(sendFromData(colour, "darkerColor")), componentsOf(darkerColor(colour)));
        EXPECT_EQ(componentsOf(sendFromData(colour, "inverseColor")), componentsOf(inverseColor(colour)));
        EXPECT_EQ(componentsOf(sendFromData(colour, "offsetColor")), componentsOf(offsetColor(colour)));
        EXPECT_EQ(componentsOf(sendFromData(colour, "midColorFrom:", {red_})), componentsOf(midColorFrom(colour, red_)));
        EXPECT_EQ(std::get<bool>(sendValue(colour, "isLightColor")), isLightColor(colour));
        EXPECT_TRUE(isSameImage(sendFromData(colour, "thumbnailWithSize:", {sizeValue(3, 2)}), thumbnailWithSize(colour, {3, 2})));
    }
    // Typed sends reach the same methods, and a message to nil answers nil.
    EXPECT_EQ(componentsOf(msg<id>(red_, sel<"lighterColor">())), componentsOf(lighterColor(red_)));
    EXPECT_EQ(msg<id>(static_cast<id>(nullptr), sel<"lighterColor">()), nullptr);
}

TEST_F(CategoryMethods, ColourClassMethodsAnswerAsTheirFunctions) {
    id colourClass = classObject("UIColor");
    for (const char* text : {"#FF2D55", "#fdfdfd", "red", "#"}) {
        id string = objc::str(text);
        EXPECT_EQ(componentsOf(sendFromData(colourClass, "tw_colorFromHexString:", {string})),
                  componentsOf(tw_colorFromHexString(string)))
            << text;
    }
    EXPECT_EQ(objc::utf8(sendFromData(colourClass, "tw_hexStringFromColor:", {translucent_})), objc::utf8(tw_hexStringFromColor(translucent_)));
    EXPECT_EQ(sendFromData(colourClass, "tw_hexStringFromColor:", {Value()}), nullptr) << "a nil colour gives nil";
    Value bounds = objc::StructValue{"{CGRect=dddd}", {0, 0, 5, 3}};
    EXPECT_TRUE(isSameImage(sendFromData(colourClass, "imageWithColor:andBounds:", {red_, bounds}),
                            imageWithColorAndBounds(red_, CGRectMake(0, 0, 5, 3))));

    id halves = pixels::imageOf({{{0, 0, 0, 255}, {255, 255, 255, 255}}, {{0, 0, 0, 255}, {255, 255, 255, 255}}});
    for (long long detail : {0LL, 1LL}) {
        id sent = sendFromData(colourClass, "mainColoursInImage:detail:", {halves, Value(detail)});
        EXPECT_EQ(msg<unsigned long>(sent, sel<"count">()), msg<unsigned long>(mainColoursInImage(halves, int(detail)), sel<"count">()));
    }
    EXPECT_EQ(componentsOf(sendFromData(colourClass, "averageColorForImage:", {halves})), componentsOf(averageColorForImage(halves)));
    id whiteImage = uniformImage(2, 2, {255, 255, 255, 255});
    for (id image : {whiteImage, halves}) {
        EXPECT_EQ(std::get<bool>(sendValue(colourClass, "imageIsAllWhite:", {image})), imageIsAllWhite(image));
        testing::internal::CaptureStderr();  // the light test logs every pixel
        EXPECT_EQ(std::get<bool>(sendValue(colourClass, "imageIsLightColor:", {image})), imageIsLightColor(image));
        testing::internal::GetCapturedStderr();
    }
}

TEST_F(CategoryMethods, ImageMethodsAnswerAsTheirFunctions) {
    EXPECT_TRUE(isSameImage(sendFromData(glyph_, "imageWithTint:", {red_}), imageWithTint(glyph_, red_)));
    EXPECT_TRUE(isSameImage(sendFromData(glyph_, "roundedImageWithRadius:", {Value(1.0)}), roundedImageWithRadius(glyph_, 1.0)));
    EXPECT_EQ(sendFromData(glyph_, "roundedImageWithRadius:", {Value(0.0)}), glyph_) << "radius 0 answers the receiver";
    EXPECT_TRUE(isSameImage(sendFromData(glyph_, "scaledToSize:", {sizeValue(2, 2)}), scaledToSize(glyph_, {2, 2})));
    EXPECT_TRUE(isSameImage(sendFromData(glyph_, "vImageScaledImageWithSize:", {sizeValue(2, 2)}),
                            vImageScaledImageWithSize(glyph_, {2, 2})));
    EXPECT_THROW(sendFromData(glyph_, "vImageScaledImageWithSize:", {sizeValue(0, 2)}), NSException) << "the method raises as its function";
    EXPECT_TRUE(isSameImage(sendFromData(glyph_, "imageWithBrightness:", {Value(0.5)}), imageWithBrightness(glyph_, 0.5)));
    EXPECT_EQ(componentsOf(sendFromData(glyph_, "averageColor")), componentsOf(averageColor(glyph_)));
    EXPECT_EQ(std::get<double>(sendValue(glyph_, "luminosity")), luminosity(glyph_));
    EXPECT_TRUE(isSameImage(sendFromData(glyph_, "removeWhiteColor"), removeWhiteColor(glyph_)));
    EXPECT_TRUE(std::get<bool>(sendValue(glyph_, "isSameImage:", {glyph_})));
    EXPECT_FALSE(std::get<bool>(sendValue(glyph_, "isSameImage:", {Value()})));
    EXPECT_EQ(std::get<bool>(sendValue(glyph_, "hasAlpha")), hasAlpha(glyph_));

    // The caller owns the buffer, as with the function.
    auto* sent = static_cast<unsigned char*>(std::get<void*>(sendValue(glyph_, "rgbaPixels")));
    RGBAPixels expected = rgbaPixels(glyph_);
    ASSERT_NE(sent, nullptr);
    EXPECT_EQ(std::memcmp(sent, expected.get(), 4 * 4 * 4), 0);
    std::free(sent);
}

TEST_F(CategoryMethods, AttributedStringsRecolourThroughTheRuntime) {
    id attributes = msg<id>(NSDictionary::class_(), sel<"dictionaryWithObject:forKey:">(), red_, static_cast<id>(NSForegroundColorAttributeName));
    id text = objc::autorelease(msg<id>(msg<id>(NSAttributedString::class_(), sel<"alloc">()), sel<"initWithString:attributes:">(),
                                        static_cast<id>(objc::str("ab")), attributes));
    EXPECT_EQ(sendFromData(text, "replaceColorsWith:", {red_}), text) << "the first colour already matches";
    id recoloured = sendFromData(text, "replaceColorsWith:", {translucent_});
    EXPECT_NE(recoloured, text);
    id colour = msg<id>(msg<id>(recoloured, sel<"attributesAtIndex:effectiveRange:">(), 1UL, static_cast<NSRange*>(nullptr)),
                        sel<"objectForKey:">(), static_cast<id>(NSForegroundColorAttributeName));
    EXPECT_EQ(componentsOf(colour), componentsOf(translucent_));
}

TEST_F(CategoryMethods, MagicienIsARuntimeClassWithSendableClassMethods) {
    Class cls = objc_getClass("Magicien");
    ASSERT_NE(cls, nullptr);
    EXPECT_EQ(cls, Magicien::class_());
    id source = objc::str("UIViewNSObject");
    EXPECT_EQ(objc::utf8(sendFromData(reinterpret_cast<id>(cls), "hashSaltUsingSHA1:", {source})),
              objc::utf8(Magicien::hashSaltUsingSHA1(source)));
    auto store = objc::adopt(sendFromData(reinterpret_cast<id>(cls), "newWithSaltUnsafe:", {source}));
    EXPECT_EQ(objc::utf8(msg<id>(store.get(), sel<"salt">())), objc::utf8(Magicien::hashSaltUsingSHA1(source)));
    EXPECT_EQ(objc::utf8(sendFromData(reinterpret_cast<id>(cls), "printHex:", {objc::str("AB")})),
              objc::utf8(Magicien::printHex(objc::str("AB"))));
}

}  // namespace
