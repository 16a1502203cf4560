// The adapter rating of the capability survey: a coarse 1 (weakest) to 5
// (strongest) from the PCI vendor and device IDs of known cards, 0 for others.
#include "engine/core/ctarnis.h"

namespace {

constexpr int32_t kFileID = EHS_FILE_GFX_RATING;

struct DeviceRating {
    uint32_t vendor;
    uint32_t device;
    int32_t rating;
};

// Vendors rated by single device IDs; NVIDIA goes by ranges below.
constexpr DeviceRating kRatings[] = {
    {0x1002, 0x4E48, 5}, {0x1002, 0x4E44, 5}, {0x1002, 0x4E45, 5}, {0x1002, 0x514D, 5}, {0x1002, 0x4966, 5},
    {0x1002, 0x514C, 5}, {0x1002, 0x5157, 4}, {0x1002, 0x5144, 4}, {0x1002, 0x5159, 3}, {0x1002, 0x4C4D, 2},
    {0x1002, 0x524C, 1}, {0x102B, 0x2527, 2}, {0x102B, 0x0525, 2}, {0x102B, 0x0521, 1}, {0x1039, 0x6300, 2},
    {0x8086, 0x7800, 1}, {0x104A, 0x0010, 4}, {0x121A, 0x0009, 3}, {0x121A, 0x0005, 2}, {0x1023, 0x8520, 1},
};

constexpr uint32_t kNvidia = 0x10DE;

} // namespace

int32_t CTarnis::GFX_RateAdapter(uint32_t vendorID, uint32_t deviceID)
{
    EHS_CHECKPOINT(kFileID);
    if (vendorID == kNvidia) {
        if (deviceID < 0x28) return 1;
        if (deviceID < 0x100) return 2;
        if (deviceID < 0x170) return 3;
        if (deviceID < 0x250) return 4;
        return 5;
    }
    for (const DeviceRating& r : kRatings)
        if (r.vendor == vendorID && r.device == deviceID) return r.rating;
    return 0;
}
