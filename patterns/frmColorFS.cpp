#include "patterns/frmColorFS.h"

#include "patterns/ShapeLayouts.h"

namespace {
constexpr quint32 MagentaColor = 0x00FF00FF;
constexpr quint32 CyanColor = 0x00FFFF00;
constexpr quint32 YellowColor = 0x0000FFFF;
constexpr quint32 BlackColor = 0x00000000;
constexpr quint32 WhiteColor = 0x00FFFFFF;
constexpr quint32 BlueColor = 0x00FF0000;
constexpr quint32 GreenColor = 0x0000FF00;
constexpr quint32 RedColor = 0x000000FF;

// The bars show their colour as an opaque background, the other six as a solid fill.
void paintBackground(Shape &shape, quint32 color)
{
    shape.setBackStyle(Shape::Opaque);
    shape.setBackColor(color);
    shape.setBorderColor(color);
}

void paintFill(Shape &shape, quint32 color)
{
    shape.setFillStyle(Shape::Solid);
    shape.setFillColor(color);
    shape.setBorderColor(color);
}
} // namespace

frmColorFS::frmColorFS()
{
    setObjectName(QStringLiteral("frmColorFS"));
    paintBackground(Red, RedColor);
    paintBackground(Green, GreenColor);
    paintBackground(Blue, BlueColor);
    paintFill(White, WhiteColor);
    paintFill(Black, BlackColor);
    paintFill(Yellow, YellowColor);
    paintFill(Cyan, CyanColor);
    paintFill(MagentaLeft, MagentaColor);
    paintFill(MagentaRight, MagentaColor);

    // The design sketch on a 4800 x 3600 twips window, never seen: hidden at load, placed by the layout.
    Red.Move(0, 0, 1600, 3600);
    Green.Move(1600, 0, 1600, 3600);
    Blue.Move(3200, 0, 1600, 3600);
    White.Move(0, 2880, 2400, 720);
    Black.Move(2400, 2880, 2400, 720);
    MagentaLeft.Move(0, 1080, 480, 1200);
    Yellow.Move(1200, 1080, 800, 1200);
    Cyan.Move(2800, 1080, 800, 1200);
    MagentaRight.Move(4320, 1080, 480, 1200);

    for (Shape *shape : { &Red, &Green, &Blue, &White, &Black, &Yellow, &Cyan, &MagentaLeft, &MagentaRight })
        addElement(shape);
}

void frmColorFS::Form_Load()
{
    for (Shape *shape : { &Red, &Green, &Blue, &MagentaLeft, &Yellow, &Cyan, &MagentaRight, &Black, &White })
        shape->setVisible(false);
    PatternForm::Form_Load();
}

void frmColorFS::Form_Resize()
{
    // The whole layout is computed first: a size out of range fails before any control is touched.
    const ShapeLayouts::ColorBars l = ShapeLayouts::colorBars(Width(), Height());
    Red.setWidth(l.Red.Width);
    Green.setWidth(l.Green.Width);
    Blue.setWidth(l.Blue.Width);
    Red.setHeight(l.Red.Height);
    Green.setHeight(l.Green.Height);
    Blue.setHeight(l.Blue.Height);
    Red.setLeft(l.Red.Left);
    Red.setTop(l.Red.Top);
    Green.setLeft(l.Green.Left);
    Green.setTop(l.Green.Top);
    Blue.setLeft(l.Blue.Left);
    Blue.setTop(l.Blue.Top);
    Black.setLeft(l.Black.Left);
    White.setLeft(l.White.Left);
    Black.setHeight(l.Black.Height);
    White.setHeight(l.White.Height);
    Black.setTop(l.Black.Top);
    White.setTop(l.White.Top);
    Black.setWidth(l.Black.Width);
    White.setWidth(l.White.Width);
    MagentaLeft.setLeft(l.MagentaLeft.Left);
    MagentaLeft.setHeight(l.MagentaLeft.Height);
    MagentaLeft.setWidth(l.MagentaLeft.Width);
    MagentaLeft.setTop(l.MagentaLeft.Top);
    MagentaRight.setLeft(l.MagentaRight.Left);
    MagentaRight.setHeight(l.MagentaRight.Height);
    MagentaRight.setWidth(l.MagentaRight.Width);
    MagentaRight.setTop(l.MagentaRight.Top);
    Yellow.setWidth(l.Yellow.Width);
    Yellow.setLeft(l.Yellow.Left);
    Yellow.setHeight(l.Yellow.Height);
    Yellow.setTop(l.Yellow.Top);
    Cyan.setWidth(l.Cyan.Width);
    Cyan.setLeft(l.Cyan.Left);
    Cyan.setHeight(l.Cyan.Height);
    Cyan.setTop(l.Cyan.Top);
    for (Shape *shape : { &Red, &Green, &Blue, &MagentaLeft, &Yellow, &Cyan, &MagentaRight, &Black, &White })
        shape->setVisible(true);
}
