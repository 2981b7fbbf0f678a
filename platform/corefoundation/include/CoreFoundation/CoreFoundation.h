// Everything CoreFoundation offers: strings, run loops and the Darwin notification centre.
#pragma once

#include <CoreFoundation/CFBase.h>
#include <CoreFoundation/CFNotificationCenter.h>
#include <CoreFoundation/CFRunLoop.h>
