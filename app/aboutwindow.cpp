// The about box: the application icon and below it the information string.
#include "app/windowmodule.h"
#include "platform/bundle.h"
#include "platform/icon.h"
#include "ui_aboutwindow.h"

#include <QCoreApplication>
#include <QPainter>

namespace
{

class AboutBox : public AuxiliaryWindow<Ui::AboutWindow>
{
  protected:
    void paintEvent(QPaintEvent *) override
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
};

using About = Auxiliary<AboutBox>;

} // namespace

std::string BCopyInfoString()
{
    const QByteArray text = platform::infoValue("CFBundleGetInfoString").toUtf8();
    // The information string's translations are in the context "Info".
    return !text.isEmpty() ? QCoreApplication::translate("Info", text.constData()).toStdString()
                           : QCoreApplication::translate("Program", "Nameless Application").toStdString();
}

QWidget *BGetAboutWindowRef()
{
    return About::ref();
}

void BAboutBoxCommandHandler()
{
    BShowAuxiliaryWindow(About::ref());
    About::window->update();
}
