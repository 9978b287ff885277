// TODO stub: replaced by the real implementation.
#include "platform/qt/qt_platform.h"
#include "platform/headless_platform.h"

namespace nonari {
std::unique_ptr<Platform> createQtPlatform(int&, char**) { return std::make_unique<HeadlessPlatform>(); }
}  // namespace nonari
