// NSURL: a parsed URL string, refused when it is empty or not well formed.
#pragma once

#include <Foundation/NSString.h>

// Selectors: +URLWithString: (nil for nil, empty or malformed text: characters outside the URL
//   alphabet such as spaces, '%' not followed by two hex digits, or a bad scheme) +fileURLWithPath:
//   -absoluteString -scheme -host -path (percent-decoded) -query -fragment -isFileURL -description
//   -isEqual: -hash
class NSURL : public NSObject {
public:
    static Class class_();

private:
    friend void platform::registerFoundationClasses();
    static void registerClass();

    objc::Strong<NSString> string_;
    std::string scheme_, host_, path_, query_, fragment_;
    bool hasHost_ = false, hasQuery_ = false, hasFragment_ = false;
};
