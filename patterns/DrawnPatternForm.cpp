#include "patterns/DrawnPatternForm.h"

#include "patterns/modFunctions.h"

namespace {
constexpr float SettleSeconds = 0.1f;
constexpr quint32 White = 0x00FFFFFF;
} // namespace

DrawnPatternForm::DrawnPatternForm()
{
    setBackColor(White);
}

void DrawnPatternForm::Form_Resize()
{
    modFunctions::Wait(SettleSeconds);
    // Drawn once per size: lines from an earlier call at this size would only be drawn twice.
    clearSurface();
    drawPattern();
}
