// Showing and painting the about box: the application icon centred near the
// top, the information string centred below it, on white.
#include "app/aboutwindow.h"
#include "document/sheet.h"
#include "platform/forms.h"
#include "platform/quickdraw.h"

#include <QEvent>
#include <QPainter>
#include <QWidget>

namespace
{

const char *const kPainterName = "aboutPainter";

// Paints the about box from the first time it is asked to show on.
class AboutPainter : public QObject
{
  public:
    explicit AboutPainter(QWidget *box) : QObject(box), box_(box)
    {
        setObjectName(QString::fromLatin1(kPainterName));
        box->installEventFilter(this);
    }

    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (object == box_ && event->type() == QEvent::Paint)
            paint();
        return false;
    }

  private:
    void paint()
    {
        const QRect bounds = box_->rect();
        const int centre = (bounds.left() + bounds.width()) / 2;
        QPainter painter(box_);
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

    QWidget *box_;
};

} // namespace

void BAboutBoxCommandHandler(WindowRef window)
{
    if (!window)
        return;
    BShowWindowInFront(window);
    QWidget *box = platform::widgetOf(window);
    if (!box->findChild<QObject *>(QString::fromLatin1(kPainterName)))
        new AboutPainter(box);
    box->update();
}
