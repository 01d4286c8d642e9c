// Random texts read as the widget host's list of placed widgets: reading never fails, and what was read
// writes back to a text that reads as the same list.
#include <DayvaneWidgetHost/WidgetHostStore.h>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::vector<PlacedWidget> widgets =
        WidgetHostStore::decode(std::string_view(reinterpret_cast<const char *>(data), size));
    if (WidgetHostStore::decode(WidgetHostStore::encode(widgets)) != widgets) {
        std::abort();
    }
    return 0;
}
