// NSAttributedString and NSMutableAttributedString: a string and the runs of attributes over it.
#include <Foundation/NSAttributedString.h>

#include "Description.h"
#include "Internal.h"

namespace {

Class gNSAttributedString = nullptr;
Class gNSMutableAttributedString = nullptr;

bool equalObjects(id a, id b) { return a == b || (a && b && msg<BOOL>(a, sel<"isEqual:">(), b)); }

// Attributes are stored as immutable copies, so that a caller's mutable dictionary cannot
// change a run behind the string's back.
objc::Strong<NSDictionary> storedAttributes(NSDictionary* attributes) {
    return NSDictionary::create(attributes ? attributes->entries() : NSDictionary::Entries{});
}

objc::Strong<NSDictionary> withAttribute(NSDictionary* attributes, id name, id value) {
    auto entries = attributes->entries();
    entries.push_back({objc::retain(name), objc::retain(value)});  // a later entry replaces an equal key
    return NSDictionary::create(std::move(entries));
}

objc::Strong<NSDictionary> withoutAttribute(NSDictionary* attributes, id name) {
    NSDictionary::Entries kept;
    for (const auto& entry : attributes->entries())
        if (!equalObjects(entry.key.get(), name)) kept.push_back(entry);
    return NSDictionary::create(std::move(kept));
}

}  // namespace

Class NSAttributedString::class_() { return gNSAttributedString; }
Class NSMutableAttributedString::class_() { return gNSMutableAttributedString; }

std::vector<NSAttributedString::Run> NSAttributedString::runs() const {
    std::vector<Run> out;
    NSUInteger location = 0;
    for (const auto& run : runs_) {
        out.push_back({{location, run.length}, run.attributes.get()});
        location += run.length;
    }
    return out;
}

std::vector<NSAttributedString::Run> objc::runs(NSAttributedString* string) { return string ? string->runs() : std::vector<NSAttributedString::Run>{}; }

void NSAttributedString::setContents(objc::Strong<NSString> string, std::vector<StoredRun> runs) {
    string_ = std::move(string);
    runs_ = std::move(runs);
    mergeEqualNeighbours();
}

std::size_t NSAttributedString::splitAt(NSUInteger location) {
    NSUInteger start = 0;
    for (std::size_t i = 0; i < runs_.size(); ++i) {
        if (location == start) return i;
        if (location < start + runs_[i].length) {
            StoredRun tail{start + runs_[i].length - location, runs_[i].attributes};
            runs_[i].length = location - start;
            runs_.insert(runs_.begin() + static_cast<std::ptrdiff_t>(i) + 1, std::move(tail));
            return i + 1;
        }
        start += runs_[i].length;
    }
    return runs_.size();
}

void NSAttributedString::mergeEqualNeighbours() {
    std::vector<StoredRun> merged;
    for (auto& run : runs_) {
        if (run.length == 0) continue;
        if (!merged.empty() && equalObjects(merged.back().attributes.get(), run.attributes.get())) merged.back().length += run.length;
        else merged.push_back(std::move(run));
    }
    runs_ = std::move(merged);
}

void NSAttributedString::checkRange(NSRange range, const char* method) const {
    if (!NSRangeFitsLength(range, textLength()))
        NSException::raise("NSRangeException", std::string(method) + ": range " + objc::utf8(NSStringFromRange(range)) +
                                                   " out of bounds; string length " + std::to_string(textLength()));
}

void NSAttributedString::initialise(NSString* string, NSDictionary* attributes) {
    auto text = NSString::create(string->utf16());
    std::vector<StoredRun> runs;
    if (!text->utf16().empty()) runs.push_back({text->utf16().size(), storedAttributes(attributes)});
    setContents(std::move(text), std::move(runs));
}

NSString* NSAttributedString::plainString() const { return string_ ? string_.get() : NSSTR(""); }

NSUInteger NSAttributedString::textLength() const { return plainString()->utf16().size(); }

NSAttributedString::Run NSAttributedString::runAt(NSUInteger index, const char* method) const {
    for (const auto& run : runs())
        if (NSLocationInRange(index, run.range)) return run;
    NSException::raise("NSRangeException", std::string(method) + ": index " + std::to_string(index) + " out of bounds; string length " +
                                               std::to_string(textLength()));
}

bool NSAttributedString::sameContents(const NSAttributedString* other) const {
    if (plainString()->utf16() != other->plainString()->utf16() || runs_.size() != other->runs_.size()) return false;
    for (std::size_t i = 0; i < runs_.size(); ++i)
        if (runs_[i].length != other->runs_[i].length || !equalObjects(runs_[i].attributes.get(), other->runs_[i].attributes.get()))
            return false;
    return true;
}

id NSAttributedString::duplicate(Class cls) const {
    auto* copy = objc::createInstance<NSAttributedString>(cls);
    copy->setContents(objc::retain(plainString()), runs_);
    return copy;
}

template <class F>
void NSAttributedString::updateRuns(NSRange range, F newAttributes) {
    if (range.length == 0) return;
    std::size_t first = splitAt(range.location);
    std::size_t last = splitAt(NSMaxRange(range));
    for (std::size_t i = first; i < last; ++i) runs_[i].attributes = newAttributes(runs_[i].attributes.get());
    mergeEqualNeighbours();
}

// New characters take the attributes of the first character they replace, or, when nothing
// is replaced, of the character before them (the first one at the very start).
void NSAttributedString::replace(NSRange range, NSString* string) {
    objc::Strong<NSDictionary> attributes;
    NSUInteger length = textLength();
    if (length > 0) {
        NSUInteger from = range.length > 0 ? range.location : (range.location > 0 ? range.location - 1 : 0);
        attributes = objc::retain(runAt(from, "-[NSMutableAttributedString replaceCharactersInRange:withString:]").attributes);
    } else {
        attributes = storedAttributes(nullptr);
    }
    std::size_t first = splitAt(range.location);
    std::size_t last = splitAt(NSMaxRange(range));
    runs_.erase(runs_.begin() + static_cast<std::ptrdiff_t>(first), runs_.begin() + static_cast<std::ptrdiff_t>(last));
    if (!string->utf16().empty()) runs_.insert(runs_.begin() + static_cast<std::ptrdiff_t>(first), StoredRun{string->utf16().size(), attributes});
    std::u16string text = plainString()->utf16();
    text.replace(range.location, range.length, string->utf16());
    string_ = NSString::create(std::move(text));
    mergeEqualNeighbours();
}

void NSAttributedString::registerClass() {
    using foundation::autoreleased;
    using Self = NSAttributedString;
    gNSAttributedString =
        objc::ClassBuilder<NSAttributedString>("NSAttributedString", NSObject::class_())
            .method(sel<"initWithString:">(),
                    [](Self* self, SEL sel, NSString* string) {
                        if (!string) foundation::raiseInvalidArgument(self, sel, "nil value");
                        self->initialise(string, nullptr);
                        return self;
                    })
            .method(sel<"initWithString:attributes:">(),
                    [](Self* self, SEL sel, NSString* string, NSDictionary* attributes) {
                        if (!string) foundation::raiseInvalidArgument(self, sel, "nil value");
                        self->initialise(string, attributes);
                        return self;
                    })
            .method(sel<"initWithAttributedString:">(),
                    [](Self* self, SEL sel, NSAttributedString* other) {
                        if (!other) foundation::raiseInvalidArgument(self, sel, "nil value");
                        self->setContents(objc::retain(other->plainString()), other->runs_);
                        return self;
                    })
            .method(sel<"string">(), [](Self* self, SEL) -> NSString* {
                        // Retained for the caller's pool: a later change replaces the string.
                        NSString* string = self->plainString();
                        objc::autorelease(objc_retain(string));
                        return string;
                    })
            .method(sel<"length">(), [](Self* self, SEL) -> NSUInteger { return self->textLength(); })
            .method(sel<"attributesAtIndex:effectiveRange:">(),
                    [](Self* self, SEL, NSUInteger index, NSRange* effectiveRange) -> NSDictionary* {
                        auto run = self->runAt(index, "-[NSAttributedString attributesAtIndex:effectiveRange:]");
                        if (effectiveRange) *effectiveRange = run.range;
                        // Retained for the caller's pool: a later change may drop the run's dictionary.
                        objc::autorelease(objc_retain(run.attributes));
                        return run.attributes;
                    })
            .method(sel<"attribute:atIndex:effectiveRange:">(),
                    [](Self* self, SEL, NSString* name, NSUInteger index, NSRange* effectiveRange) -> id {
                        auto all = self->runs();
                        auto run = self->runAt(index, "-[NSAttributedString attribute:atIndex:effectiveRange:]");
                        id value = run.attributes->objectForKey(name);
                        if (effectiveRange) {
                            // The whole stretch over which this one attribute keeps its value.
                            std::size_t at = 0;
                            while (all[at].range.location != run.range.location) ++at;
                            std::size_t first = at, last = at;
                            while (first > 0 && equalObjects(all[first - 1].attributes->objectForKey(name), value)) --first;
                            while (last + 1 < all.size() && equalObjects(all[last + 1].attributes->objectForKey(name), value)) ++last;
                            *effectiveRange = {all[first].range.location, NSMaxRange(all[last].range) - all[first].range.location};
                        }
                        objc::autorelease(objc_retain(value));
                        return value;
                    })
            .method(sel<"isEqual:">(),
                    [](Self* self, SEL, id other) -> BOOL {
                        auto* s = foundation::as<NSAttributedString>(other);
                        return s && self->sameContents(s);
                    })
            .method(sel<"isEqualToAttributedString:">(),
                    [](Self* self, SEL, NSAttributedString* other) -> BOOL { return other && self->sameContents(other); })
            .method(sel<"hash">(), [](Self* self, SEL) -> NSUInteger { return msg<NSUInteger>(self->plainString(), sel<"hash">()); })
            .method(sel<"description">(),
                    [](Self* self, SEL) -> NSString* {
                        std::string out;
                        const auto& units = self->plainString()->utf16();
                        for (const auto& run : self->runs()) {
                            out += objc::utf8(foundation::stringFromUTF16(units.substr(run.range.location, run.range.length)));
                            out += foundation::describeCollection(run.attributes) + "\n";
                        }
                        return objc::str(out);
                    })
            .method(sel<"copy">(),
                    [](Self* self, SEL) -> id {
                        if (object_getClass(self) == gNSAttributedString) return objc_retain(self);
                        return self->duplicate(gNSAttributedString);
                    })
            .method(sel<"mutableCopy">(), [](Self* self, SEL) -> id { return self->duplicate(gNSMutableAttributedString); })
            .registerClass();
}

void NSMutableAttributedString::registerClass() {
    using Self = NSMutableAttributedString;
    gNSMutableAttributedString =
        objc::ClassBuilder<NSMutableAttributedString>("NSMutableAttributedString", gNSAttributedString)
            .method(sel<"addAttribute:value:range:">(),
                    [](Self* self, SEL sel, NSString* name, id value, NSRange range) {
                        if (!name) foundation::raiseInvalidArgument(self, sel, "nil attribute name");
                        if (!value) foundation::raiseInvalidArgument(self, sel, "nil value for attribute " + name->utf8());
                        self->checkRange(range, "-[NSMutableAttributedString addAttribute:value:range:]");
                        self->updateRuns(range, [&](NSDictionary* old) { return withAttribute(old, name, value); });
                    })
            .method(sel<"addAttributes:range:">(),
                    [](Self* self, SEL, NSDictionary* attributes, NSRange range) {
                        self->checkRange(range, "-[NSMutableAttributedString addAttributes:range:]");
                        if (!attributes) return;
                        self->updateRuns(range, [&](NSDictionary* old) {
                            auto entries = old->entries();
                            entries.insert(entries.end(), attributes->entries().begin(), attributes->entries().end());
                            return NSDictionary::create(std::move(entries));
                        });
                    })
            .method(sel<"setAttributes:range:">(),
                    [](Self* self, SEL, NSDictionary* attributes, NSRange range) {
                        self->checkRange(range, "-[NSMutableAttributedString setAttributes:range:]");
                        auto stored = storedAttributes(attributes);
                        self->updateRuns(range, [&](NSDictionary*) { return stored; });
                    })
            .method(sel<"removeAttribute:range:">(),
                    [](Self* self, SEL, NSString* name, NSRange range) {
                        self->checkRange(range, "-[NSMutableAttributedString removeAttribute:range:]");
                        if (!name) return;
                        self->updateRuns(range, [&](NSDictionary* old) { return withoutAttribute(old, name); });
                    })
            .method(sel<"appendAttributedString:">(),
                    [](Self* self, SEL, NSAttributedString* other) {
                        if (!other) return;
                        auto tail = other->runs();  // read first: `other` may be this string
                        std::vector<StoredRun> runs = self->runs_;
                        for (const auto& run : tail) runs.push_back({run.range.length, objc::retain(run.attributes)});
                        auto text = NSString::create(self->plainString()->utf16() + (other->string() ? other->string()->utf16() : std::u16string()));
                        self->setContents(std::move(text), std::move(runs));
                    })
            .method(sel<"replaceCharactersInRange:withString:">(),
                    [](Self* self, SEL sel, NSRange range, NSString* string) {
                        if (!string) foundation::raiseInvalidArgument(self, sel, "nil string");
                        self->checkRange(range, "-[NSMutableAttributedString replaceCharactersInRange:withString:]");
                        self->replace(range, string);
                    })
            .method(sel<"setAttributedString:">(),
                    [](Self* self, SEL, NSAttributedString* other) {
                        if (!other) {
                            self->setContents(NSString::create({}), {});
                            return;
                        }
                        auto string = objc::retain(other->string());
                        std::vector<StoredRun> runs;
                        for (const auto& run : other->runs()) runs.push_back({run.range.length, objc::retain(run.attributes)});
                        self->setContents(std::move(string), std::move(runs));
                    })
            .registerClass();
}
