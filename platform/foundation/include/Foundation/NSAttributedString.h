// NSAttributedString and NSMutableAttributedString: text with attribute dictionaries over runs of characters.
#pragma once

#include <Foundation/NSDictionary.h>
#include <Foundation/NSString.h>

#include <vector>

// Attribute names, with the phone's values.
#define NSForegroundColorAttributeName NSSTR("NSColor")
#define NSBackgroundColorAttributeName NSSTR("NSBackgroundColor")
#define NSFontAttributeName NSSTR("NSFont")
#define NSLinkAttributeName NSSTR("NSLink")
#define NSParagraphStyleAttributeName NSSTR("NSParagraphStyle")

// Selectors: -initWithString: -initWithString:attributes: -initWithAttributedString: -string -length
//   -attributesAtIndex:effectiveRange:(NSUInteger, NSRange*) -attribute:atIndex:effectiveRange:(NSString*, NSUInteger, NSRange*)
//   -isEqual: -isEqualToAttributedString: -hash -description -copy -mutableCopy
// NSMutableAttributedString adds -addAttribute:value:range: -addAttributes:range: -setAttributes:range:
//   -removeAttribute:range: -appendAttributedString: -replaceCharactersInRange:withString: -setAttributedString:
// Raises as the phone does: an index or range past the end → NSRangeException (attributesAtIndex:
// on an empty string included); a nil string or attribute value → NSInvalidArgumentException.
// The NSRange* of effectiveRange: may be NULL; it receives the whole run holding the index.
class NSAttributedString : public NSObject {
public:
    static Class class_();

    // One run of characters sharing the same attributes.
    struct Run {
        NSRange range;
        NSDictionary* attributes;  // borrowed from the string; never nil
    };

    NSString* string() const { return string_.get(); }
    // The runs in order; adjacent runs always differ in their attributes.
    std::vector<Run> runs() const;

protected:
    struct StoredRun {
        NSUInteger length;
        objc::Strong<NSDictionary> attributes;
    };
    void initialise(NSString* string, NSDictionary* attributes);
    void setContents(objc::Strong<NSString> string, std::vector<StoredRun> runs);
    NSString* plainString() const;  // never nil, even before an init
    NSUInteger textLength() const;
    Run runAt(NSUInteger index, const char* method) const;  // raises NSRangeException past the end
    bool sameContents(const NSAttributedString* other) const;
    id duplicate(Class cls) const;  // +1
    void checkRange(NSRange range, const char* method) const;
    // Splits runs so that `location` starts one; returns that run's position.
    std::size_t splitAt(NSUInteger location);
    // Gives every run within `range` the attributes newAttributes(old attributes) returns.
    template <class F>
    void updateRuns(NSRange range, F newAttributes);
    void replace(NSRange range, NSString* string);
    void mergeEqualNeighbours();

    objc::Strong<NSString> string_;
    std::vector<StoredRun> runs_;  // lengths add up to the string's length; none is empty

private:
    friend void platform::registerFoundationClasses();
    static void registerClass();
};

class NSMutableAttributedString : public NSAttributedString {
public:
    static Class class_();

private:
    friend void platform::registerFoundationClasses();
    static void registerClass();
};

namespace objc {
// The runs of an attributed string, for range-for; none for nil.
std::vector<NSAttributedString::Run> runs(NSAttributedString* string);
}  // namespace objc
