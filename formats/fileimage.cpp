// The file image through QDataStream: big-endian, doubles as their IEEE bits.
#include "formats/fileimage.h"

#include <QByteArray>
#include <QDataStream>
#include <cstring>

void BEncodeData(const tData *dataPtr, std::uint8_t image[kDocumentFileSize])
{
    QByteArray bytes;
    QDataStream out(&bytes, QDataStream::WriteOnly);
    const tArgumentList &arguments = dataPtr->argumentList;
    out << dataPtr->valid << quint8(0) << quint16(0) << qint32(dataPtr->distanceUnit) << arguments.distance
        << arguments.focalLength << arguments.unsharpCircleDiameter << qint32(arguments.cameraType)
        << qint32(0);
    for (const tTableElement &row : dataPtr->table)
        out << row.aperture << row.nearDistance << row.farDistance;
    std::memcpy(image, bytes.constData(), kDocumentFileSize);
}

void BDecodeData(const std::uint8_t *image, long count, tData *dataPtr)
{
    // Start from the record's own image so that bytes the input lacks keep
    // what the record held.
    std::uint8_t whole[kDocumentFileSize];
    BEncodeData(dataPtr, whole);
    if (count > 0)
        std::memcpy(whole, image, std::size_t(count < kDocumentFileSize ? count : kDocumentFileSize));
    QDataStream in(QByteArray::fromRawData(reinterpret_cast<const char *>(whole), kDocumentFileSize));
    tArgumentList &arguments = dataPtr->argumentList;
    qint32 camera = 0;
    in >> dataPtr->valid;
    in.skipRawData(3);
    in >> dataPtr->distanceUnit >> arguments.distance >> arguments.focalLength >>
        arguments.unsharpCircleDiameter >> camera;
    arguments.cameraType = tCameraType(camera);
    in.skipRawData(4);
    for (tTableElement &row : dataPtr->table)
        in >> row.aperture >> row.nearDistance >> row.farDistance;
}
