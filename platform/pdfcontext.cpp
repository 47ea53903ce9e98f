// PDF documents in memory on QPdfWriter. A page's port is replayed onto the
// writer the way the printing system replays a printed page: scaled from
// points to the writer's resolution, without what later erasures covered.
#include "pdfcontext.h"

#include "internal.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QLocale>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <memory>

struct OpaquePDFContext {
    QBuffer buffer;
    std::unique_ptr<QPdfWriter> writer;
    std::unique_ptr<QPainter> painter;
    GrafPort page;
    bool pageOpen = false;
    int pages = 0;
};

namespace
{

QPageLayout regionalPageLayout()
{
    const bool inches = QLocale::system().measurementSystem() == QLocale::ImperialUSSystem;
    return QPageLayout(QPageSize(inches ? QPageSize::Letter : QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(36, 36, 36, 36), QPageLayout::Point);
}

} // namespace

OSStatus PDFContextCreate(const std::string &title, PDFContextRef *outContext)
{
    if (!outContext || !qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return paramErr;
    auto context = std::make_unique<OpaquePDFContext>();
    if (!context->buffer.open(QIODevice::WriteOnly))
        return ioErr;
    context->writer = std::make_unique<QPdfWriter>(&context->buffer);
    context->writer->setPageLayout(regionalPageLayout());
    context->writer->setTitle(QString::fromStdString(title));
    context->writer->setCreator(QStringLiteral("Quorlscope"));
    const QRectF paint = context->writer->pageLayout().paintRect(QPageLayout::Point);
    SetRect(&context->page.pageBounds, 0, 0, short(paint.width()), short(paint.height()));
    *outContext = context.release();
    return noErr;
}

OSStatus PDFContextGetPageBounds(PDFContextRef context, Rect *outBounds)
{
    if (!context || !outBounds)
        return paramErr;
    *outBounds = context->page.pageBounds;
    return noErr;
}

OSStatus PDFContextBeginPage(PDFContextRef context, GrafPtr *outPort)
{
    if (!context || !outPort || context->pageOpen)
        return paramErr;
    if (!context->painter) {
        context->painter = std::make_unique<QPainter>();
        if (!context->painter->begin(context->writer.get()))
            return ioErr;
    } else if (!context->writer->newPage()) {
        return ioErr;
    }
    context->page.items.clear();
    context->page.penH = context->page.penV = 0;
    context->page.textSize = 12;
    context->page.textFace = 0;
    context->pageOpen = true;
    *outPort = &context->page;
    return noErr;
}

OSStatus PDFContextEndPage(PDFContextRef context)
{
    if (!context || !context->pageOpen)
        return paramErr;
    QPainter &painter = *context->painter;
    painter.save();
    const double scale = context->writer->resolution() / 72.0;
    painter.scale(scale, scale);
    platform::replayPort(context->page, painter, true);
    painter.restore();
    context->page.items.clear();
    context->pageOpen = false;
    ++context->pages;
    return noErr;
}

OSStatus PDFContextClose(PDFContextRef context, std::string *outBytes)
{
    if (!context || !outBytes)
        return paramErr;
    if (context->pageOpen)
        PDFContextEndPage(context);
    if (!context->painter || !context->painter->isActive())
        return paramErr; // a document needs a page
    if (!context->painter->end())
        return ioErr;
    context->buffer.close();
    *outBytes = context->buffer.data().toStdString();
    return noErr;
}

void PDFContextRelease(PDFContextRef context)
{
    if (context && context->painter && context->painter->isActive())
        context->painter->end();
    delete context;
}
