// NSError: a domain, a code and a user-info dictionary with the readable description.
#include <Foundation/NSDictionary.h>
#include <Foundation/NSError.h>
#include <Foundation/NSStringFormat.h>

#include "Internal.h"

namespace {
Class gNSError = nullptr;
}

Class NSError::class_() { return gNSError; }

NSError* NSError::make(NSString* domain, NSInteger code, std::string_view description, NSString* path) {
    auto* error = objc::createInstance<NSError>(gNSError);
    error->domain_ = objc::retain(domain);
    error->code_ = code;
    NSDictionary::Entries info{{objc::retain<objc_object>(NSLocalizedDescriptionKey), objc::retain<objc_object>(objc::str(description))}};
    if (path) info.push_back({objc::retain<objc_object>(NSFilePathErrorKey), objc::retain<objc_object>(path)});
    error->userInfo_ = NSDictionary::create(std::move(info));
    return objc::autorelease(error);
}

void NSError::registerClass() {
    gNSError =
        objc::ClassBuilder<NSError>("NSError", NSObject::class_())
            .classMethod(sel<"errorWithDomain:code:userInfo:">(),
                         [](Class cls, SEL, NSString* domain, NSInteger code, NSDictionary* userInfo) {
                             auto* error = objc::createInstance<NSError>(cls);
                             error->domain_ = objc::retain(domain);
                             error->code_ = code;
                             error->userInfo_ = objc::retain(userInfo);
                             return objc::autorelease(error);
                         })
            .method(sel<"domain">(), [](NSError* self, SEL) { return self->domain_.get(); })
            .method(sel<"code">(), [](NSError* self, SEL) { return self->code_; })
            .method(sel<"userInfo">(), [](NSError* self, SEL) { return self->userInfo_.get(); })
            .method(sel<"localizedDescription">(),
                    [](NSError* self, SEL) -> NSString* {
                        if (auto* text = foundation::as<NSString>(self->userInfo_ ? self->userInfo_->objectForKey(NSLocalizedDescriptionKey) : nullptr))
                            return text;
                        return objc::format("The operation couldn\u2019t be completed. (%@ error %ld.)", self->domain_.get(), self->code_);
                    })
            .method(sel<"description">(),
                    [](NSError* self, SEL) -> NSString* {
                        return objc::format("Error Domain=%@ Code=%ld \"%@\"", self->domain_.get(), self->code_,
                                            msg<NSString*>(self, sel<"localizedDescription">()));
                    })
            .registerClass();
}
