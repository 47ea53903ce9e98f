#include "print_driver.h"

#include "app_driver.h"

#include <QtPrintSupport>
#include <QtWidgets>

namespace qrltest
{

template <typename Dialog> Dialog *Open(const char *command) // the dialog it opens, or the test fails
{
    Trigger(command);
    if (auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget()))
        return dialog;
    throw std::runtime_error(std::string(command) + " showed no dialog");
}

PageChoice SetUpPage(const PageChoice &choice)
{
    auto *dialog = Open<QPageSetupDialog>("PageSetup");
    const QPageLayout was = dialog->printer()->pageLayout();
    const QMarginsF m = was.margins(QPageLayout::Point);
    const bool landscape = was.orientation() == QPageLayout::Landscape;
    auto *units = Find<QComboBox>(dialog, "unitCombo"), *papers = Find<QComboBox>(dialog, "pageSizeCombo");
    ChooseItem(units, units->findData(QVariant::fromValue(QPageLayout::Point)) + 1); // margins in points
    for (int i = 0; i < papers->count(); ++i)
        if (qvariant_cast<QPageSize>(papers->itemData(i)).key().toStdString() == choice.paper)
            ChooseItem(papers, i + 1);
    Click(Find<QRadioButton>(dialog, choice.landscape ? "landscape" : "portrait"));
    const char *const names[] = {"leftMargin", "topMargin", "rightMargin", "bottomMargin"};
    const double margins[] = {choice.left, choice.top, choice.right, choice.bottom};
    for (int i = 0; i < 4; ++i)
        Find<QDoubleSpinBox>(dialog, names[i])->setValue(margins[i]);
    dialog->done(QDialog::Accepted);
    return {was.pageSize().key().toStdString(), landscape, m.left(), m.top(), m.right(), m.bottom()};
}

ShownPrint PrintTo(const std::string &pdf, int firstPage, int lastPage)
{
    auto *dialog = Open<QPrintDialog>("Print");
    const ShownPrint shown{dialog->printer()->outputFileName().toStdString()};
    auto *printers = Find<QComboBox>(dialog, "printers");
    ChooseItem(printers, printers->count()); // Print to File (PDF)
    if (!pdf.empty())
        TypeInto(Find<QLineEdit>(dialog, "filename"), pdf);
    if (firstPage != 0) {
        Click(Find<QRadioButton>(dialog, "printRange"));
        Find<QSpinBox>(dialog, "from")->setValue(firstPage);
        Find<QSpinBox>(dialog, "to")->setValue(lastPage);
    }
    dialog->accept(); // as Print does once the dialog's own checks of the file have passed
    return shown;
}

} // namespace qrltest
