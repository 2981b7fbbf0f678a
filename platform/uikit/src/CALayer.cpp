// CALayer, CAShapeLayer and CAFilter: layer properties with retained Core Graphics colours.
#include "Collections.h"
#include "Registration.h"

#include <Foundation/Foundation.h>
#include <QuartzCore/CALayer.h>
#include <UIKit/UIView.h>

#include <algorithm>

namespace {

Class gCALayer = nullptr;
Class gCAShapeLayer = nullptr;
Class gCAFilter = nullptr;

// Stores a colour the layer keeps: the new one retained before the old one is released.
void replaceColor(CGColorRef& slot, CGColorRef color) {
    CGColorRef old = slot;
    slot = CGColorRetain(color);
    CGColorRelease(old);
}

CGColorRef opaqueBlack() {
    static CGColorRef black = [] {
        CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
        const CGFloat components[] = {0, 0, 0, 1};
        CGColorRef color = CGColorCreate(space, components);
        CGColorSpaceRelease(space);
        return color;
    }();
    return black;
}

void removeFromSuperlayer(CALayer* layer) {
    CALayer* parent = layer->superlayer;
    if (!parent) return;
    auto keep = objc::retain(layer);
    auto& list = parent->sublayers;
    list.erase(std::remove_if(list.begin(), list.end(), [&](auto& l) { return l.get() == layer; }), list.end());
    layer->superlayer = nullptr;
}

}  // namespace

Class CALayer::class_() { return gCALayer; }
Class CAShapeLayer::class_() { return gCAShapeLayer; }
Class CAFilter::class_() { return gCAFilter; }

CALayer::~CALayer() {
    for (auto& sub : sublayers) sub->superlayer = nullptr;
    CGColorRelease(backgroundColor);
    CGColorRelease(borderColor);
}

void CALayer::setBackgroundColor(CGColorRef color) { replaceColor(backgroundColor, color); }
void CALayer::setBorderColor(CGColorRef color) { replaceColor(borderColor, color); }

CAShapeLayer::CAShapeLayer() : fillColor(CGColorRetain(opaqueBlack())) {}

CAShapeLayer::~CAShapeLayer() {
    CGColorRelease(strokeColor);
    CGColorRelease(fillColor);
}

namespace platform::uikit {

void registerCALayer() {
    using objc::ClassBuilder;
    gCALayer =
        ClassBuilder<CALayer>("CALayer", NSObject::class_())
            .classMethod(sel<"layer">(), [](Class self, SEL) { return objc::autorelease(msg<id>(msg<id>(self, sel<"alloc">()), sel<"init">())); })
            .method(sel<"backgroundColor">(), [](CALayer* self, SEL) { return self->backgroundColor; })
            .method(sel<"setBackgroundColor:">(), [](CALayer* self, SEL, CGColorRef color) { self->setBackgroundColor(color); })
            .method(sel<"borderColor">(), [](CALayer* self, SEL) { return self->borderColor; })
            .method(sel<"setBorderColor:">(), [](CALayer* self, SEL, CGColorRef color) { self->setBorderColor(color); })
            .method(sel<"borderWidth">(), [](CALayer* self, SEL) { return self->borderWidth; })
            .method(sel<"setBorderWidth:">(), [](CALayer* self, SEL, double width) { self->borderWidth = width; })
            .method(sel<"cornerRadius">(), [](CALayer* self, SEL) { return self->cornerRadius; })
            .method(sel<"setCornerRadius:">(), [](CALayer* self, SEL, double radius) { self->cornerRadius = radius; })
            .method(sel<"masksToBounds">(), [](CALayer* self, SEL) { return self->masksToBounds; })
            .method(sel<"setMasksToBounds:">(), [](CALayer* self, SEL, BOOL masks) { self->masksToBounds = masks; })
            .method(sel<"opacity">(), [](CALayer* self, SEL) { return self->opacity; })
            .method(sel<"setOpacity:">(), [](CALayer* self, SEL, float opacity) { self->opacity = opacity; })
            .method(sel<"hidden">(), [](CALayer* self, SEL) { return self->hidden; })
            .method(sel<"isHidden">(), [](CALayer* self, SEL) { return msg<BOOL>(self, sel<"hidden">()); })
            .method(sel<"setHidden:">(), [](CALayer* self, SEL, BOOL hidden) { self->hidden = hidden; })
            .method(sel<"compositingFilter">(), [](CALayer* self, SEL) -> id { return self->compositingFilter.get(); })
            .method(sel<"setCompositingFilter:">(), [](CALayer* self, SEL, id filter) { self->compositingFilter = objc::retain(filter); })
            .method(sel<"frame">(), [](CALayer* self, SEL) { return self->frame; })
            .method(sel<"setFrame:">(), [](CALayer* self, SEL, CGRect frame) { self->frame = frame; })
            .method(sel<"bounds">(), [](CALayer* self, SEL) { return CGRect{{0, 0}, self->frame.size}; })
            .method(sel<"delegate">(), [](CALayer* self, SEL) -> id { return self->delegate; })
            .method(sel<"superlayer">(), [](CALayer* self, SEL) -> id { return self->superlayer; })
            .method(sel<"sublayers">(),
                    [](CALayer* self, SEL) -> id {
                        if (self->sublayers.empty()) return nil;
                        return arrayWithObjects(std::vector<id>(self->sublayers.begin(), self->sublayers.end()));
                    })
            .method(sel<"addSublayer:">(),
                    [](CALayer* self, SEL, CALayer* layer) {
                        for (CALayer* p = self; p; p = p->superlayer)
                            if (p == layer) return;
                        if (!layer) return;
                        auto keep = objc::retain(layer);
                        removeFromSuperlayer(layer);
                        self->sublayers.push_back(keep);
                        layer->superlayer = self;
                    })
            .method(sel<"removeFromSuperlayer">(), [](CALayer* self, SEL) { removeFromSuperlayer(self); })
            .registerClass();

    gCAShapeLayer =
        ClassBuilder<CAShapeLayer>("CAShapeLayer", gCALayer)
            .method(sel<"strokeColor">(), [](CAShapeLayer* self, SEL) { return self->strokeColor; })
            .method(sel<"setStrokeColor:">(), [](CAShapeLayer* self, SEL, CGColorRef color) { replaceColor(self->strokeColor, color); })
            .method(sel<"fillColor">(), [](CAShapeLayer* self, SEL) { return self->fillColor; })
            .method(sel<"setFillColor:">(), [](CAShapeLayer* self, SEL, CGColorRef color) { replaceColor(self->fillColor, color); })
            .method(sel<"lineWidth">(), [](CAShapeLayer* self, SEL) { return self->lineWidth; })
            .method(sel<"setLineWidth:">(), [](CAShapeLayer* self, SEL, double width) { self->lineWidth = width; })
            .method(sel<"strokeStart">(), [](CAShapeLayer* self, SEL) { return self->strokeStart; })
            .method(sel<"setStrokeStart:">(), [](CAShapeLayer* self, SEL, double value) { self->strokeStart = value; })
            .method(sel<"strokeEnd">(), [](CAShapeLayer* self, SEL) { return self->strokeEnd; })
            .method(sel<"setStrokeEnd:">(), [](CAShapeLayer* self, SEL, double value) { self->strokeEnd = value; })
            .registerClass();

    auto filterWithType = [](Class self, SEL, id type) -> id {
        auto* filter = static_cast<CAFilter*>(class_createInstance(self));
        filter->name = copyOf(type);
        return objc::autorelease(filter);
    };
    gCAFilter = ClassBuilder<CAFilter>("CAFilter", NSObject::class_())
                    .classMethod(sel<"filterWithType:">(), filterWithType)
                    .classMethod(sel<"filterWithName:">(), filterWithType)
                    .method(sel<"name">(), [](CAFilter* self, SEL) -> id { return self->name.get(); })
                    .method(sel<"type">(), [](CAFilter* self, SEL) -> id { return self->name.get(); })
                    .method(sel<"description">(), [](CAFilter* self, SEL) -> id { return self->name.get(); })
                    .registerClass();
}

}  // namespace platform::uikit
