// UIApplication: the shared application, its windows, and the URLs it opens through the host.
#pragma once

#include <UIKit/UIResponder.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

class UIWindow;

// Selectors:
//   + (id)sharedApplication        nil until a host creates the application
//   - (id)windows (NSArray of the windows made key and visible, oldest first), (id)keyWindow
//   - (id)delegate, setDelegate:(id)
//   - (BOOL)canOpenURL:(id NSURL)  YES when the host lists the URL's scheme as openable
//   - openURL:(id NSURL)options:(id NSDictionary)completionHandler:(id)   hands openable URLs to
//     the host's URL handler. The stand-in has no blocks: the completion handler is ignored and
//     callers pass nil, as the product does.
//   - (BOOL)openURL:(id)           the older form; answers whether the URL was opened
//   - (long)statusBarStyle, setStatusBarStyle:(long)
class UIApplication : public UIResponder {
public:
    static Class class_();

    // The shared application, or nil.
    static UIApplication* shared();

    std::vector<UIWindow*> windows;  // weak: a window leaves the list when it is deallocated
    UIWindow* keyWindow = nullptr;   // weak
    objc::Strong<objc_object> delegate;
    long statusBarStyle = 0;
};

namespace platform {

// Creates the shared application if there is none and returns it (it lives for the process).
UIApplication* createApplication();

// Receives each URL the application opens, as its absolute string; answers whether it was
// opened. Without a handler, openable URLs count as opened and go nowhere.
using URLHandler = std::function<bool(const std::string& url)>;
void setURLHandler(URLHandler handler);

// The URL schemes (compared without case) that canOpenURL: accepts; "http", "https" and
// "mailto" until a host sets others.
void setOpenableSchemes(std::set<std::string> schemes);

}  // namespace platform
