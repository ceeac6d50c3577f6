// The headless engine unloads Mesa's driver when its display is terminated.
// The driver is kept mapped so that the leak checker can still name the
// driver's own allocations (its ARB program parser keeps copies for the life
// of the process), and those are not ours.
#include <dlfcn.h>

namespace {

const bool driverPinned = [] {
    dlopen("swrast_dri.so", RTLD_LAZY | RTLD_NODELETE);
    dlopen("/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so", RTLD_LAZY | RTLD_NODELETE);
    return true;
}();

} // namespace

// The suppression of the driver's own allocations is in the GL test support.
