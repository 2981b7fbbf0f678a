// The main dispatch queue: blocks run in order on the main run loop.
#pragma once

#include <dispatch/once.h>

#include <functional>

struct dispatch_queue_s;
using dispatch_queue_t = dispatch_queue_s*;

// The queue whose blocks run on the main thread's run loop, one at a time, in the order added.
dispatch_queue_t dispatch_get_main_queue();

// Adds `block` to `queue` and returns at once. A nil queue or an empty block is ignored.
void dispatch_async(dispatch_queue_t queue, std::function<void()> block);
void dispatch_async_f(dispatch_queue_t queue, void* context, dispatch_function_t function);
