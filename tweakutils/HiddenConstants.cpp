// The settings loader's hidden constants: their stored forms and the calls that reveal them.
#include "HiddenConstants.h"

#include "Magicien.h"

#include <objc/runtime.h>

namespace hidden {
const unsigned char _defaultBackgroundColor[8] = { 0x45, 0x3, 0x2, 0x54, 0x6, 0x52, 0x51, 0x00 };
const unsigned char _backgroundColorKey[16] = { 0x4, 0x53, 0x53, 0xE, 0x53, 0x11, 0xC, 0x10, 0x8, 0x54, 0x25, 0xB, 0x8, 0x9, 0x43, 0x00 };
const unsigned char _textColorKey[10] = { 0x12, 0x57, 0x48, 0x11, 0x77, 0xC, 0xF, 0xA, 0x14, 0x00 };
}  // namespace hidden

namespace {

// The order is part of the salt: the stored forms above reveal only with this exact list.
objc::Strong<Magicien> loaderStore() {
    return Magicien::nouvoAvecDisel({
        objc_getClass("NSObject"), objc_getClass("NSString"), objc_getClass("NSNumber"), objc_getClass("NSArray"),
        objc_getClass("NSDictionary"), objc_getClass("NSData"), objc_getClass("UIView"), objc_getClass("UILabel"),
        objc_getClass("UIColor"), objc_getClass("UIImage"), objc_getClass("UIImageView"), objc_getClass("UIButton"),
        objc_getClass("UIControl"), objc_getClass("UIScrollView"), objc_getClass("UITableView"),
        objc_getClass("UITableViewCell"), objc_getClass("UICollectionView"), objc_getClass("UIViewController"),
        objc_getClass("UINavigationBar"), objc_getClass("UITabBar"), objc_getClass("UISearchBar"),
        objc_getClass("UITextField"), objc_getClass("UITextView"), objc_getClass("UIWindow"), objc_getClass("UIScreen"),
        objc_getClass("UIApplication"), objc_getClass("UIResponder"), objc_getClass("UIStackView"),
        objc_getClass("UIActivityIndicatorView"), objc_getClass("UIRefreshControl"), objc_getClass("UIVisualEffectView"),
        objc_getClass("UIFont"), objc_getClass("CALayer"), objc_getClass("CAShapeLayer"), objc_getClass("UIBezierPath"),
        nil,
    });
}

}  // namespace

id revealDefaultBackgroundColor() { return loaderStore()->dirMoi(hidden::_defaultBackgroundColor); }
id revealBackgroundColorKey() { return loaderStore()->dirMoi(hidden::_backgroundColorKey); }
id revealTextColorKey() { return loaderStore()->dirMoi(hidden::_textColorKey); }
