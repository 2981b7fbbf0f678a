// Stopping a settings writer at a chosen step of its next write, so that a test kills it exactly there.
#pragma once

#include <string_view>

namespace write_pauses {

// The steps of a file write a writer can stop at: its temporary just made (still empty), half
// of the bytes written to it, or the whole temporary written and about to be renamed over the file.
enum class Step { none, temporaryMade, halfWritten, beforeRename };

// "temporary", "half" or "rename"; Step::none for anything else.
Step stepNamed(std::string_view name);

// The next write of this process that reaches `step` prints "paused <name>" on standard output
// and waits there for good, until a signal ends the process.
void pauseAt(Step step);

}  // namespace write_pauses
