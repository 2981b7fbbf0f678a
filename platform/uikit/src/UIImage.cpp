// UIImage: construction from bitmaps, Core Image images, files and names; size, modes and upright drawing.
#include "Registration.h"

#include <CoreGraphics/CGImagePNG.h>
#include <Foundation/Foundation.h>
#include <UIKit/UIGraphics.h>
#include <UIKit/UIImage.h>
#include <device/device.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <mutex>
#include <numbers>
#include <regex>

namespace {

Class gUIImage = nullptr;

std::mutex gProviderLock;
platform::NamedImageProvider gNamedImageProvider;

bool isSideways(long orientation) {
    return orientation == UIImageOrientationLeft || orientation == UIImageOrientationRight ||
           orientation == UIImageOrientationLeftMirrored || orientation == UIImageOrientationRightMirrored;
}

long validOrientation(long orientation) {
    return orientation >= UIImageOrientationUp && orientation <= UIImageOrientationRightMirrored ? orientation : UIImageOrientationUp;
}

double validScale(double scale) { return std::isfinite(scale) && scale > 0 ? scale : 1.0; }

// Takes over nothing: retains the bitmap. Releases the receiver and answers nil for NULL.
id initWithCGImage(UIImage* self, CGImageRef image, double scale, long orientation) {
    if (!image) {
        objc_release(self);
        return nil;
    }
    CGImageRelease(self->cgImage);
    self->cgImage = CGImageRetain(image);
    self->scale = validScale(scale);
    self->orientation = validOrientation(orientation);
    return self;
}

id initWithCIImage(UIImage* self, id ciImage, double scale, long orientation) {
    if (!ciImage) {
        objc_release(self);
        return nil;
    }
    self->ciImage = objc::retain(ciImage);
    self->scale = validScale(scale);
    self->orientation = validOrientation(orientation);
    return self;
}

std::vector<uint8_t> readDeviceFile(const std::string& devicePath) {
    auto hostPath = device::resolve(devicePath);
    if (!hostPath) return {};
    std::ifstream in(*hostPath, std::ios::binary);
    if (!in) return {};
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// "icon@2x.png" is drawn at scale 2, as the phone reads the scale from the file name.
double scaleFromFileName(const std::string& path) {
    static const std::regex suffix(R"(@([1-9])x\.[A-Za-z]+$)");
    std::smatch match;
    if (std::regex_search(path, match, suffix)) return std::stod(match[1].str());
    return 1.0;
}

id initWithPNGBytes(UIImage* self, const std::vector<uint8_t>& bytes, double scale) {
    CGImageRef image = bytes.empty() ? nullptr : CGImageCreateWithPNGData(bytes.data(), bytes.size());
    id result = initWithCGImage(self, image, scale, UIImageOrientationUp);
    CGImageRelease(image);
    return result;
}

id initWithContentsOfFile(UIImage* self, id path) {
    if (!path) {
        objc_release(self);
        return nil;
    }
    std::string devicePath = objc::utf8(path);
    return initWithPNGBytes(self, readDeviceFile(devicePath), scaleFromFileName(devicePath));
}

id initWithData(UIImage* self, id data, double scale) {
    auto* bytes = static_cast<const uint8_t*>(msg<const void*>(data, sel<"bytes">()));
    auto length = msg<unsigned long>(data, sel<"length">());
    return initWithPNGBytes(self, bytes ? std::vector<uint8_t>(bytes, bytes + length) : std::vector<uint8_t>{}, scale);
}

UIImage* newImage(Class cls = gUIImage) { return static_cast<UIImage*>(class_createInstance(cls)); }

// A copy of the receiver's picture and properties in an instance of `cls`.
UIImage* copyImage(UIImage* source, Class cls) {
    UIImage* copy = newImage(cls);
    copy->cgImage = CGImageRetain(source->cgImage);
    copy->ciImage = source->ciImage;
    copy->scale = source->scale;
    copy->orientation = source->orientation;
    copy->renderingMode = source->renderingMode;
    copy->capInsets = source->capInsets;
    return copy;
}

// The transform that turns the stored pixels into the displayed picture in a y-up space of
// the displayed size, so that drawing in (0, 0, stored width, stored height) afterwards
// shows the picture upright.
CGAffineTransform orientationTransform(long orientation, CGFloat width, CGFloat height) {
    using std::numbers::pi;
    CGAffineTransform t = CGAffineTransformIdentity;
    switch (orientation) {
    case UIImageOrientationDown:
    case UIImageOrientationDownMirrored:
        t = CGAffineTransformRotate(CGAffineTransformTranslate(t, width, height), pi);
        break;
    case UIImageOrientationLeft:
    case UIImageOrientationLeftMirrored:
        t = CGAffineTransformRotate(CGAffineTransformTranslate(t, width, 0), pi / 2);
        break;
    case UIImageOrientationRight:
    case UIImageOrientationRightMirrored:
        t = CGAffineTransformRotate(CGAffineTransformTranslate(t, 0, height), -pi / 2);
        break;
    default:
        break;
    }
    switch (orientation) {
    case UIImageOrientationUpMirrored:
    case UIImageOrientationDownMirrored:
        t = CGAffineTransformScale(CGAffineTransformTranslate(t, width, 0), -1, 1);
        break;
    case UIImageOrientationLeftMirrored:
    case UIImageOrientationRightMirrored:
        t = CGAffineTransformScale(CGAffineTransformTranslate(t, height, 0), -1, 1);
        break;
    default:
        break;
    }
    return t;
}

// UIKit contexts have a top-left origin while bitmaps are drawn bottom-up, so the image is
// flipped about the target rectangle to show upright, as the phone's drawInRect: does.
void drawInRect(UIImage* self, CGRect rect, CGBlendMode blendMode, double alpha) {
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context || !self->cgImage) return;
    rect = CGRectStandardize(rect);
    CGContextSaveGState(context);
    CGContextSetBlendMode(context, blendMode);
    CGContextSetAlpha(context, alpha);
    CGContextTranslateCTM(context, rect.origin.x, rect.origin.y + rect.size.height);
    CGContextScaleCTM(context, 1, -1);
    CGContextConcatCTM(context, orientationTransform(self->orientation, rect.size.width, rect.size.height));
    CGSize drawn = isSideways(self->orientation) ? CGSize{rect.size.height, rect.size.width} : rect.size;
    CGContextDrawImage(context, {{0, 0}, drawn}, self->cgImage);
    CGContextRestoreGState(context);
}

CGBlendMode blendModeFrom(int value) {
    return value >= kCGBlendModeNormal && value <= kCGBlendModePlusLighter ? static_cast<CGBlendMode>(value) : kCGBlendModeNormal;
}

template <auto Init, class... A>
id makeImage(A... args) {
    return objc::autorelease(Init(newImage(), args...));
}

}  // namespace

Class UIImage::class_() { return gUIImage; }

UIImage::~UIImage() { CGImageRelease(cgImage); }

UIImage* UIImage::imageWithCGImage(CGImageRef image, double scale, long orientation) {
    return static_cast<UIImage*>(makeImage<initWithCGImage>(image, scale, orientation));
}

CGSize UIImage::pointSize() const {
    CGSize pixels{};
    if (cgImage) {
        pixels = {static_cast<double>(CGImageGetWidth(cgImage)), static_cast<double>(CGImageGetHeight(cgImage))};
    } else if (ciImage) {
        pixels = msg<CGRect>(ciImage.get(), sel<"extent">()).size;
    }
    if (isSideways(orientation)) std::swap(pixels.width, pixels.height);
    return {pixels.width / scale, pixels.height / scale};
}

namespace platform {

void setNamedImageProvider(NamedImageProvider provider) {
    std::lock_guard lock(gProviderLock);
    gNamedImageProvider = std::move(provider);
}

}  // namespace platform

namespace platform::uikit {

void registerUIImage() {
    using objc::ClassBuilder;
    gUIImage =
        ClassBuilder<UIImage>("UIImage", NSObject::class_())
            .classMethod(sel<"imageNamed:">(),
                         [](Class self, SEL, id name) {
                             return msg<id>(self, sel<"imageNamed:inBundle:compatibleWithTraitCollection:">(), name,
                                            static_cast<id>(nil), static_cast<id>(nil));
                         })
            .classMethod(sel<"imageNamed:inBundle:compatibleWithTraitCollection:">(),
                         [](Class, SEL, id name, id bundle, id) -> id {
                             if (!name) return nil;
                             platform::NamedImageProvider provider;
                             {
                                 std::lock_guard lock(gProviderLock);
                                 provider = gNamedImageProvider;
                             }
                             return provider ? provider(objc::utf8(name), bundle) : nil;
                         })
            .classMethod(sel<"imageWithContentsOfFile:">(), [](Class, SEL, id path) { return makeImage<initWithContentsOfFile>(path); })
            .classMethod(sel<"imageWithData:">(), [](Class, SEL, id data) { return makeImage<initWithData>(data, 1.0); })
            .classMethod(sel<"imageWithData:scale:">(), [](Class, SEL, id data, double scale) { return makeImage<initWithData>(data, scale); })
            .classMethod(sel<"imageWithCGImage:">(),
                         [](Class, SEL, CGImageRef image) { return makeImage<initWithCGImage>(image, 1.0, UIImageOrientationUp); })
            .classMethod(sel<"imageWithCGImage:scale:orientation:">(),
                         [](Class, SEL, CGImageRef image, double scale, long orientation) {
                             return makeImage<initWithCGImage>(image, scale, orientation);
                         })
            .classMethod(sel<"imageWithCIImage:">(),
                         [](Class, SEL, id ciImage) { return makeImage<initWithCIImage>(ciImage, 1.0, UIImageOrientationUp); })
            .classMethod(sel<"imageWithCIImage:scale:orientation:">(),
                         [](Class, SEL, id ciImage, double scale, long orientation) {
                             return makeImage<initWithCIImage>(ciImage, scale, orientation);
                         })
            .method(sel<"initWithCGImage:">(),
                    [](UIImage* self, SEL, CGImageRef image) { return initWithCGImage(self, image, 1.0, UIImageOrientationUp); })
            .method(sel<"initWithCGImage:scale:orientation:">(),
                    [](UIImage* self, SEL, CGImageRef image, double scale, long orientation) {
                        return initWithCGImage(self, image, scale, orientation);
                    })
            .method(sel<"initWithCIImage:">(),
                    [](UIImage* self, SEL, id ciImage) { return initWithCIImage(self, ciImage, 1.0, UIImageOrientationUp); })
            .method(sel<"initWithContentsOfFile:">(), [](UIImage* self, SEL, id path) { return initWithContentsOfFile(self, path); })
            .method(sel<"initWithData:">(), [](UIImage* self, SEL, id data) { return initWithData(self, data, 1.0); })
            .method(sel<"size">(), [](UIImage* self, SEL) { return self->pointSize(); })
            .method(sel<"scale">(), [](UIImage* self, SEL) { return self->scale; })
            .method(sel<"imageOrientation">(), [](UIImage* self, SEL) { return self->orientation; })
            .method(sel<"renderingMode">(), [](UIImage* self, SEL) { return self->renderingMode; })
            .method(sel<"CGImage">(), [](UIImage* self, SEL) { return self->cgImage; })
            .method(sel<"CIImage">(), [](UIImage* self, SEL) -> id { return self->ciImage.get(); })
            .method(sel<"capInsets">(), [](UIImage* self, SEL) { return self->capInsets; })
            .method(sel<"imageWithRenderingMode:">(),
                    [](UIImage* self, SEL, long mode) -> id {
                        if (mode == self->renderingMode) return self;
                        UIImage* copy = copyImage(self, object_getClass(self));
                        copy->renderingMode = mode;
                        return objc::autorelease(copy);
                    })
            .method(sel<"resizableImageWithCapInsets:">(),
                    [](UIImage* self, SEL, UIEdgeInsets insets) -> id {
                        Class resizable = objc_getClass("_UIResizableImage");
                        UIImage* copy = copyImage(self, resizable ? resizable : object_getClass(self));
                        copy->capInsets = insets;
                        return objc::autorelease(copy);
                    })
            .method(sel<"imageWithAlignmentRectInsets:">(), [](UIImage* self, SEL, UIEdgeInsets) -> id { return self; })
            .method(sel<"imageFlippedForRightToLeftLayoutDirection">(), [](UIImage* self, SEL) -> id { return self; })
            .method(sel<"drawInRect:">(), [](UIImage* self, SEL, CGRect rect) { drawInRect(self, rect, kCGBlendModeNormal, 1.0); })
            .method(sel<"drawInRect:blendMode:alpha:">(),
                    [](UIImage* self, SEL, CGRect rect, int mode, double alpha) { drawInRect(self, rect, blendModeFrom(mode), alpha); })
            .method(sel<"drawAtPoint:">(),
                    [](UIImage* self, SEL, CGPoint point) {
                        drawInRect(self, {point, self->pointSize()}, kCGBlendModeNormal, 1.0);
                    })
            .method(sel<"drawAtPoint:blendMode:alpha:">(),
                    [](UIImage* self, SEL, CGPoint point, int mode, double alpha) {
                        drawInRect(self, {point, self->pointSize()}, blendModeFrom(mode), alpha);
                    })
            .method(sel<"description">(),
                    [](UIImage* self, SEL) {
                        CGSize size = self->pointSize();
                        return objc::format("<%s: %p>, {%g, %g}", class_getName(object_getClass(self)), static_cast<void*>(self),
                                            size.width, size.height);
                    })
            .registerClass();
}

}  // namespace platform::uikit
