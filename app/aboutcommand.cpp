// Showing and painting the about box: the application icon centred near the
// top, the information string centred below it, on white.
#include "app/aboutwindow.h"
#include "app/windowmodule.h"
#include "document/mainwindow.h"
#include "document/sheet.h"
#include "platform/forms.h"
#include "platform/quickdraw.h"
#include "ui_aboutwindow.h"

#include <QPainter>

namespace
{

// The about box's window: hidden when closed, painted by itself.
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

QWidget *BLoadAboutBox()
{
    auto *box = new AboutBox;
    BLoadWindow(box, "Window");
    return box;
}

void BAboutBoxCommandHandler(QWidget *window)
{
    if (!window)
        return;
    BShowWindowInFront(window);
    window->update();
}
