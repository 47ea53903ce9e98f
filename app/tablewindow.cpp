// The table parameters window: built afresh at every compute command with
// the last successful arguments, application-modal, destroyed when finished.
#include "app/tablewindow.h"

#include "document/document.h"
#include "platform/alerts.h"
#include "platform/forms.h"
#include "platform/menus.h"
#include "platform/prefs.h"
#include "platform/strings.h"
#include "ui_tablewindow.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <utility>

namespace
{

using TableForm = FormWindow<QDialog, Ui::TableWindow>;
TableForm *tableForm = nullptr; // while it is open

// The last successful calculation's arguments, in any document.
tFocalLength focalDef = 35.0;
tDistance distanceDef = 5.0;
tUnsharpCircleDiameter unsharpDef = 0.00001;
std::int32_t cameraTypeDef = fullFrameDigital;

// False when the field holds anything but one plain decimal number.
bool readNumber(const QLineEdit *field, double *value)
{
    return readDecimal(field->text().toStdString(), value);
}

// The pop-up's items are the camera types; only the digital ones take a circle.
void enableCircleFieldFor(int cameraIndex)
{
    tableForm->ui.unsharpCircleValueField->setEnabled(cameraIndex != thirtyFive &&
                                                      cameraIndex != mediumFormat);
}

void computeTable()
{
    const Ui::TableWindow &ui = tableForm->ui;
    tDistance distance = 0.0;
    tFocalLength focal = 0.0;
    const bool numbersRead = readNumber(ui.distanceField, &distance) && readNumber(ui.focalField, &focal);
    const int index = ui.unsharpField->currentIndex();
    tCameraType cameraType = mediumFormat;
    tUnsharpCircleDiameter circle = QRLFixedUnsharpCircle(mediumFormat);
    bool circleValid = true;
    if (index == APSC || index == fullFrameDigital) {
        // The typed circle, in micrometres; the film formats' circles are fixed.
        double unsharpValue = 0.0;
        cameraType = tCameraType(index);
        circleValid = readNumber(ui.unsharpCircleValueField, &unsharpValue) && unsharpValue >= 1.0 &&
                      unsharpValue <= 1000.0;
        circle = unsharpValue / 1000000.0;
    } else if (index == thirtyFive) {
        cameraType = thirtyFive;
        circle = QRLFixedUnsharpCircle(thirtyFive);
    }
    // The window is modal: the check and the calculation see the same unit.
    if (!numbersRead || !circleValid ||
        QRLArgumentsInRange(distance, focal, QRLReadDistanceUnit()) != kInRange) {
        showAlert("Please Check Your Arguments!",
                  "The focal length should be in the range of 4..1000 mm,\n"
                  "the distance from two times of focal length to 1000 m,\n"
                  "and the circle of confusion in the range of 1..1000 \u00b5m.");
        return;
    }
    QRLCalculateTable(BGetCurrentDocsDataPtr(), QRLReadDistanceUnit(), distance, focal, circle, cameraType);
    cameraTypeDef = cameraType;
    distanceDef = distance;
    unsharpDef = circle;
    focalDef = focal;
    tableForm->accept();
}

// A computed table shows in the front document, now modified; the window goes.
void finishTableWindow(int result)
{
    TableForm *form = std::exchange(tableForm, nullptr);
    form->hide();
    form->deleteLater();
    if (result != QDialog::Accepted)
        return;
    BDrawDocsWindowData(1);
    BSetDocumentDirtyShown(BGetDocumentWindowsDocPtr(BGetCurrentDocsWindowRef()), 1);
}

void QRLInitTableWindow()
{
    tableForm = new TableForm;
    platform::adoptWindow(tableForm, "Window");
    Ui::TableWindow &ui = tableForm->ui;
    QObject::connect(ui.computeButton, &QPushButton::clicked, tableForm, computeTable);
    QObject::connect(ui.cancelButton, &QPushButton::clicked, tableForm, &QDialog::reject);
    QObject::connect(tableForm, &QDialog::finished, tableForm, finishTableWindow);
    QObject::connect(ui.unsharpField, qOverload<int>(&QComboBox::activated), tableForm, enableCircleFieldFor);
    ui.distanceStringField->setText(
        QCoreApplication::translate("Program", QRLReadDistanceUnit() == kDistanceUnitFeet
                                                   ? QT_TRANSLATE_NOOP("Program", "distance in ft: ")
                                                   : QT_TRANSLATE_NOOP("Program", "distance in m: ")));
    // Numbers with a point in every locale, as the fields read them.
    ui.distanceField->setText(QString::number(distanceDef, 'f', 3));
    ui.focalField->setText(QString::number(focalDef, 'f', 0));
    ui.unsharpCircleValueField->setText(QString::number(unsharpDef * 1000000.0, 'f', 1));
    ui.unsharpField->setCurrentIndex(cameraTypeDef);
    enableCircleFieldFor(cameraTypeDef);
    ui.distanceField->setFocus(Qt::OtherFocusReason);
    ui.distanceField->selectAll();
    // Application-modal without an event loop of its own.
    tableForm->setWindowModality(Qt::ApplicationModal);
    platform::attachEditMenu(tableForm);
    tableForm->show();
}

} // namespace

int QRLIsTableWindow()
{
    return tableForm ? 1 : 0;
}

void QRLComputeTableCommandHandler(QWidget *window)
{
    if (!window)
        return;
    BSetCurrentDocListIndexFromWindowRef(window);
    QRLInitTableWindow();
}
