#include "patterns/DrawnPatternForm.h"

#include "patterns/modFunctions.h"
#include "platform/OleColor.h"

namespace {
constexpr float SettleSeconds = 0.1f;
} // namespace

DrawnPatternForm::DrawnPatternForm(QWidget *parent)
    : PatternForm(parent)
{
    setBackColor(OleColor::White);
}

void DrawnPatternForm::Form_Resize()
{
    modFunctions::Wait(SettleSeconds);
    // Drawn once per size: lines from an earlier call at this size would only be drawn twice.
    clearSurface();
    drawPattern();
}
