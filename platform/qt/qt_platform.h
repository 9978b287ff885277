// The platform realised on Qt 6 (this header itself needs no Qt).
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/platform.h"

#include <memory>

namespace nonari {

// Creates the application object and the platform; argc and argv must outlive it.
std::unique_ptr<Platform> createQtPlatform(int& argc, char** argv);

}  // namespace nonari
