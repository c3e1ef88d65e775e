// Keeps the sound backend's complaints about a missing sound server off standard error.
#pragma once

namespace yomi6 {

// Installs, once per process, a Qt message handler that drops the sound backend's warnings
// (no sound server, a stream that failed) and passes every other message on to the handler
// that was installed before. Without a server the program is silent by design, not in error.
void InstallSoundMessageFilter();

} // namespace yomi6
