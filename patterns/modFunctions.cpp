#include "patterns/modFunctions.h"

#include "platform/Convert.h"
#include "platform/Screen.h"

#include <chrono>
#include <cmath>
#include <thread>

void modFunctions::Wait(const float &Seconds)
{
    // A monotonic clock, so a wait across midnight (or a clock change) still ends on time; and a
    // sleep rather than a spin, so the core stays free.
    using Clock = std::chrono::steady_clock;
    if (!(Seconds > 0))
        return;
    const auto end = Clock::now()
        + std::chrono::duration_cast<Clock::duration>(
            std::chrono::duration<double>(std::fmin(double(Seconds), 86400.0)));
    for (auto now = Clock::now(); now < end; now = Clock::now())
        std::this_thread::sleep_for(end - now);
}

int16_t modFunctions::TwipsToPixelsX(const float &Twips)
{
    return Convert::toInt16(double(Twips) / double(Screen::TwipsPerPixelX()));
}

int16_t modFunctions::PixelsToTwipsX(const float &Pixels)
{
    return Convert::toInt16(double(Screen::TwipsPerPixelX()) * double(Pixels));
}
