// What a command-line mode does when a signal ends it (Ctrl+C, kill, a closed terminal or
// pipe): it ends the engine processes it is running and removes the temporary files and
// folders it is writing, so that nothing is left but what was there before, and then ends by that
// same signal, as it would have without the handler (the shell reports 128 + the signal's number).
#pragma once

namespace yomi6::cli {

// Handles SIGINT, SIGTERM, SIGHUP and SIGPIPE so for the rest of the process. A signal that
// was ignored when the process started (nohup) stays ignored.
void RemoveTemporariesOnInterrupt();

} // namespace yomi6::cli
