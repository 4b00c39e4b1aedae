#pragma once
// Advisory locks on the output files. While a run holds an output file open it holds an
// exclusive lock on it, so that a second run that would write the same file at the same
// time (a slip in a batch of parallel runs) is refused instead of interleaving its lines
// with the first run's. No run leaves an empty file of its own behind: the files it
// created itself and wrote nothing to are removed before it ends.

#include <string>

namespace ww3b {

enum class OutputLock {
    Held,   // the run now holds the file (or the file system keeps no locks: no lock needed)
    Moved,  // the name no longer leads to the open file (another run removed it): open again
    Busy,   // another run holds the file; the files this run created are removed already
};

// Locks the open output `fd`, opened by `name`; `created` tells that this run's open made
// the file. For a file that another run holds, the files this run created are removed
// first; the caller then ends the run. Only regular files are locked.
OutputLock lockOutputFile(int fd, const std::string& name, bool created);

// At the end of every run, its files flushed and still open (so still locked): the output
// files it created itself and left empty are removed, so that no run leaves an empty file
// of its own behind. Files that existed before the run are never removed.
void removeEmptyOutputsThisRunCreated();

}  // namespace ww3b
