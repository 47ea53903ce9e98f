// The focus bracketing window: one window, built on first request and hidden
// rather than closed. Every change of its inputs makes the plan again; a plan
// the model refuses shows its reason in the window, never an alert.
#include "app/bracketingwindow.h"

#include "app/windowmodule.h"
#include "document/document.h"
#include "formats/exportformats.h"
#include "platform/prefs.h"
#include "platform/strings.h"
#include "print/bracketingcard.h"
#include "print/printing.h"
#include "ui_bracketingwindow.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QPainter>
#include <QTreeWidget>
#include <algorithm>
#include <cmath>
#include <limits>

namespace
{

// The usual circle of the digital formats, in µm, for a window not filled in from a table.
constexpr double kDigitalCircle = 30.0;

QString shown(double value)
{
    return QString::fromStdString(formatNumber("%g", value));
}

// The field's number: empty when the field is, NaN (which the plan refuses) for anything but a number.
double fieldNumber(const QLineEdit *field, double empty)
{
    if (field->text().trimmed().isEmpty())
        return empty;
    double value = std::numeric_limits<double>::quiet_NaN();
    readDecimal(field->text().toStdString(), &value);
    return value;
}

// The sharp zones on their dioptre scale, as the card draws them.
class Diagram : public QWidget
{
  public:
    using QWidget::QWidget;
    tBracketingArguments arguments{};
    tBracketingPlan plan{kPlanFocalLengthOutOfRange, 0.0, {}};

  protected:
    void paintEvent(QPaintEvent *) override
    {
        if (plan.refusal != kPlanMade)
            return;
        QPainter painter(this);
        paintBracketingDiagram(painter, QRectF(rect()), arguments, plan);
    }
};

class BracketingForm : public AuxiliaryWindow<Ui::BracketingWindow>
{
  public:
    BracketingForm()
    {
        diagram = new Diagram(ui.diagramFrame);
        ui.diagramLayout->addWidget(diagram);
        ui.focalField->setText(QStringLiteral("35"));
        ui.apertureField->setText(QStringLiteral("8"));
        ui.cameraField->setCurrentIndex(fullFrameDigital);
        ui.circleField->setText(shown(kDigitalCircle));
        ui.nearField->setText(QStringLiteral("1"));
        ui.overlapField->setText(QStringLiteral("0.1"));
        ui.unitField->setCurrentIndex(QRLReadDistanceUnit() == kDistanceUnitFeet ? 1 : 0);
        ui.farField->setPlaceholderText(QStringLiteral("\u221e"));
        for (QLineEdit *field :
             {ui.focalField, ui.apertureField, ui.circleField, ui.nearField, ui.farField, ui.overlapField})
            connect(field, &QLineEdit::textChanged, this, [this] { replan(); });
        connect(ui.cameraField, qOverload<int>(&QComboBox::currentIndexChanged), this,
                [this](int camera) { chooseCamera(camera); });
        connect(ui.unitField, qOverload<int>(&QComboBox::currentIndexChanged), this, [this] { replan(); });
        BInitPrintingDialogs(this, [this](QPainter &painter, const QRectF &page) {
            paintBracketingCard(painter, page, diagram->arguments, diagram->plan);
        });
        replan();
        // Columns as wide as their figures, which flush right under their headings.
        ui.shotsList->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
        ui.shotsList->header()->setDefaultAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }

    // The table's lens, camera, circle and unit; its focusing distance as the far limit's hint.
    void fillIn(tDataPtr data)
    {
        const int camera = QRLGetCameraType(data);
        ui.farField->setPlaceholderText(QStringLiteral("\u221e"));
        if (!QRLIsDataValid(data) || camera < APSC || camera > mediumFormat)
            return;
        ui.unitField->setCurrentIndex(QRLGetDistanceUnit(data) == kDistanceUnitFeet ? 1 : 0);
        ui.focalField->setText(shown(QRLGetFocalLength(data)));
        ui.cameraField->setCurrentIndex(camera);
        if (camera == APSC || camera == fullFrameDigital)
            ui.circleField->setText(shown(QRLGetUnsharpCircleinMicroMeter(data)));
        ui.farField->setPlaceholderText(
            QCoreApplication::translate("BracketingWindow", "\u221e (the table: %1)")
                .arg(shown(QRLGetDistance(data))));
    }

    Diagram *diagram = nullptr;

  protected:
    // Escape puts the window away as its close box does.
    void reject() override { BHideAndSelectFront(this); }

  private:
    // The digital formats take the typed circle, the film formats show their fixed one.
    void chooseCamera(int camera)
    {
        if (camera < 0)
            return;
        if (ui.circleField->isEnabled())
            digitalCircle = ui.circleField->text();
        const bool digital = camera == APSC || camera == fullFrameDigital;
        ui.circleField->setEnabled(digital);
        ui.circleField->setText(digital ? digitalCircle
                                        : shown(QRLFixedUnsharpCircle(tCameraType(camera)) * 1000000.0));
        replan();
    }

    tBracketingArguments readArguments() const
    {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        return {fieldNumber(ui.focalField, nan),
                fieldNumber(ui.apertureField, nan),
                fieldNumber(ui.circleField, nan) / 1000000.0,
                tCameraType(std::max(ui.cameraField->currentIndex(), 0)),
                fieldNumber(ui.nearField, nan),
                fieldNumber(ui.farField, std::numeric_limits<double>::infinity()),
                fieldNumber(ui.overlapField, nan),
                ui.unitField->currentIndex() == 1 ? kDistanceUnitFeet : kDistanceUnitMeters};
    }

    void replan()
    {
        diagram->arguments = readArguments();
        diagram->plan = QRLPlanBracketing(diagram->arguments);
        const tBracketingPlan &plan = diagram->plan;
        ui.refusalLabel->setText(
            QCoreApplication::translate("Program", QRLBracketingRefusalText(plan.refusal)));
        ui.refusalLabel->setVisible(plan.refusal != kPlanMade);
        showShots(plan);
        diagram->update();
    }

    // The rows of `stack`'s text, with ∞ for a far limit without end.
    void showShots(const tBracketingPlan &plan)
    {
        const QString unit = ui.unitField->currentIndex() == 1 ? QStringLiteral("ft") : QStringLiteral("m");
        const auto heading = [&unit](const char *text) {
            return QCoreApplication::translate("BracketingWindow", text).arg(unit);
        };
        ui.shotsList->setHeaderLabels({QCoreApplication::translate("BracketingWindow", "Shot"),
                                       heading(QT_TRANSLATE_NOOP("BracketingWindow", "Focus (%1)")),
                                       heading(QT_TRANSLATE_NOOP("BracketingWindow", "Near (%1)")),
                                       heading(QT_TRANSLATE_NOOP("BracketingWindow", "Far (%1)"))});
        ui.shotsList->clear();
        for (const std::vector<std::string> &row : QRLPlanRows(plan)) {
            QStringList texts;
            for (const std::string &field : row)
                texts << (field == "inf" ? QStringLiteral("\u221e") : QString::fromStdString(field));
            auto *item = new QTreeWidgetItem(ui.shotsList, texts);
            for (int column = 0; column < item->columnCount(); ++column)
                item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
        }
    }

    QString digitalCircle = shown(kDigitalCircle);
};

BracketingForm *bracketingForm()
{
    return Auxiliary<BracketingForm>::ref("BracketingWindow");
}

} // namespace

void QRLBracketingCommandHandler()
{
    const tDocumentPtr document = BGetDocumentWindowsDocPtr(platform::frontWindow());
    BracketingForm *form = bracketingForm();
    if (document)
        form->fillIn(document->dataPtr);
    BShowAuxiliaryWindow(form);
}

bool QRLIsBracketingWindow(QWidget *window)
{
    return window && window == Auxiliary<BracketingForm>::window;
}

bool QRLBracketingPlanOf(QWidget *window, tBracketingArguments *arguments, tBracketingPlan *plan)
{
    if (!QRLIsBracketingWindow(window) || bracketingForm()->diagram->plan.refusal != kPlanMade)
        return false;
    *arguments = bracketingForm()->diagram->arguments;
    *plan = bracketingForm()->diagram->plan;
    return true;
}
