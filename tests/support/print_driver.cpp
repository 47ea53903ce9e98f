#include "print_driver.h"

#include "app_driver.h"

#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QSpinBox>
#include <gtest/gtest.h>

namespace qrltest
{
namespace
{

template <typename Dialog> Dialog *waitFor()
{
    const QDeadlineTimer deadline(5000);
    for (;;) {
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (auto *dialog = qobject_cast<Dialog *>(widget); dialog && dialog->isVisible())
                return dialog;
        if (deadline.hasExpired())
            return nullptr;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
}

template <typename Field> Field *field(QDialog *dialog, const char *name)
{
    return dialog->findChild<Field *>(QLatin1String(name));
}

// The paper's item in the dialog's list, from 1; 0 when it has none.
int paperItem(QComboBox *papers, const std::string &key)
{
    for (int i = 0; i < papers->count(); ++i)
        if (qvariant_cast<QPageSize>(papers->itemData(i)).key().toStdString() == key)
            return i + 1;
    return 0;
}

PageChoice PageChoiceOf(const QPageLayout &layout)
{
    const QMarginsF m = layout.margins(QPageLayout::Point);
    const bool landscape = layout.orientation() == QPageLayout::Landscape;
    return {layout.pageSize().key().toStdString(), landscape, m.left(), m.top(), m.right(), m.bottom()};
}

} // namespace

std::vector<QDialog *> OpenPrintDialogs()
{
    std::vector<QDialog *> dialogs;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if ((qobject_cast<QPageSetupDialog *>(widget) || qobject_cast<QPrintDialog *>(widget)) &&
            widget->isVisible())
            dialogs.push_back(static_cast<QDialog *>(widget));
    return dialogs;
}

PageChoice ShownPage(QDialog *dialog)
{
    if (auto *pageSetup = qobject_cast<QPageSetupDialog *>(dialog))
        return PageChoiceOf(pageSetup->printer()->pageLayout());
    if (auto *print = qobject_cast<QPrintDialog *>(dialog))
        return PageChoiceOf(print->printer()->pageLayout());
    return {};
}

void AnswerPageSetup(QPageSetupDialog *dialog, const PageChoice &choice, bool confirm)
{
    auto *units = field<QComboBox>(dialog, "unitCombo");
    auto *papers = field<QComboBox>(dialog, "pageSizeCombo");
    ChooseItem(units, units->findData(QVariant::fromValue(QPageLayout::Point)) + 1);
    ChooseItem(papers, paperItem(papers, choice.paper));
    Click(field<QRadioButton>(dialog, choice.landscape ? "landscape" : "portrait"));
    field<QDoubleSpinBox>(dialog, "leftMargin")->setValue(choice.left);
    field<QDoubleSpinBox>(dialog, "topMargin")->setValue(choice.top);
    field<QDoubleSpinBox>(dialog, "rightMargin")->setValue(choice.right);
    field<QDoubleSpinBox>(dialog, "bottomMargin")->setValue(choice.bottom);
    dialog->done(confirm ? QDialog::Accepted : QDialog::Rejected);
    ThrowHeldExit();
}

void AnswerPrint(QPrintDialog *dialog, const PrintChoice &choice, bool confirm)
{
    auto *printers = field<QComboBox>(dialog, "printers");
    ChooseItem(printers, printers->count()); // Print to File (PDF)
    if (!choice.outputFile.empty())
        TypeInto(field<QLineEdit>(dialog, "filename"), choice.outputFile);
    if (choice.firstPage != 0) {
        Click(field<QRadioButton>(dialog, "printRange"));
        field<QSpinBox>(dialog, "from")->setValue(choice.firstPage);
        field<QSpinBox>(dialog, "to")->setValue(choice.lastPage);
    }
    if (confirm)
        dialog->accept();
    else
        dialog->reject();
}

PageChoice SetUpPage(const PageChoice &choice)
{
    Trigger("PageSetup");
    auto *dialog = waitFor<QPageSetupDialog>();
    EXPECT_NE(dialog, nullptr);
    if (!dialog)
        return {};
    const PageChoice shown = ShownPage(dialog);
    AnswerPageSetup(dialog, choice);
    return shown;
}

ShownPrint PrintTo(const std::string &pdf, int firstPage, int lastPage)
{
    Trigger("Print");
    auto *dialog = waitFor<QPrintDialog>();
    EXPECT_NE(dialog, nullptr);
    if (!dialog)
        return {};
    QPrinter *printer = dialog->printer();
    const ShownPrint shown{dialog->parentWidget(), printer->docName().toStdString(),
                           printer->outputFileName().toStdString(), dialog->minPage(), dialog->maxPage()};
    AnswerPrint(dialog, {firstPage, lastPage, pdf});
    return shown;
}

} // namespace qrltest
