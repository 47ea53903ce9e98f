// The sheet a document window shows: laid out when the table or the record
// changes, painted from that layout whenever its content widget paints.
#pragma once

#include "document/sheet.h"

#include <QObject>
#include <QRect>

class QWidget;

class SheetView : public QObject
{
  public:
    explicit SheetView(QWidget *content);

    void show(SheetLayout layout);
    const SheetLayout &layout() const { return layout_; }
    // The content's rectangle; a hidden window has its size only once laid out.
    QRect bounds() const;
    bool eventFilter(QObject *object, QEvent *event) override;

  private:
    QWidget *content_;
    SheetLayout layout_;
};
