// Feeds arbitrary bytes to the document file decoder alone, with no
// application or window: the bytes, cut to any length, are decoded into a
// record, and the record must encode back to the same bytes (the fill bytes
// excepted, which are written as zeros) and decode again to the same
// record. Run by hand with
//   build-fuzz/fuzz/decode_fuzz -max_total_time=600 fuzz/corpus/decode_fuzz
#include "formats/fileimage.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace
{

// The bytes of the layout that carry no field.
bool isFillByte(long offset)
{
    return (offset >= 1 && offset < 4) || (offset >= 36 && offset < 40);
}

[[noreturn]] void fail()
{
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const long count = size > std::size_t(kDocumentFileSize) ? kDocumentFileSize : long(size);
    tData record{};
    BDecodeData(data, long(size), &record);

    std::uint8_t image[kDocumentFileSize];
    BEncodeData(&record, image);
    for (long i = 0; i < kDocumentFileSize; ++i) {
        // Bytes the input lacked keep the empty record's zeros.
        const std::uint8_t expected = i < count && !isFillByte(i) ? data[i] : 0;
        if (image[i] != expected)
            fail();
    }
    tData again{};
    BDecodeData(image, kDocumentFileSize, &again);
    std::uint8_t second[kDocumentFileSize];
    BEncodeData(&again, second);
    if (std::memcmp(second, image, sizeof image) != 0)
        fail();
    return 0;
}
