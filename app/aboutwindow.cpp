// The about box: built on first request, hidden when closed, painting the
// application icon centred near the top and the information string below it.
#include "app/aboutwindow.h"

#include "app/windowmodule.h"
#include "document/document.h"
#include "platform/bundle.h"
#include "platform/quickdraw.h"
#include "ui_aboutwindow.h"

#include <QCoreApplication>
#include <QPainter>

namespace
{

QWidget *aboutWindow = nullptr;

class AboutBox : public AuxiliaryWindow<Ui::AboutWindow>
{
  protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace

void AboutBox::paintEvent(QPaintEvent *)
{
    const QRect bounds = rect();
    const int centre = (bounds.left() + bounds.width()) / 2;
    QPainter painter(this);
    painter.fillRect(bounds, Qt::white);
    const QRect iconBox(centre - 28, bounds.top() + 30, 48, 48);
    painter.drawImage(iconBox, platform::applicationIconImage(iconBox.size()));
    painter.setPen(QPen(Qt::black, 1.0));
    painter.setFont(sheetFont());
    const QRect textBox(QPoint(bounds.left() + 20, bounds.top() + 100),
                        QPoint(bounds.right() - 20, bounds.bottom() - 20));
    painter.drawText(textBox, Qt::TextWordWrap | Qt::AlignTop | Qt::AlignHCenter,
                     QString::fromStdString(BCopyInfoString()));
}

std::string BCopyInfoString()
{
    const QByteArray text = platform::infoValue("CFBundleGetInfoString").toUtf8();
    // The information string's translations are in the context "Info".
    return !text.isEmpty() ? QCoreApplication::translate("Info", text.constData()).toStdString()
                           : QCoreApplication::translate("Program", "Nameless Application").toStdString();
}

QWidget *BLoadAboutBox()
{
    auto *box = new AboutBox;
    BLoadWindow(box, "Window");
    return box;
}

void BInitAboutWindow()
{
    aboutWindow = BLoadAboutBox();
}

QWidget *BGetAboutWindowRef()
{
    if (!aboutWindow)
        BInitAboutWindow();
    return aboutWindow;
}

bool BIsAboutWindow(QWidget *window)
{
    return window && window == aboutWindow;
}

void BAboutBoxCommandHandler(QWidget *window)
{
    if (!window)
        return;
    BShowAuxiliaryWindow(window);
    window->update();
}
