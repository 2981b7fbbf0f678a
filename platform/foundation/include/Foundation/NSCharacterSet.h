// NSCharacterSet: sets of characters for percent encoding, trimming and scanning.
#pragma once

#include <Foundation/NSObjCRuntime.h>

#include <bitset>
#include <string_view>
#include <vector>

// Selectors: +URLQueryAllowedCharacterSet +URLPathAllowedCharacterSet +URLHostAllowedCharacterSet
//   +URLFragmentAllowedCharacterSet +URLUserAllowedCharacterSet +whitespaceCharacterSet
//   +whitespaceAndNewlineCharacterSet +characterSetWithCharactersInString: -characterIsMember:(unichar)
// The URL sets are the phone's: ASCII letters and digits plus the punctuation each URL part
// allows (for queries "!$&'()*+,-./:;=?@_~").
class NSCharacterSet : public NSObject {
public:
    static Class class_();

    bool contains(char32_t character) const;

private:
    friend void platform::registerFoundationClasses();
    static void registerClass();
    static NSCharacterSet* make(std::string_view asciiMembers, std::vector<char32_t> others = {});  // +1

    std::bitset<128> ascii_;
    std::vector<char32_t> others_;  // sorted members beyond ASCII
};
