// UIColor(Tarnwick) image makers: solid images of a colour, at the screen's scale or at scale 1.
#include "UIColor+TarnwickImages.h"

#include <CoreGraphics/CGContext.h>
#include <UIKit/UIGraphics.h>
#include <objc/message.h>

id imageWithColorAndBounds(id color, CGRect bounds) {
    UIGraphicsBeginImageContextWithOptions(bounds.size, false, 0.0);
    msg<void>(color, sel<"setFill">());
    UIRectFill(bounds);
    id image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}

id thumbnailWithSize(id color, CGSize size) {
    if (!color) return nil;
    UIGraphicsBeginImageContext(size);
    CGContextRef context = UIGraphicsGetCurrentContext();
    CGContextSetFillColorWithColor(context, msg<CGColorRef>(color, sel<"CGColor">()));
    CGContextFillRect(context, CGRectMake(0, 0, size.width, size.height));
    id image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}
