// File ▸ Print chosen and its dialog answered as the user does: printing to
// a PDF file.
#pragma once

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPrintDialog>
#include <string>

namespace benchsupport
{

inline QAction *printItem()
{
    for (QWidget *window : QApplication::topLevelWidgets())
        if (auto *item = window->findChild<QAction *>(QStringLiteral("actionPrint")))
            return item;
    return nullptr;
}

// False when no print dialog came up.
inline bool printInto(const std::string &pdf)
{
    printItem()->trigger();
    for (QWidget *window : QApplication::topLevelWidgets()) {
        auto *dialog = qobject_cast<QPrintDialog *>(window);
        if (!dialog || !dialog->isVisible())
            continue;
        auto *printers = dialog->findChild<QComboBox *>(QStringLiteral("printers"));
        printers->setCurrentIndex(printers->count() - 1); // Print to File (PDF)
        dialog->findChild<QLineEdit *>(QStringLiteral("filename"))->setText(QString::fromStdString(pdf));
        dialog->accept();
        return true;
    }
    return false;
}

} // namespace benchsupport
