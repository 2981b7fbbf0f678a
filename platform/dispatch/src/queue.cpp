// The main queue, carried by the main run loop's performed blocks.
#include <CoreFoundation/RunLoop.h>
#include <dispatch/queue.h>

struct dispatch_queue_s {};

namespace {
dispatch_queue_s mainQueue;
}

dispatch_queue_t dispatch_get_main_queue() { return &mainQueue; }

void dispatch_async(dispatch_queue_t queue, std::function<void()> block) {
    if (queue != &mainQueue || !block) return;
    platform::RunLoop::main().perform(std::move(block));
}

void dispatch_async_f(dispatch_queue_t queue, void* context, dispatch_function_t function) {
    if (!function) return;
    dispatch_async(queue, [context, function] { function(context); });
}
