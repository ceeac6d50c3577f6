// SetDisplayMode through the X Resize and Rotate extension.
#include "runtime/DisplaySetup.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <optional>
#include <thread>

namespace ra7 {

namespace {

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
struct ConfigFreer {
    void operator()(XRRScreenConfiguration* config) const { XRRFreeScreenConfigInfo(config); }
};

struct DesktopMode {
    SizeID size = 0;
    Rotation rotation = RR_Rotate_0;
    short rate = 0;
};

// The mode in force before the first change, restored by (0, 0, 0, 0).
std::optional<DesktopMode> desktopMode;

bool applyMode(Display* display, Window root, XRRScreenConfiguration* config, SizeID size, Rotation rotation,
               short rate)
{
    Status status = XRRSetScreenConfigAndRate(display, config, root, size, rotation, rate, CurrentTime);
    // The server refuses a change made against configuration times older
    // than its own (another client, or our own change not yet settled):
    // read the configuration again and retry a few times.
    for (int retry = 0;
         retry < 5 && (status == RRSetConfigInvalidConfigTime || status == RRSetConfigInvalidTime); ++retry) {
        XSync(display, False);
        std::unique_ptr<XRRScreenConfiguration, ConfigFreer> fresh(XRRGetScreenInfo(display, root));
        if (!fresh)
            break;
        status = XRRSetScreenConfigAndRate(display, fresh.get(), root, size, rotation, rate, CurrentTime);
    }
    XSync(display, False);
    return status == RRSetConfigSuccess;
}

// The X display of DISPLAY. Right after a mode change a server may refuse
// new connections for a moment, so a refused connection is tried again for
// up to half a second.
Display* openDisplay()
{
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (Display* display = XOpenDisplay(nullptr))
            return display;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return nullptr;
}

} // namespace

bool SetDisplayMode(std::int32_t width, std::int32_t height, std::int32_t bits, std::int32_t refresh)
{
    const bool restore = width == 0 && height == 0 && bits == 0 && refresh == 0;
    if (restore && !desktopMode)
        return true; // never changed
    if (!std::getenv("DISPLAY"))
        return false;
    std::unique_ptr<Display, DisplayCloser> display(openDisplay());
    if (!display)
        return false;
    int eventBase = 0;
    int errorBase = 0;
    if (!XRRQueryExtension(display.get(), &eventBase, &errorBase))
        return false;
    const Window root = DefaultRootWindow(display.get());
    std::unique_ptr<XRRScreenConfiguration, ConfigFreer> config(XRRGetScreenInfo(display.get(), root));
    if (!config)
        return false;
    Rotation rotation = RR_Rotate_0;
    const SizeID current = XRRConfigCurrentConfiguration(config.get(), &rotation);
    const short currentRate = XRRConfigCurrentRate(config.get());

    if (restore) {
        const bool restored = applyMode(display.get(), root, config.get(), desktopMode->size,
                                        desktopMode->rotation, desktopMode->rate);
        if (restored)
            desktopMode.reset();
        return restored;
    }
    const int depth = DefaultDepth(display.get(), DefaultScreen(display.get()));
    if (bits != 0 && bits != depth && !(bits == 32 && depth == 24))
        return false;

    int sizeCount = 0;
    XRRScreenSize* sizes = XRRConfigSizes(config.get(), &sizeCount);
    const DesktopMode before{current, rotation, currentRate};
    // First the size at the requested rate; then the size at any rate it
    // offers (X servers without real monitors offer only rate 0).
    for (const bool exactRate : {true, false}) {
        for (int i = 0; i < sizeCount; ++i) {
            if (sizes[i].width != width || sizes[i].height != height)
                continue;
            int rateCount = 0;
            short* rates = XRRConfigRates(config.get(), i, &rateCount);
            for (int r = 0; r < rateCount; ++r) {
                if (exactRate && refresh != 0 && rates[r] != refresh)
                    continue;
                if (applyMode(display.get(), root, config.get(), static_cast<SizeID>(i), rotation,
                              rates[r])) {
                    if (!desktopMode)
                        desktopMode = before;
                    return true;
                }
            }
        }
    }
    return false;
}

} // namespace ra7
