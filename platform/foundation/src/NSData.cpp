// NSData and NSMutableData: byte buffers, read from and written to device files.
#include <Foundation/NSData.h>
#include <Foundation/NSString.h>

#include "DeviceFile.h"
#include "Internal.h"

#include <algorithm>

namespace {

Class gNSData = nullptr;
Class gNSMutableData = nullptr;

std::vector<std::uint8_t> copyBytes(const void* bytes, NSUInteger length) {
    if (!bytes || !length) return {};
    auto* begin = static_cast<const std::uint8_t*>(bytes);
    return std::vector<std::uint8_t>(begin, begin + length);
}

}  // namespace

Class NSData::class_() { return gNSData; }
Class NSMutableData::class_() { return gNSMutableData; }

objc::Strong<NSData> NSData::create(std::vector<std::uint8_t> bytes, Class cls) {
    auto d = objc::adopt(objc::createInstance<NSData>(cls ? cls : gNSData));
    d->bytes_ = std::move(bytes);
    return d;
}

NSData* objc::data(std::span<const std::uint8_t> bytes) {
    return foundation::autoreleased(NSData::create(std::vector<std::uint8_t>(bytes.begin(), bytes.end())));
}

NSData* objc::data(std::string_view bytes) {
    auto* begin = reinterpret_cast<const std::uint8_t*>(bytes.data());
    return data(std::span<const std::uint8_t>(begin, bytes.size()));
}

void NSData::registerClass() {
    using foundation::autoreleased;
    gNSData =
        objc::ClassBuilder<NSData>("NSData", NSObject::class_())
            .classMethod(sel<"data">(), [](Class cls, SEL) { return autoreleased(create({}, cls)); })
            .classMethod(sel<"dataWithBytes:length:">(),
                         [](Class cls, SEL, const void* bytes, NSUInteger length) { return autoreleased(create(copyBytes(bytes, length), cls)); })
            .classMethod(sel<"dataWithData:">(),
                         [](Class cls, SEL, NSData* other) { return autoreleased(create(other ? other->bytes_ : std::vector<std::uint8_t>{}, cls)); })
            .classMethod(sel<"dataWithContentsOfFile:">(),
                         [](Class cls, SEL, NSString* path) -> NSData* {
                             auto bytes = foundation::readDeviceFile(objc::utf8(path));
                             return bytes ? autoreleased(create(std::move(*bytes), cls)) : nullptr;
                         })
            .method(sel<"initWithBytes:length:">(),
                    [](NSData* self, SEL, const void* bytes, NSUInteger length) {
                        self->bytes_ = copyBytes(bytes, length);
                        return self;
                    })
            .method(sel<"initWithContentsOfFile:">(),
                    [](NSData* self, SEL, NSString* path) -> NSData* {
                        auto bytes = foundation::readDeviceFile(objc::utf8(path));
                        if (!bytes) {
                            objc_release(self);
                            return nullptr;
                        }
                        self->bytes_ = std::move(*bytes);
                        return self;
                    })
            .method(sel<"bytes">(), [](NSData* self, SEL) -> const void* { return self->bytes_.data(); })
            .method(sel<"length">(), [](NSData* self, SEL) -> NSUInteger { return self->bytes_.size(); })
            .method(sel<"isEqual:">(),
                    [](NSData* self, SEL, id other) -> BOOL {
                        auto* d = foundation::as<NSData>(other);
                        return d && d->bytes_ == self->bytes_;
                    })
            .method(sel<"isEqualToData:">(), [](NSData* self, SEL, NSData* other) -> BOOL { return other && other->bytes_ == self->bytes_; })
            .method(sel<"hash">(),
                    [](NSData* self, SEL) -> NSUInteger {
                        NSUInteger h = 1469598103934665603UL;  // FNV-1a over the first 80 bytes, as cheap as the phone's
                        for (std::size_t i = 0; i < std::min<std::size_t>(self->bytes_.size(), 80); ++i) h = (h ^ self->bytes_[i]) * 1099511628211UL;
                        return h ^ self->bytes_.size();
                    })
            .method(sel<"description">(),
                    [](NSData* self, SEL) -> NSString* {
                        static constexpr char kHex[] = "0123456789abcdef";
                        std::string out = "{length = " + std::to_string(self->bytes_.size()) + ", bytes = 0x";
                        std::size_t shown = std::min<std::size_t>(self->bytes_.size(), 24);
                        for (std::size_t i = 0; i < shown; ++i) {
                            out += kHex[self->bytes_[i] >> 4];
                            out += kHex[self->bytes_[i] & 0xF];
                        }
                        if (shown < self->bytes_.size()) out += "...";
                        return objc::str(out + "}");
                    })
            .method(sel<"copy">(),
                    [](NSData* self, SEL) -> id {
                        if (object_getClass(self) == gNSData) return objc_retain(self);
                        return create(self->bytes_).release();
                    })
            .method(sel<"mutableCopy">(), [](NSData* self, SEL) -> id { return create(self->bytes_, gNSMutableData).release(); })
            .method(sel<"writeToFile:atomically:">(),
                    [](NSData* self, SEL, NSString* path, BOOL atomically) -> BOOL {
                        return foundation::writeDeviceFile(objc::utf8(path), self->bytes_, atomically);
                    })
            .registerClass();
}

void NSMutableData::registerClass() {
    gNSMutableData = objc::ClassBuilder<NSMutableData>("NSMutableData", gNSData)
                         .method(sel<"appendBytes:length:">(),
                                 [](NSMutableData* self, SEL, const void* bytes, NSUInteger length) {
                                     auto added = copyBytes(bytes, length);
                                     self->bytes_.insert(self->bytes_.end(), added.begin(), added.end());
                                 })
                         .method(sel<"appendData:">(),
                                 [](NSMutableData* self, SEL, NSData* other) {
                                     if (!other) return;
                                     std::vector<std::uint8_t> added = other->bytes();  // `other` may be this data
                                     self->bytes_.insert(self->bytes_.end(), added.begin(), added.end());
                                 })
                         .method(sel<"mutableBytes">(), [](NSMutableData* self, SEL) -> void* { return self->bytes_.data(); })
                         .method(sel<"setLength:">(), [](NSMutableData* self, SEL, NSUInteger length) { self->bytes_.resize(length); })
                         .registerClass();
}
