// PSSpecifier: properties, getter and setter sent to the target, and button actions checked against the target's methods.
#include "Registration.h"

#include <Foundation/Foundation.h>
#include <Preferences/PSSpecifier.h>

#include <cstring>

namespace {

Class gPSSpecifier = nullptr;

using Self = PSSpecifier;

PSSpecifier* newSpecifier(NSString* name, long cellType) {
    auto* specifier = objc::createInstance<PSSpecifier>();
    specifier->properties = objc::adopt(static_cast<NSMutableDictionary*>(msg<id>(msg<id>(NSMutableDictionary::class_(), sel<"alloc">()), sel<"init">())));
    specifier->name = objc::retain(name);
    specifier->identifier = objc::retain(name);
    specifier->cellType = cellType;
    return objc::autorelease(specifier);
}

// Keeps the string properties the phone mirrors in its own fields ("label", "id") in step
// with them, so that a specifier made in code reads the same as one loaded from a file.
void setProperty(PSSpecifier* self, id value, id key) {
    if (!key) return;
    if (value) msg<void>(self->properties.get(), sel<"setObject:forKey:">(), value, key);
    else msg<void>(self->properties.get(), sel<"removeObjectForKey:">(), key);
}

}  // namespace

Class PSSpecifier::class_() { return gPSSpecifier; }

NSString* PSSpecifier::stringProperty(const char* key) const {
    id value = properties ? properties->objectForKey(objc::str(key)) : nullptr;
    return object_isKindOfClass(value, NSString::class_()) ? static_cast<NSString*>(value) : nullptr;
}

namespace platform {

bool respondsWithSignature(id target, SEL selector, const char* types) {
    if (!target || !selector) return false;
    Method method = class_getInstanceMethod(object_getClass(target), selector);
    return method && std::strcmp(method_getTypeEncoding(method), types) == 0;
}

bool performButtonAction(PSSpecifier* specifier) {
    if (!specifier || !specifier->buttonAction || !specifier->target) return false;
    id target = specifier->target;
    SEL action = specifier->buttonAction;
    if (respondsWithSignature(target, action, objc::Signature<void>::value.view().data())) {
        msg<void>(target, action);
        return true;
    }
    if (respondsWithSignature(target, action, objc::Signature<void, id>::value.view().data())) {
        msg<void>(target, action, static_cast<id>(specifier));
        return true;
    }
    return false;
}

}  // namespace platform

namespace platform::preferences {

void registerPSSpecifier() {
    gPSSpecifier =
        objc::ClassBuilder<PSSpecifier>("PSSpecifier", NSObject::class_())
            .classMethod(sel<"preferenceSpecifierNamed:target:set:get:detail:cell:edit:">(),
                         [](Class, SEL, NSString* name, id target, SEL setter, SEL getter, Class detail, long cell, Class edit) {
                             PSSpecifier* specifier = newSpecifier(name, cell);
                             specifier->target = target;
                             specifier->setter = setter;
                             specifier->getter = getter;
                             specifier->detailControllerClass = detail;
                             specifier->editPaneClass = edit;
                             if (name) setProperty(specifier, name, NSSTR("label"));
                             return specifier;
                         })
            .classMethod(sel<"groupSpecifierWithName:">(), [](Class, SEL, NSString* name) { return newSpecifier(name, PSGroupCell); })
            .classMethod(sel<"emptyGroupSpecifier">(), [](Class, SEL) { return newSpecifier(nullptr, PSGroupCell); })
            .method(sel<"propertyForKey:">(), [](Self* self, SEL, id key) -> id { return key ? self->properties->objectForKey(key) : nullptr; })
            .method(sel<"setProperty:forKey:">(), [](Self* self, SEL, id value, id key) { setProperty(self, value, key); })
            .method(sel<"removePropertyForKey:">(), [](Self* self, SEL, id key) { setProperty(self, nullptr, key); })
            .method(sel<"properties">(), [](Self* self, SEL) -> id { return self->properties.get(); })
            .method(sel<"name">(), [](Self* self, SEL) { return self->name.get(); })
            .method(sel<"setName:">(), [](Self* self, SEL, NSString* name) { self->name = objc::retain(name); })
            .method(sel<"identifier">(), [](Self* self, SEL) { return self->identifier.get(); })
            .method(sel<"setIdentifier:">(), [](Self* self, SEL, NSString* identifier) { self->identifier = objc::retain(identifier); })
            .method(sel<"cellType">(), [](Self* self, SEL) { return self->cellType; })
            .method(sel<"setCellType:">(), [](Self* self, SEL, long type) { self->cellType = type; })
            .method(sel<"target">(), [](Self* self, SEL) { return self->target; })
            .method(sel<"setTarget:">(), [](Self* self, SEL, id target) { self->target = target; })
            .method(sel<"getter">(), [](Self* self, SEL) { return self->getter; })
            .method(sel<"setter">(), [](Self* self, SEL) { return self->setter; })
            .method(sel<"setGetter:">(), [](Self* self, SEL, SEL getter) { self->getter = getter; })
            .method(sel<"setSetter:">(), [](Self* self, SEL, SEL setter) { self->setter = setter; })
            .method(sel<"detailControllerClass">(), [](Self* self, SEL) { return self->detailControllerClass; })
            .method(sel<"setDetailControllerClass:">(), [](Self* self, SEL, Class cls) { self->detailControllerClass = cls; })
            .method(sel<"buttonAction">(), [](Self* self, SEL) { return self->buttonAction; })
            .method(sel<"setButtonAction:">(), [](Self* self, SEL, SEL action) { self->buttonAction = action; })
            .method(sel<"values">(), [](Self* self, SEL) { return self->values.get(); })
            .method(sel<"titleDictionary">(), [](Self* self, SEL) { return self->titleDictionary.get(); })
            .method(sel<"setValues:titles:">(),
                    [](Self* self, SEL, NSArray* values, NSArray* titles) {
                        // Pairs up as many values as there are titles; a value without a title shows itself.
                        self->values = objc::retain(values);
                        NSDictionary::Entries entries;
                        if (values)
                            for (std::size_t i = 0; i < values->count(); ++i) {
                                id value = values->objects()[i].get();
                                id title = titles && i < titles->count() ? titles->objects()[i].get() : value;
                                entries.push_back({objc::retain(value), objc::retain(title)});
                            }
                        self->titleDictionary = NSDictionary::create(std::move(entries));
                    })
            .method(sel<"performGetter">(),
                    [](Self* self, SEL) -> id {
                        if (!platform::respondsWithSignature(self->target, self->getter, objc::Signature<id, id>::value.view().data()))
                            return nullptr;
                        return msg<id>(self->target, self->getter, static_cast<id>(self));
                    })
            .method(sel<"performSetterWithValue:">(),
                    [](Self* self, SEL, id value) {
                        if (platform::respondsWithSignature(self->target, self->setter, objc::Signature<void, id, id>::value.view().data()))
                            msg<void>(self->target, self->setter, value, static_cast<id>(self));
                    })
            .method(sel<"description">(),
                    [](Self* self, SEL) -> NSString* {
                        return objc::format("<PSSpecifier %p: ID %@, Name %@ cell %ld>", static_cast<void*>(self), self->identifier.get(),
                                            self->name.get(), self->cellType);
                    })
            .registerClass();
}

}  // namespace platform::preferences
