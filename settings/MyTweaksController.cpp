// MyTweaksController: loads the "my_tweaks" page and opens package pages by display name.
#include "MyTweaksController.h"

#include "TarnPrefsConfiguration.h"

#include <Foundation/Foundation.h>
#include <UIKit/UIApplication.h>

namespace {

Class gMyTweaksController = nullptr;

void openPackageLink(PSSpecifier* specifier) {
    NSString* name = msg<NSString*>(specifier, sel<"name">());
    NSString* lowered = msg<NSString*>(name, sel<"lowercaseString">());
    NSString* compact = msg<NSString*>(lowered, sel<"stringByReplacingOccurrencesOfString:withString:">(), static_cast<id>(NSSTR(" ")),
                                       static_cast<id>(NSSTR("")));
    NSString* link = objc::format("https://%s/package/com.tarnwick.%@", tarnprefs::kPackageHost, compact);
    id url = msg<id>(NSURL::class_(), sel<"URLWithString:">(), static_cast<id>(link));
    msg<void>(msg<id>(UIApplication::class_(), sel<"sharedApplication">()), sel<"openURL:options:completionHandler:">(), url,
              static_cast<id>(objc::dict({})), static_cast<id>(nullptr));
}

}  // namespace

Class MyTweaksController::class_() { return gMyTweaksController; }

void MyTweaksController::registerClass() {
    gMyTweaksController =
        objc::ClassBuilder<MyTweaksController>("MyTweaksController", PSListController::class_())
            .method(sel<"specifiers">(),
                    [](MyTweaksController* self, SEL) -> id {
                        if (!self->_specifiers)
                            self->_specifiers = objc::retain(msg<NSArray*>(self, sel<"loadSpecifiersFromPlistName:target:">(),
                                                                           static_cast<NSString*>(NSSTR("my_tweaks")), static_cast<id>(self)));
                        return self->_specifiers.get();
                    })
            .method(sel<"openPackageLink:">(), [](MyTweaksController*, SEL, PSSpecifier* specifier) { openPackageLink(specifier); })
            .registerClass();
}
