// The focus bracketing card for the window, paper and PDF: the arguments, the
// list of shots and a diagram of their sharp zones on a dioptre scale.
#pragma once

#include "model/bracketing.h"

#include <QRectF>
#include <optional>
#include <string>

class QPainter;

// The diagram in bounds: a distance scale spaced in dioptres from the near
// limit to infinity, labelled in the plan's unit with ∞ at its end; each
// shot's sharp zone a bar with its focus distance marked, overlaps visible.
void paintBracketingDiagram(QPainter &painter, const QRectF &bounds, const tBracketingArguments &arguments,
                            const tBracketingPlan &plan);
// The one-page card in page (points): a heading, the arguments, the shots and the diagram.
void paintBracketingCard(QPainter &painter, const QRectF &page, const tBracketingArguments &arguments,
                         const tBracketingPlan &plan);
// The card as a one-page PDF document's bytes; nothing when it cannot be made.
std::optional<std::string> QRLBracketingCardAsPDF(const tBracketingArguments &arguments,
                                                  const tBracketingPlan &plan);
