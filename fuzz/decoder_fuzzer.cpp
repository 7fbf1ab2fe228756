// libFuzzer target for one picture decoder, chosen at build time by
// PIGMORA_FUZZ_DECODE (decodeBitmap, decodeJpeg or decodePng).

#include "image/picturedecoder.h"

#include <cstddef>
#include <cstdint>

#ifndef PIGMORA_FUZZ_DECODE
#error "PIGMORA_FUZZ_DECODE must name the decoder to fuzz"
#endif

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const pigmora::Result<pigmora::DecodedPicture> result = pigmora::PIGMORA_FUZZ_DECODE({data, size});
    // Whatever the bytes: a refusal names its reason, a picture has sane
    // sides and exactly its pixels. A violation stops the fuzzer like a crash.
    if (!result) {
        if (result.message().empty())
            __builtin_trap();
        return 0;
    }
    const pigmora::DecodedPicture &p = *result;
    if (p.width <= 0 || p.height <= 0 || p.width > pigmora::kMaxPictureSide || p.height > pigmora::kMaxPictureSide
        || p.pixels.size() != static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height) * 4)
        __builtin_trap();
    return 0;
}
