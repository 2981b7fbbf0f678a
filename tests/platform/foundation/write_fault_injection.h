// Injected failures of the system calls a file write makes, for the test programs that link this in.
#pragma once

namespace write_faults {

// The step of a write that fails while armed; the temporary file is the one made by mkostemp or
// mkstemp, the folder the one opened with O_DIRECTORY to flush a rename.
enum class Fault {
    none,
    createTemporary,         // mkostemp fails
    setMode,                 // fchmod of the temporary fails
    write,                   // the first write fails
    diskFullMidway,          // half the bytes are written, then the disk is full
    interrupted,             // the first write is interrupted by a signal (survivable)
    shortWrites,             // every write takes at most 7 bytes (survivable)
    flush,                   // fsync of the temporary fails
    close,                   // closing the temporary reports a deferred write error
    rename,                  // the rename over the target fails
    openFolder,              // the folder cannot be opened to flush the rename
    flushFolder,             // fsync of the folder fails
    folderFlushUnsupported,  // the file system cannot flush folders (survivable)
};

// Arms `fault`, failing with `error` (errno), until disarm; resets the count of injections.
void arm(Fault fault, int error);
void disarm();
// How many calls failed (or were cut short) since the last arm.
int injected();

}  // namespace write_faults
