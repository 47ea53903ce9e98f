// A document's record, computed with the arguments given, deleted with the object.
#pragma once

#include "model/data.h"

namespace qrltest
{
struct Record {
    tDataPtr data = QRLNewDataPtr();
    Record() = default;
    Record(std::int32_t unit, double distance, double focal, double circle, tCameraType camera)
    {
        QRLCalculateTable(data, unit, distance, focal, circle, camera);
    }
    ~Record() { QRLDeleteDataPtr(data); }
    Record(const Record &) = delete;
};
} // namespace qrltest
