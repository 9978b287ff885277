// Program entry: the Qt platform, then the game.
#include "app/startup.h"
#include "platform/qt/qt_platform.h"

int main(int argc, char** argv) {
    auto platform = nonari::createQtPlatform(argc, argv);
    nonari::installPlatform(platform.get());
    int status = nonari::runNonari();
    nonari::installPlatform(nullptr);
    return status;
}
