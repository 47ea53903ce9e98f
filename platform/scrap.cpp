// The clipboard on Qt's: the flavors put since the last clear are gathered
// into one QMimeData and handed over together, so that a paste finds them
// all as one item, each program picking the flavor it understands.
#include "scrap.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <map>

struct OpaqueScrapRef {
};

namespace
{

OpaqueScrapRef currentScrap;
// The flavors put since the last clear, by MIME type.
std::map<std::string, QByteArray> pendingFlavors;

QClipboard *clipboard()
{
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance()) ? QGuiApplication::clipboard()
                                                                         : nullptr;
}

} // namespace

OSStatus ClearCurrentScrap()
{
    QClipboard *board = clipboard();
    if (!board)
        return paramErr;
    pendingFlavors.clear();
    board->clear();
    return noErr;
}

OSStatus GetCurrentScrap(ScrapRef *outScrap)
{
    if (!outScrap || !clipboard())
        return paramErr;
    *outScrap = &currentScrap;
    return noErr;
}

OSStatus PutScrapFlavor(ScrapRef scrap, const ScrapFlavorType &flavorType, ScrapFlavorFlags, long size,
                        const void *data)
{
    QClipboard *board = clipboard();
    if (scrap != &currentScrap || !board || flavorType.empty() || size < 0 || (size > 0 && !data))
        return paramErr;
    pendingFlavors[flavorType] = QByteArray(static_cast<const char *>(data), qsizetype(size));
    auto *mime = new QMimeData; // the clipboard takes it over
    for (const auto &[type, bytes] : pendingFlavors) {
        if (type == "text/plain")
            mime->setText(QString::fromUtf8(bytes));
        else
            mime->setData(QString::fromStdString(type), bytes);
    }
    board->setMimeData(mime);
    return noErr;
}

OSStatus GetScrapFlavorText(ScrapRef scrap, const ScrapFlavorType &flavorType, std::string *outData)
{
    QClipboard *board = clipboard();
    if (scrap != &currentScrap || !board || !outData)
        return paramErr;
    const QMimeData *mime = board->mimeData();
    const QString type = QString::fromStdString(flavorType);
    if (!mime || !mime->hasFormat(type))
        return noTypeErr;
    *outData = flavorType == "text/plain" ? mime->text().toStdString() : mime->data(type).toStdString();
    return noErr;
}
