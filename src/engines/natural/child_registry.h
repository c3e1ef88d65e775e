// The child processes this process is running (the engine's runs), kept where a signal handler
// can reach them: a command-line run ended by a signal ends them, each with its process group,
// and waits for them before it removes their files, so that none of them outlives the run or
// writes into a folder that is being removed.
//
// Like the table of temporary files (io/temporary_registry.cpp), this is process-wide state
// because a signal handler can reach nothing else: a fixed array of atomic process IDs, read
// without a lock or an allocation.
#pragma once

#include <cstddef>
#include <sys/types.h>

namespace yomi6::natural {

// How many children can be noted at once: the most engine runs at once (kMaxWorkers) and those
// of a pass that is still ending beside a new one. A child not noted (a full table) still dies
// with the process (RunProcess asks the system to kill it then).
inline constexpr std::size_t kMaxNotedChildren = 256;

// Notes a child that leads a process group of its own, as soon as it exists.
void NoteChild(pid_t pid);

// Forgets a child before it is reaped (while its ID cannot yet be given to another process).
void ForgetChild(pid_t pid);

// Kills the process group of every noted child and waits until each child has ended.
// Async-signal-safe: calls only kill and waitpid.
void EndNotedChildren() noexcept;

} // namespace yomi6::natural
