// The document file image: the 280 big-endian bytes a calculation record is stored as.
#pragma once

#include "model/data.h"

#include <cstdint>

constexpr long kDocumentFileSize = 280;

// The file image of a record, fill bytes zero.
void BEncodeData(const tData *dataPtr, std::uint8_t image[kDocumentFileSize]);
// Lays an image of count bytes (count <= 280) over the record: fields it
// does not cover keep their values. Nothing is validated.
void BDecodeData(const std::uint8_t *image, long count, tData *dataPtr);
