// A view world for the tweak's decisions: ThemeState set to known colours, and views built by class name.
#pragma once

#include "ThemeState.h"

#include <CoreGraphics/CGGeometry.h>
#include <objc/Strong.h>
#include <objc/message.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace obscuro::testing {

// Registers `name` (a runtime or dotted Swift name) under `superclass` unless it exists.
Class ensureClass(const char* name, const char* superclass);

id colour(double r, double g, double b, double a = 1.0);
id white(double w, double a = 1.0);
std::string hexOf(id colour);

// Installs the HookTable into this process once, as the tweak's constructor would.
void installHooksOnce();

// Puts `stand-in` where the entry of `className` and `selector` keeps the implementation it
// replaced, for the life of this object: a test sees what the replacement hands on.
class SavedImplementationStandIn {
public:
    SavedImplementationStandIn(const char* className, const char* selector, IMP standIn);
    ~SavedImplementationStandIn();
    SavedImplementationStandIn(const SavedImplementationStandIn&) = delete;
    SavedImplementationStandIn& operator=(const SavedImplementationStandIn&) = delete;

private:
    IMP* slot_;
    IMP original_;
};

// Sets ThemeState to distinct colours and the flags to their enabled defaults, and
// restores everything when the test ends.
class ThemeTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    id view(const char* className, CGRect frame = CGRectMake(0, 0, 100, 40));
    id controllerFor(id rootView, const char* controllerClass);
    void addSubview(id parent, id child);

    objc::AutoreleasePool pool_;
    std::vector<objc::Strong<objc_object>> keep_;
};

}  // namespace obscuro::testing
