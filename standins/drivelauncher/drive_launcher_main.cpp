// Stand-in for the drive launcher, which the monitor starts to open the product's drive view
// ("LaunchDrive") and, with elevation, to start the service. It records its command line in the
// events file ("drivelauncher: run <command line>") and ends; it opens and starts nothing.

#include <windows.h>

#include "standin_product.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    ovp::standin::RecordEvent(ovp::standin::OwnFolder(), "drivelauncher", "run " + ovp::standin::OwnCommandLine());
    return 0;
}
