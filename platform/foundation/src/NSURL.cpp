// NSURL: URL text checked against the URL alphabet and split into scheme, host, path, query and fragment.
#include <Foundation/NSCharacterSet.h>
#include <Foundation/NSURL.h>

#include "Internal.h"
#include "StringValues.h"
#include "Unicode.h"

#include <optional>
#include <string_view>

namespace {

Class gNSURL = nullptr;

bool isAlpha(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isHex(char c) { return isDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

// Unreserved, reserved and '%': every character a URL may hold as written.
bool inURLAlphabet(char c) {
    if (isAlpha(c) || isDigit(c)) return true;
    return std::string_view("-._~:/?#[]@!$&'()*+,;=%").find(c) != std::string_view::npos;
}

bool validScheme(std::string_view scheme) {
    if (scheme.empty() || !isAlpha(scheme[0])) return false;
    for (char c : scheme)
        if (!isAlpha(c) && !isDigit(c) && c != '+' && c != '-' && c != '.') return false;
    return true;
}

struct Parts {
    std::string scheme, host, path, query, fragment;
    bool hasScheme = false, hasHost = false, hasQuery = false, hasFragment = false;
};

// Splits URL text the way a generic URL is laid out: scheme ":" ["//" authority] path ["?" query]
// ["#" fragment]. nullopt for text that is not a URL.
std::optional<Parts> parse(std::string_view text) {
    if (text.empty()) return std::nullopt;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!inURLAlphabet(text[i])) return std::nullopt;
        if (text[i] == '%' && (i + 2 >= text.size() || !isHex(text[i + 1]) || !isHex(text[i + 2]))) return std::nullopt;
    }
    Parts parts;
    std::string_view rest = text;
    if (auto hash = rest.find('#'); hash != std::string_view::npos) {
        parts.fragment = rest.substr(hash + 1);
        if (parts.fragment.find('#') != std::string::npos) return std::nullopt;
        parts.hasFragment = true;
        rest = rest.substr(0, hash);
    }
    if (auto question = rest.find('?'); question != std::string_view::npos) {
        parts.query = rest.substr(question + 1);
        parts.hasQuery = true;
        rest = rest.substr(0, question);
    }
    // A colon before the first slash ends a scheme; a relative reference has none there.
    auto colon = rest.find(':');
    if (colon != std::string_view::npos && colon < rest.find('/')) {
        if (!validScheme(rest.substr(0, colon))) return std::nullopt;
        parts.scheme = rest.substr(0, colon);
        parts.hasScheme = true;
        rest = rest.substr(colon + 1);
    }
    if (rest.starts_with("//")) {
        rest = rest.substr(2);
        auto slash = rest.find('/');
        std::string_view authority = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash);
        if (auto at = authority.rfind('@'); at != std::string_view::npos) authority = authority.substr(at + 1);
        if (authority.starts_with('[')) {
            auto close = authority.find(']');
            if (close == std::string_view::npos) return std::nullopt;
            authority = authority.substr(1, close - 1);
        } else if (auto port = authority.find(':'); port != std::string_view::npos) {
            authority = authority.substr(0, port);
        }
        parts.host = authority;
        parts.hasHost = true;
    }
    parts.path = rest;
    return parts;
}

char lowerASCII(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerASCII(a[i]) != lowerASCII(b[i])) return false;
    return true;
}

NSString* optionalString(bool present, const std::string& text) { return present ? objc::str(text) : nullptr; }

}  // namespace

Class NSURL::class_() { return gNSURL; }

void NSURL::registerClass() {
    auto make = [](Class cls, std::string text) -> NSURL* {
        auto parts = parse(text);
        if (!parts) return nullptr;
        auto* url = objc::createInstance<NSURL>(cls);
        url->string_ = NSString::createFromUTF8(text);
        url->scheme_ = parts->hasScheme ? parts->scheme : std::string();
        url->host_ = parts->host;
        url->path_ = parts->path;
        url->query_ = parts->query;
        url->fragment_ = parts->fragment;
        url->hasHost_ = parts->hasHost;
        url->hasQuery_ = parts->hasQuery;
        url->hasFragment_ = parts->hasFragment;
        return objc::autorelease(url);
    };
    gNSURL =
        objc::ClassBuilder<NSURL>("NSURL", NSObject::class_())
            .classMethod(sel<"URLWithString:">(),
                         [](Class cls, SEL, NSString* text) -> NSURL* { return text ? decltype(make){}(cls, text->utf8()) : nullptr; })
            .classMethod(sel<"fileURLWithPath:">(),
                         [](Class cls, SEL, NSString* path) -> NSURL* {
                             if (!path || path->utf16().empty()) return nullptr;
                             NSCharacterSet* allowed = msg<NSCharacterSet*>(NSCharacterSet::class_(), sel<"URLPathAllowedCharacterSet">());
                             auto encoded = foundation::percentEncoded(path->utf16(), *allowed);
                             if (!encoded) return nullptr;
                             // A relative path is taken from the device's root, where every device path starts.
                             return decltype(make){}(cls, "file://" + (encoded->starts_with('/') ? *encoded : "/" + *encoded));
                         })
            .method(sel<"absoluteString">(), [](NSURL* self, SEL) { return self->string_.get(); })
            .method(sel<"description">(), [](NSURL* self, SEL) { return self->string_.get(); })
            .method(sel<"scheme">(), [](NSURL* self, SEL) { return optionalString(!self->scheme_.empty(), self->scheme_); })
            .method(sel<"host">(), [](NSURL* self, SEL) { return optionalString(self->hasHost_, self->host_); })
            .method(sel<"path">(),
                    [](NSURL* self, SEL) -> NSString* {
                        auto decoded = foundation::percentDecoded(self->path_);
                        return decoded ? foundation::stringFromUTF16(std::move(*decoded)) : nullptr;
                    })
            .method(sel<"query">(), [](NSURL* self, SEL) { return optionalString(self->hasQuery_, self->query_); })
            .method(sel<"fragment">(), [](NSURL* self, SEL) { return optionalString(self->hasFragment_, self->fragment_); })
            .method(sel<"isFileURL">(), [](NSURL* self, SEL) -> BOOL { return equalsIgnoringCase(self->scheme_, "file"); })
            .method(sel<"isEqual:">(),
                    [](NSURL* self, SEL, id other) -> BOOL {
                        auto* url = foundation::as<NSURL>(other);
                        return url && url->string_->utf16() == self->string_->utf16();
                    })
            .method(sel<"hash">(), [](NSURL* self, SEL) -> NSUInteger { return foundation::hashUnits(self->string_->utf16()); })
            .method(sel<"copy">(), [](NSURL* self, SEL) -> id { return objc_retain(self); })
            .registerClass();
}
