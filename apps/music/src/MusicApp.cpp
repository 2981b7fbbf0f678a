// Starting the simulated Music app in a host process: the application, the main bundle and the asset catalogue.
#include <music/MusicApp.h>
#include <music/MusicAssets.h>

#include <Foundation/NSBundle.h>
#include <Foundation/NSDictionary.h>
#include <Foundation/NSString.h>
#include <UIKit/UIApplication.h>
#include <objc/Strong.h>

namespace music {

void startMusicApp() {
    objc::AutoreleasePool pool;
    platform::createApplication();
    // The host stands in for the app's Info.plist, so a device needs no app folder to run on.
    auto* info = objc::dict({{NSSTR("CFBundleIdentifier"), objc::str(kBundleIdentifier)},
                             {NSSTR("CFBundleExecutable"), objc::str(kExecutableName)},
                             {NSSTR("CFBundleName"), objc::str(kExecutableName)}});
    platform::setMainBundle(kBundlePath, info);
    installAssetCatalog();
}

}  // namespace music
