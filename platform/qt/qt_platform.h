// The platform realised on Qt 6 (this header itself needs no Qt).
#pragma once

#include "platform/platform.h"

#include <memory>

namespace nonari {

// Creates the application object and the platform; argc and argv must outlive it.
std::unique_ptr<Platform> createQtPlatform(int& argc, char** argv);

}  // namespace nonari
