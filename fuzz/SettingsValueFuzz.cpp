// Random keys and values of every kind, written to a store on disk and read back: each read returns what was
// written (a not-a-number real is stored as nothing), and reads of another kind give none.
#include <Platform/Settings/TovikSettingsStore.h>

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>

namespace {

// One store for the whole run, in a folder of its own that goes away when the fuzzer exits.
struct FuzzStore {
    FuzzStore()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "dayvane-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data())) {
            folder = pattern;
            settings = TovikSettingsStore::open(folder / "settings.sqlite3");
        }
        if (!settings) {
            std::abort();
        }
    }
    ~FuzzStore()
    {
        settings.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    std::filesystem::path folder;
    std::shared_ptr<TovikSettingsStore> settings;
};

TovikSettingsStore &store()
{
    static FuzzStore instance;
    return *instance.settings;
}

void check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    TovikSettingsStore &settings = store();
    const std::string key = input.ConsumeRandomLengthString(64);
    switch (input.ConsumeIntegralInRange(0, 4)) {
    case 0: {
        const double value = input.ConsumeFloatingPoint<double>();
        settings.set(key, value);
        const std::optional<double> read = settings.number(key);
        if (std::isnan(value)) {
            check(!read);
        } else {
            check(read && *read == value && std::signbit(*read) == std::signbit(value));
            check(!settings.text(key) && !settings.boolean(key));
        }
        break;
    }
    case 1: {
        const auto value = input.ConsumeIntegral<std::int64_t>();
        settings.set(key, value);
        check(settings.integer(key) == value && settings.boolean(key) == (value != 0) && !settings.text(key));
        break;
    }
    case 2: {
        const bool value = input.ConsumeBool();
        settings.set(key, value);
        check(settings.boolean(key) == value && settings.integer(key) == (value ? 1 : 0));
        break;
    }
    case 3: {
        const std::string value = input.ConsumeRemainingBytesAsString();
        settings.set(key, value);
        check(settings.text(key) == value && !settings.number(key) && !settings.boolean(key));
        break;
    }
    default: {
        const std::string value = input.ConsumeRemainingBytesAsString();
        // A transaction that throws leaves the key as it was.
        const std::optional<TovikSettingsStore::Value> before = settings.value(key);
        try {
            settings.transaction([&](TovikSettingsStore &inside) {
                inside.set(key, value);
                throw 0;
            });
        } catch (int) {
        }
        check(settings.value(key) == before);
        break;
    }
    }
    return 0;
}
