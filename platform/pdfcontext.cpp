// PDF documents in memory on QPdfWriter, their pages painted in points as
// printed pages are (platform::PaintedPages).
#include "pdfcontext.h"

#include "bundle.h"
#include "internal.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QLocale>
#include <QPageLayout>
#include <QPdfWriter>
#include <memory>

struct OpaquePDFContext {
    QBuffer buffer;
    std::unique_ptr<QPdfWriter> writer;
    platform::PaintedPages pages;
    Rect pageBounds; // the printable area, in points from its top-left
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
    context->writer->setCreator(QString::fromStdString(platform::bundleName()));
    const QRectF paint = context->writer->pageLayout().paintRect(QPageLayout::Point);
    SetRect(&context->pageBounds, 0, 0, short(paint.width()), short(paint.height()));
    *outContext = context.release();
    return noErr;
}

OSStatus PDFContextGetPageBounds(PDFContextRef context, Rect *outBounds)
{
    if (!context || !outBounds)
        return paramErr;
    *outBounds = context->pageBounds;
    return noErr;
}

OSStatus PDFContextBeginPage(PDFContextRef context)
{
    if (!context || context->pages.pageOpen)
        return paramErr;
    if (!context->pages.beginPage(*context->writer, context->writer->resolution() / 72.0))
        return ioErr;
    return noErr;
}

QPainter *pdfPagePainter(PDFContextRef context)
{
    return context && context->pages.pageOpen ? context->pages.painter.get() : nullptr;
}

OSStatus PDFContextEndPage(PDFContextRef context)
{
    if (!context || !context->pages.pageOpen)
        return paramErr;
    context->pages.endPage();
    return noErr;
}

OSStatus PDFContextClose(PDFContextRef context, std::string *outBytes)
{
    if (!context || !outBytes)
        return paramErr;
    if (context->pages.pageOpen)
        PDFContextEndPage(context);
    QPainter *painter = context->pages.painter.get();
    if (!painter || !painter->isActive())
        return paramErr; // a document needs a page
    if (!painter->end())
        return ioErr;
    context->buffer.close();
    *outBytes = context->buffer.data().toStdString();
    return noErr;
}

void PDFContextRelease(PDFContextRef context)
{
    if (context && context->pages.painter && context->pages.painter->isActive())
        context->pages.painter->end();
    delete context;
}
