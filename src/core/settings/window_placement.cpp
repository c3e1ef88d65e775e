#include "settings/window_placement.h"

#include "settings/settings_keys.h"

#include <algorithm>
#include <cstdint>

namespace yomi6 {

namespace {

namespace keys = settings_keys;

struct Span {
    std::int64_t begin;
    std::int64_t extent;
};

// One axis: the saved span [begin, end) placed inside [areaBegin, areaEnd).
Span FitSpan(std::int64_t begin, std::int64_t end, std::int64_t areaBegin, std::int64_t areaEnd,
             std::int64_t defaultExtent) {
    const std::int64_t areaExtent = std::max<std::int64_t>(areaEnd - areaBegin, 1);
    std::int64_t extent = end - begin;
    if (extent <= 0) {
        extent = defaultExtent;
    }
    extent = std::min(extent, areaExtent);
    const std::int64_t placed = std::clamp(begin, areaBegin, areaBegin + areaExtent - extent);
    return Span{placed, extent};
}

} // namespace

WindowRect FitWindowRect(const WindowRect& saved, const WindowRect& area) {
    const std::int64_t defaultWidth =
        std::int64_t{keys::kWindowRight.defaultValue} - keys::kWindowLeft.defaultValue;
    const std::int64_t defaultHeight =
        std::int64_t{keys::kWindowBottom.defaultValue} - keys::kWindowTop.defaultValue;
    const Span x = FitSpan(saved.left, saved.right, area.left, area.right, defaultWidth);
    const Span y = FitSpan(saved.top, saved.bottom, area.top, area.bottom, defaultHeight);
    // The result lies inside the area, so it fits 32 bits; the clamp only matters for an area
    // without extent at the very top of the range.
    const auto to32 = [](std::int64_t v) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
    };
    return WindowRect{to32(x.begin), to32(y.begin), to32(x.begin + x.extent),
                      to32(y.begin + y.extent)};
}

} // namespace yomi6
