#include "platform/AppIcon.h"

#include <QImage>
#include <QPixmap>
#include <QResource>

static void initResources()
{
    // The images live in the static library; referencing its initialiser keeps them linked in.
    Q_INIT_RESOURCE(resources);
}

QIcon AppIcon::icon()
{
    // Raw pixels, converted from the PNGs by resources/make-icons.sh: no image decoder, and no scan of
    // the image format plugins, before the main window can show.
    static const QIcon icon = [] {
        initResources();
        QIcon i;
        for (int size : { 16, 24, 32, 48, 64, 72 }) {
            const QByteArray pixels
                = QResource(QStringLiteral(":/icons/quorbel-%1.rgba").arg(size)).uncompressedData();
            if (pixels.size() != size * size * 4)
                continue;
            const QImage image(reinterpret_cast<const uchar *>(pixels.constData()), size, size, size * 4,
                QImage::Format_RGBA8888);
            i.addPixmap(QPixmap::fromImage(image));
        }
        return i;
    }();
    return icon;
}
