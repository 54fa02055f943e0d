#include "platform/OleColor.h"

QRgb OleColor::toStandardRgb(quint32 value)
{
    if (isSystemColor(value)) {
        switch (value) {
        case WindowBackground:
            return qRgb(255, 255, 255);
        case ButtonFace:
            return qRgb(240, 240, 240);
        case WindowText:
        case ButtonText:
        default:
            return qRgb(0, 0, 0);
        }
    }
    return qRgb(int(value & 0xFF), int(value >> 8 & 0xFF), int(value >> 16 & 0xFF));
}
