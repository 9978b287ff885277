// The installed platform implementation.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/platform.h"

#include <cstdio>
#include <cstdlib>

namespace nonari {

namespace {
Platform* installed = nullptr;
}

Platform& platform() {
    if (installed == nullptr) {
        std::fputs("nonari: no platform installed\n", stderr);
        std::abort();
    }
    return *installed;
}

void installPlatform(Platform* implementation) { installed = implementation; }

}  // namespace nonari
