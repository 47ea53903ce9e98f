// The sheet view: the layout of a document window's sheet and its painting.
#include "document/sheetview.h"

#include <QEvent>
#include <QLayout>
#include <QPainter>
#include <QWidget>

SheetView::SheetView(QWidget *content) : QObject(content), content_(content)
{
    content->installEventFilter(this);
}

void SheetView::show(SheetLayout layout)
{
    layout_ = std::move(layout);
    content_->update();
}

QRect SheetView::bounds() const
{
    if (QLayout *layout = content_->window()->layout())
        layout->activate();
    return content_->rect();
}

bool SheetView::eventFilter(QObject *object, QEvent *event)
{
    if (object == content_ && event->type() == QEvent::Paint && !layout_.empty()) {
        QPainter painter(content_);
        painter.fillRect(content_->rect(), Qt::white);
        paintSheet(painter, layout_);
    }
    return false;
}
