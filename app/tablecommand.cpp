// The compute-table command: the table parameters window for a document.
#include "app/tablewindow.h"
#include "document/document.h"

void QRLComputeTableCommandHandler(QWidget *window)
{
    if (!window)
        return;
    BSetCurrentDocListIndexFromWindowRef(window);
    QRLInitTableWindow();
}
