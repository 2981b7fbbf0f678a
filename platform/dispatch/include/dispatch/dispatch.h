// Everything dispatch offers here: once-only initialisation and the main queue.
#pragma once

#include <dispatch/once.h>
#include <dispatch/queue.h>
