// Preferences: every public header of the framework.
#pragma once

#include <Preferences/PSListController.h>
#include <Preferences/PSListItemsController.h>
#include <Preferences/PSSpecifier.h>
