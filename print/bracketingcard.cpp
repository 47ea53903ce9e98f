// Placeholder until the card is drawn.
#include "print/bracketingcard.h"

void paintBracketingDiagram(QPainter &, const QRectF &, const tBracketingArguments &, const tBracketingPlan &)
{
}

void paintBracketingCard(QPainter &, const QRectF &, const tBracketingArguments &, const tBracketingPlan &) {}

std::optional<std::string> QRLBracketingCardAsPDF(const tBracketingArguments &, const tBracketingPlan &)
{
    return std::nullopt;
}
