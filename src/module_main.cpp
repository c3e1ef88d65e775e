// sd_yomi6: the sound server's output module for Japanese. The server starts it with the path
// of its configuration file and talks to it over standard input and output; problems go to
// standard error, one line each, which the server keeps in its log.
#include "module/module_engines.h"
#include "module/module_protocol.h"
#include "module/speaking_loop.h"

#include <csignal>
#include <cstdio>
#include <iostream>
#include <string>
#include <unistd.h>

namespace {

void Log(std::string_view what) {
    std::string line = "sd_yomi6: ";
    line.append(what).push_back('\n');
    std::fputs(line.c_str(), stderr);
}

// Writes all of text to standard output; a server that went away ends the module.
void WriteOut(std::string_view text) {
    while (!text.empty()) {
        const ssize_t n = ::write(STDOUT_FILENO, text.data(), text.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            Log("the server is gone; ending");
            std::_Exit(1);
        }
        text.remove_prefix(static_cast<std::size_t>(n));
    }
}

} // namespace

int main(int, char**) {
    std::signal(SIGPIPE, SIG_IGN);
    std::ios::sync_with_stdio(false);
    const auto log = [](const std::string& what) { Log(what); };
    yomi6::module::ReplyChannel channel(WriteOut);
    yomi6::module::ModuleEngines engines(log);
    yomi6::module::SpeakingLoop speaker(engines, channel, log);
    yomi6::module::ModuleProtocol protocol(speaker, channel, Log);
    std::string line;
    // The module ends with QUIT, or when the server closes its side (it never outlives it).
    while (std::getline(std::cin, line)) {
        if (!protocol.Line(line)) {
            return 0;
        }
    }
    return 0;
}
