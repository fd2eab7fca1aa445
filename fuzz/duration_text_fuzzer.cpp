// Arbitrary bytes through the duration text readers: they never fail, a field is a
// slice of the text, and every duration text that FormatDuration writes reads back as
// the same duration.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "run/duration_text.h"
#include "run/text_fields.h"

namespace {

void Require(bool condition) {
    if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    const velmira::Duration written{data.ConsumeIntegral<std::int32_t>(),
                                    data.ConsumeIntegral<std::int32_t>(),
                                    data.ConsumeIntegral<std::int32_t>()};
    const std::string left = data.ConsumeRandomLengthString(16);
    const std::string right = data.ConsumeRandomLengthString(16);
    const std::string text = data.ConsumeRemainingBytesAsString();

    Require(velmira::TextBetween(text, left, right).size() <= text.size());
    (void)velmira::TextToInteger(text);
    (void)velmira::ParseDuration(text);

    const std::string formatted =
        velmira::FormatDuration(written.hours, written.minutes, written.seconds);
    Require(velmira::ParseDuration(formatted) == written);
    return 0;
}
