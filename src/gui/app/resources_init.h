// The compiled-in resources (icons, help page) live in a static library, whose resource
// registrations the linker may drop: call this once before any of them is used.
#pragma once

namespace yomi6 {
void InitResources();
}
