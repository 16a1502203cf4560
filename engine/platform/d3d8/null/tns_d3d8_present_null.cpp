// The presenter of a device whose window has nothing to show pictures in: every
// present ends at the device's front buffer, which stays readable.
#include "engine/platform/d3d8/tns_d3d8_presenter.h"

namespace {

class NullPresenter final : public TnsPresenter {
public:
    void show(const uint32_t*, int, const uint8_t*, const uint8_t*, const uint8_t*) override {}
    void waitForRetrace() override {}
    bool isMinimised() const override { return false; }
};

} // namespace

std::unique_ptr<TnsPresenter> TnsOpenNullPresenter()
{
    return std::make_unique<NullPresenter>();
}
