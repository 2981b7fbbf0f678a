// The Music-app classes with behaviour of their own: the circle's fill, shape layers, the play button and the onboarding backdrop.
#include "MusicViews.h"

#include <CoreGraphics/CGGeometry.h>
#include <objc/ClassBuilder.h>
#include <objc/message.h>

#include <utility>

namespace music {

namespace {

// The address of an object instance variable of `self`, found by name on its class.
id* ivarSlot(id self, const char* name) {
    Ivar ivar = class_getInstanceVariable(object_getClass(self), name);
    return ivar ? reinterpret_cast<id*>(reinterpret_cast<char*>(self) + ivar_getOffset(ivar)) : nullptr;
}

// Strong: the runtime releases "@" variables when the instance goes.
void addObjectIvar(Class cls, const char* name) { class_addIvar(cls, name, sizeof(id), alignof(id), "@"); }

// The class whose viewDidLoad the onboarding controller extends; set when it is registered.
Class gOnboardingController = nil;

}  // namespace

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

// Layer properties such as strokeColor are sent to these views' layers directly.
void addShapeLayerView(Class cls) {
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

// The onboarding screen builds its backdrop once its view has loaded, after UIKit's own
// viewDidLoad, and keeps it for the screen's life: a translucent white sheet over the view.
void addOnboardingController(Class cls) {
    gOnboardingController = cls;
    addObjectIvar(cls, "backdropView");
    objc::addMethod(cls, sel<"viewDidLoad">(), [](id self, SEL cmd) {
        IMP inherited = method_getImplementation(class_getInstanceMethod(class_getSuperclass(gOnboardingController), cmd));
        objc::callIMP<void>(inherited, self, cmd);
        id* slot = ivarSlot(self, "backdropView");
        if (!slot || *slot) return;
        id view = msg<id>(self, sel<"view">());
        *slot = msg<id>(msg<id>(objc_getClass("UIView"), sel<"alloc">()), sel<"initWithFrame:">(), msg<CGRect>(view, sel<"bounds">()));
        msg(*slot, sel<"setBackgroundColor:">(), msg<id>(objc_getClass("UIColor"), sel<"colorWithWhite:alpha:">(), 1.0, 0.96));
        msg(view, sel<"addSubview:">(), *slot);
    });
    objc::addMethod(cls, sel<"backdropView">(), [](id self, SEL) -> id {
        id* slot = ivarSlot(self, "backdropView");
        return slot ? *slot : nil;
    });
}

}  // namespace music
