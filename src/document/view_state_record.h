#pragma once
// The view's state as a waveform file stores it: 178 dwords in this order.
// The view (CSYNView) gives the fields their meaning; the document and the
// file layer only carry them.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace lyr::document {

struct ViewStateRecord {
    static constexpr std::size_t kHistorySize = 128;
    static constexpr std::size_t kZoomLevels = 32;
    static constexpr std::size_t kDwordCount = 178;
    static constexpr std::size_t kByteSize = kDwordCount * 4;  // 712

    std::uint32_t cursor = 0;   // cursor sample index
    std::uint32_t scroll = 0;   // first visible sample
    std::int32_t cursorX = 0;   // pixel x where the cursor line was last drawn
    std::uint32_t markSet = 0;  // flag
    std::uint32_t mark = 0;     // time mark sample index
    std::int32_t markX = 0;     // pixel x of the mark
    std::array<std::uint32_t, kHistorySize> history{};  // edit-point ring
    std::uint32_t oldest = 0;
    std::uint32_t next = 0;
    std::uint32_t current = 0;
    std::uint32_t empty = 0;         // flag
    std::uint32_t canGoBack = 0;     // flag
    std::uint32_t canGoForward = 0;  // flag
    std::uint32_t onHistory = 0;     // flag
    std::uint32_t zoomEnabled = 0;   // flag
    std::uint32_t viewFlag = 0;      // flag; 0 for new views
    std::array<std::uint32_t, kZoomLevels> zoomSpans{};
    std::uint32_t standardZoom = 0;
    std::uint32_t maxZoom = 0;
    std::uint32_t zoom = 0;

    bool operator==(const ViewStateRecord&) const = default;

    // The 178 dwords in stored order.
    std::array<std::uint32_t, kDwordCount> toDwords() const;
    // Flags are normalised to 0/1 (any non-zero stored value means 1).
    static ViewStateRecord fromDwords(const std::array<std::uint32_t, kDwordCount>& d);

    // Little-endian bytes. encode returns false (writes nothing) when out is
    // shorter than kByteSize; decode returns false (record unchanged) when in
    // is shorter.
    bool encode(std::span<std::uint8_t> out) const;
    bool decode(std::span<const std::uint8_t> in);

    // The fields in stored order, each with its name and whether it is a
    // flag: v(name, field, isFlag), the two tables given as whole arrays.
    // The one list the file layer and every listing of the record follow.
    template <class Self, class V>
    static void forEachField(Self& r, V&& v) {
        v("cursor", r.cursor, false);
        v("scroll", r.scroll, false);
        v("cursorX", r.cursorX, false);
        v("markSet", r.markSet, true);
        v("mark", r.mark, false);
        v("markX", r.markX, false);
        v("history", r.history, false);
        v("oldest", r.oldest, false);
        v("next", r.next, false);
        v("current", r.current, false);
        v("empty", r.empty, true);
        v("canGoBack", r.canGoBack, true);
        v("canGoForward", r.canGoForward, true);
        v("onHistory", r.onHistory, true);
        v("zoomEnabled", r.zoomEnabled, true);
        v("viewFlag", r.viewFlag, true);
        v("zoomSpans", r.zoomSpans, false);
        v("standardZoom", r.standardZoom, false);
        v("maxZoom", r.maxZoom, false);
        v("zoom", r.zoom, false);
    }
};

}  // namespace lyr::document
