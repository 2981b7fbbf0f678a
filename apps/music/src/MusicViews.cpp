// The Music-app classes with behaviour of their own: artwork, index, fields, drawn text, the circle's fill, shape layers, the play button and the onboarding backdrop.
#include "MusicViews.h"

#include <CoreGraphics/CGColor.h>
#include <CoreGraphics/CGGeometry.h>
#include <Foundation/NSArray.h>
#include <Foundation/NSAttributedString.h>
#include <Foundation/NSDictionary.h>
#include <Foundation/NSString.h>
#include <UIKit/NSStringDrawing.h>
#include <objc/ClassBuilder.h>
#include <objc/Strong.h>
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

// The implementation `cls`'s superclass has for `cmd`, for a method that extends it.
IMP inheritedImplementation(Class cls, SEL cmd) {
    return method_getImplementation(class_getInstanceMethod(class_getSuperclass(cls), cmd));
}

// Classes whose methods extend their superclass's; each is set when its class is registered.
Class gArtworkView = nil;
Class gIndexBar = nil;
Class gTextStack = nil;

// A template glyph image view from the app's catalogue: it draws in the tint it inherits.
id templateGlyphView(const char* name, CGRect frame) {
    id image = msg<id>(objc_getClass("UIImage"), sel<"imageNamed:">(), static_cast<id>(objc::str(name)));
    id view = msg<id>(msg<id>(objc_getClass("UIImageView"), sel<"alloc">()), sel<"initWithFrame:">(), frame);
    msg(view, sel<"setImage:">(), msg<id>(image, sel<"imageWithRenderingMode:">(), 2L));
    return objc::autorelease(view);
}

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
    // Drawn from the variable, not the getter: the circle is what the variable holds.
    objc::addMethod(cls, sel<"drawRect:">(), [](id self, SEL, CGRect) {
        id* slot = ivarSlot(self, "fillColor");
        if (!slot || !*slot) return;
        msg(*slot, sel<"setFill">());
        msg(msg<id>(objc_getClass("UIBezierPath"), sel<"bezierPathWithOvalInRect:">(), msg<CGRect>(self, sel<"bounds">())), sel<"fill">());
    });
}

// The artwork view outlines its art with a hairline in its tint, faint enough to show only
// where the art meets a page of the same colour.
void addArtworkView(Class cls) {
    gArtworkView = cls;
    objc::addMethod(cls, sel<"tintColorDidChange">(), [](id self, SEL cmd) {
        objc::callIMP<void>(inheritedImplementation(gArtworkView, cmd), self, cmd);
        id outline = msg<id>(msg<id>(self, sel<"tintColor">()), sel<"colorWithAlphaComponent:">(), 0.12);
        id layer = msg<id>(self, sel<"layer">());
        msg(layer, sel<"setBorderColor:">(), msg<CGColorRef>(outline, sel<"CGColor">()));
        msg(layer, sel<"setBorderWidth:">(), outline ? 0.5 : 0.0);
    });
}

// The index draws its letters in its tint colour, as a control draws its content.
void addIndexBar(Class cls) {
    gIndexBar = cls;
    objc::addMethod(cls, sel<"layoutSubviews">(), [](id self, SEL cmd) {
        objc::callIMP<void>(inheritedImplementation(gIndexBar, cmd), self, cmd);
        id tint = msg<id>(self, sel<"tintColor">());
        for (id letter : static_cast<NSArray*>(msg<id>(self, sel<"subviews">())))
            if (msg<bool>(letter, sel<"isKindOfClass:">(), objc_getClass("UILabel"))) msg(letter, sel<"setTextColor:">(), tint);
    });
}

// The app's text fields carry a magnifier at their trailing end, a template glyph in the
// field's tint; it is made on the first layout pass and kept.
void addGlyphField(Class cls) {
    addObjectIvar(cls, "glyphView");
    objc::addMethod(cls, sel<"layoutSubviews">(), [](id self, SEL cmd) {
        // Both fields are UITextFields of their own, so the field's layout is UITextField's.
        objc::callIMP<void>(method_getImplementation(class_getInstanceMethod(objc_getClass("UITextField"), cmd)), self, cmd);
        id* slot = ivarSlot(self, "glyphView");
        if (!slot) return;
        CGRect bounds = msg<CGRect>(self, sel<"bounds">());
        CGRect frame{{bounds.size.width - 26, (bounds.size.height - 16) / 2}, {16, 16}};
        if (!*slot) {
            *slot = objc_retain(templateGlyphView("Search", frame));
            msg(self, sel<"addSubview:">(), *slot);
        }
        msg(*slot, sel<"setFrame:">(), frame);
    });
}

// Music.Text.StackView lays its drawn lines out one under the other, each as tall as it is.
void addTextStack(Class cls) {
    gTextStack = cls;
    objc::addMethod(cls, sel<"layoutSubviews">(), [](id self, SEL cmd) {
        objc::callIMP<void>(inheritedImplementation(gTextStack, cmd), self, cmd);
        double width = msg<CGRect>(self, sel<"bounds">()).size.width, y = 0;
        for (id line : static_cast<NSArray*>(msg<id>(self, sel<"subviews">()))) {
            CGRect frame = msg<CGRect>(line, sel<"frame">());
            msg(line, sel<"setFrame:">(), CGRect{{0, y}, {width, frame.size.height}});
            y += frame.size.height;
        }
    });
}

// Music.Text.Drawing.View draws its string itself, in its own font and colour, rather than
// through a label.
void addTextDrawingView(Class cls) {
    addObjectIvar(cls, "text");
    addObjectIvar(cls, "font");
    addObjectIvar(cls, "textColor");
    objc::addMethod(cls, sel<"text">(), [](id self, SEL) -> id { return *ivarSlot(self, "text"); });
    objc::addMethod(cls, sel<"setText:">(), [](id self, SEL, id text) {
        id copy = msg<id>(text, sel<"copy">());
        objc_release(std::exchange(*ivarSlot(self, "text"), copy));
        msg(self, sel<"setNeedsDisplay">());
    });
    objc::addMethod(cls, sel<"setFont:">(), [](id self, SEL, id font) {
        objc_release(std::exchange(*ivarSlot(self, "font"), objc_retain(font)));
        msg(self, sel<"setNeedsDisplay">());
    });
    objc::addMethod(cls, sel<"setTextColor:">(), [](id self, SEL, id color) {
        objc_release(std::exchange(*ivarSlot(self, "textColor"), objc_retain(color)));
        msg(self, sel<"setNeedsDisplay">());
    });
    objc::addMethod(cls, sel<"drawRect:">(), [](id self, SEL, CGRect rect) {
        id text = *ivarSlot(self, "text");
        id font = *ivarSlot(self, "font");
        id color = *ivarSlot(self, "textColor");
        if (!text) return;
        if (!font) font = msg<id>(objc_getClass("UIFont"), sel<"systemFontOfSize:">(), 17.0);
        if (!color) color = msg<id>(objc_getClass("UIColor"), sel<"blackColor">());
        id attributes = objc::dict({{NSFontAttributeName, font}, {NSForegroundColorAttributeName, color}});
        msg(text, sel<"drawWithRect:options:attributes:context:">(), rect, NSStringDrawingUsesLineFragmentOrigin, attributes, static_cast<id>(nullptr));
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
