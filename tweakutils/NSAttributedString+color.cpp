// NSAttributedString(color): recolouring attributed text with one foreground colour.
#include "NSAttributedString+color.h"

#include "UIColor+Tarnwick.h"

#include <Foundation/Foundation.h>
#include <objc/NSException.h>

id replaceColorsWith(id attributedString, id color) {
    if (!attributedString) return nil;
    try {
        id attributes = msg<id>(attributedString, sel<"attributesAtIndex:effectiveRange:">(), 0UL,
                                static_cast<NSRange*>(nullptr));
        id current = msg<id>(attributes, sel<"objectForKey:">(), NSForegroundColorAttributeName);
        if (current && msg<BOOL>(tw_hexStringFromColor(current), sel<"isEqualToString:">(), tw_hexStringFromColor(color)))
            return attributedString;
        auto recoloured = objc::adopt(msg<id>(attributedString, sel<"mutableCopy">()));
        unsigned long length = msg<unsigned long>(recoloured.get(), sel<"length">());
        msg<void>(recoloured.get(), sel<"addAttribute:value:range:">(), NSForegroundColorAttributeName, color,
                  NSMakeRange(0, length));
        return objc::autorelease(msg<id>(recoloured.get(), sel<"copy">()));
    } catch (const NSException& exception) {
        NSLog("-----------------Exception:%@", objc::str(exception.reason()));
        return attributedString;
    }
}
