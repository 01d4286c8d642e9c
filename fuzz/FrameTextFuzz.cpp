// Any stored text as a window frame: the parser never crashes, and what it accepts is written back by the
// formatter as a text that reads to exactly the same frame.
#include <TovikKit/TovikFrameText.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    if (const auto frame = TovikFrameText::parse(text)) {
        if (!std::isfinite(frame->x()) || !std::isfinite(frame->y()) || !std::isfinite(frame->width())
            || !std::isfinite(frame->height())) {
            std::abort();
        }
        const auto again = TovikFrameText::parse(TovikFrameText::format(*frame));
        if (!again || again->x() != frame->x() || again->y() != frame->y() || again->width() != frame->width()
            || again->height() != frame->height()) {
            std::abort();
        }
    }
    return 0;
}
