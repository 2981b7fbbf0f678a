// Colours of the chrome replacements that need more than a ThemeState read.
#include "BarHooks.h"

#include "UIColor+Tarnwick.h"

#include <CoreGraphics/CoreGraphics.h>
#include <Foundation/Foundation.h>

namespace obscuro {

namespace {
Class uiColor() { return objc_getClass("UIColor"); }
}  // namespace

namespace themed {
id clear() { return msg<id>(uiColor(), sel<"clearColor">()); }
id unselectedTab() { return offsetColor(mainTextColor); }
id noEffect() { return nullptr; }
}  // namespace themed

id passcodeKeypadGrey() { return msg<id>(uiColor(), sel<"colorWithWhite:alpha:">(), 0.1568627450980392, 0.7); }

id black() { return msg<id>(uiColor(), sel<"blackColor">()); }

void strokeRingWithTint(id ring) {
    id layer = msg<id>(ring, sel<"layer">());
    msg<void>(layer, sel<"setStrokeColor:">(), msg<CGColorRef>(tintColor, sel<"CGColor">()));
}

bool isPlusDarkerFilter(id filter) {
    id description = msg<id>(filter, sel<"description">());
    return description && objc::utf8(description) == "plusD";
}

}  // namespace obscuro
