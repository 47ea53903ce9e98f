// The document file image: the 280 bytes a calculation record is stored as.
// Plain bytes and records only, for the program and its command line alike.
#pragma once

#include "model/data.h"

#include <cstdint>

constexpr long kDocumentFileSize = 280;

// The file image of a record: big-endian, fill bytes zero.
void BEncodeData(const tData *dataPtr, std::uint8_t image[kDocumentFileSize]);
// Replaces the first count bytes' worth of fields of the record from an
// image of count bytes (count <= 280); fields the image does not cover keep
// their values. Nothing is validated.
void BDecodeData(const std::uint8_t *image, long count, tData *dataPtr);
