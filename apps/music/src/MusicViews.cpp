// The Music-app classes with behaviour of their own: the circle's fill, shape layers and the play button.
#include "MusicViews.h"

#include <CoreGraphics/CGGeometry.h>
#include <objc/ClassBuilder.h>
#include <objc/message.h>

#include <array>
#include <utility>

namespace music {

namespace {

// The address of an object instance variable of `self`, found by name on its class.
id* ivarSlot(id self, const char* name) {
    Ivar ivar = class_getInstanceVariable(object_getClass(self), name);
    return ivar ? reinterpret_cast<id*>(reinterpret_cast<char*>(self) + ivar_getOffset(ivar)) : nullptr;
}

void addObjectIvar(Class cls, const char* name) { class_addIvar(cls, name, sizeof(id), alignof(id), "@"); }

// Music.CircleView keeps its colour in a Swift stored property, which the runtime sees as the
// instance variable "fillColor"; reading it goes through that variable, as the app's getter does.
void addCircleView(Class cls) {
    addObjectIvar(cls, "fillColor");
    objc::addMethod(cls, sel<"fillColor">(), [](id self, SEL) -> id {
        id* slot = ivarSlot(self, "fillColor");
        return slot ? *slot : nil;
    });
    objc::addMethod(cls, sel<"setFillColor:">(), [](id self, SEL, id color) {
        id* slot = ivarSlot(self, "fillColor");
        if (!slot) return;
        objc_release(std::exchange(*slot, objc_retain(color)));
        msg(self, sel<"setNeedsDisplay">());
    });
}

// Views drawn by a shape layer: layer properties such as strokeColor are sent to them directly.
void addShapeLayerClass(Class cls) {
    objc::addMethod(object_getClass(reinterpret_cast<id>(cls)), sel<"layerClass">(),
                    [](Class, SEL) -> Class { return objc_getClass("CAShapeLayer"); });
}

// The play button is made when first asked for, so that creating the view adds no subviews.
void addPlayIntentControls(Class cls) {
    addObjectIvar(cls, "playButton");
    objc::addMethod(cls, sel<"accessibilityPlayButton">(), [](id self, SEL) -> id {
        id* slot = ivarSlot(self, "playButton");
        if (!slot) return nil;
        if (!*slot) {
            *slot = msg<id>(msg<id>(objc_getClass("UIButton"), sel<"alloc">()), sel<"initWithFrame:">(), CGRect{});
            msg<id>(*slot, sel<"imageView">());
            msg(self, sel<"addSubview:">(), *slot);
        }
        return *slot;
    });
}

struct Behaviour {
    std::string_view runtimeName;
    AddBehaviour add;
};

constexpr std::array kBehaviours = {
    Behaviour{"_TtC5Music10CircleView", addCircleView},
    Behaviour{"_TtC5MusicP33_E266AE2617DB15E0278A9481B04FB1C59ShapeView", addShapeLayerClass},
    Behaviour{"_MusicDownloadProgressRingView", addShapeLayerClass},
    Behaviour{"_TtC5Music30PlayIntentControlsReusableView", addPlayIntentControls},
};

}  // namespace

AddBehaviour behaviourFor(std::string_view runtimeName) {
    for (const Behaviour& behaviour : kBehaviours)
        if (behaviour.runtimeName == runtimeName) return behaviour.add;
    return nullptr;
}

}  // namespace music
