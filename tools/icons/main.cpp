// SPDX-FileCopyrightText: 2026 星澜小站 <webmaster@xinglan.example>
// SPDX-License-Identifier: GPL-3.0-or-later

// wd-icons: writes the game's icon for the desktop's icon theme.
//
//   wd-icons OUTDIR NAME
//
// writes OUTDIR/<N>x<N>/apps/NAME.png for N = 16, 32, 48, 64, 128 and 256.
// 16 and 32 are the program icon itself, the 16-colour images every window
// carries; the larger sizes paint the same bronze ding on green with smooth
// edges, on the 32-unit grid of the small icon so that all sizes look alike.
#include <QColor>
#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>

#include <cstdio>

#include "ui/ProgramIcon.xpm"

namespace {

// The program icon's palette.
const QColor kGreen(0x00, 0x80, 0x00);
const QColor kBlack(0x00, 0x00, 0x00);
const QColor kYellow(0xFF, 0xFF, 0x00);
const QColor kOlive(0x80, 0x80, 0x00);
const QColor kMaroon(0x80, 0x00, 0x00);

// Bronze from its lit left edge to its shaded right edge, between x0 and x1.
QLinearGradient Bronze(double x0, double x1)
{
    QLinearGradient g(x0, 0, x1, 0);
    g.setColorAt(0.0, QColor(0xC8, 0xB8, 0x38));
    g.setColorAt(0.18, QColor(0xA8, 0x98, 0x20));
    g.setColorAt(0.55, kOlive);
    g.setColorAt(1.0, QColor(0x4C, 0x48, 0x00));
    return g;
}

QPainterPath Polygon(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points)));
    path.closeSubpath();
    return path;
}

// One handle standing on the rim: an upright loop between x and x + 7.
QPainterPath Handle(double x)
{
    QPainterPath outer;
    outer.addRoundedRect(QRectF(x, 2.2, 7.0, 8.6), 1.2, 1.2);
    QPainterPath hole;
    hole.addRoundedRect(QRectF(x + 2.3, 5.0, 2.4, 4.6), 0.6, 0.6);
    return outer.subtracted(hole);
}

// One leg under the bowl, flaring into a foot; x is its left edge.
QPainterPath Leg(double x)
{
    return Polygon({{x, 23.0}, {x + 3.6, 23.0}, {x + 3.8, 28.0}, {x + 4.6, 30.2},
                    {x - 1.0, 30.2}, {x - 0.2, 28.0}});
}

void PaintDing(QPainter& p)
{
    const double line = 0.55;
    QPen outline(kBlack, line, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);

    // The green ground, a little lighter in the middle, with a dark frame.
    QRadialGradient ground(16, 14, 20);
    ground.setColorAt(0.0, QColor(0x18, 0xA0, 0x18));
    ground.setColorAt(1.0, QColor(0x00, 0x60, 0x00));
    p.setPen(QPen(kBlack, 0.8));
    p.setBrush(ground);
    p.drawRoundedRect(QRectF(0.4, 0.4, 31.2, 31.2), 3.0, 3.0);

    p.setPen(outline);
    // Handles first: the rim covers their feet.
    p.setBrush(Bronze(5.0, 12.0));
    p.drawPath(Handle(5.0));
    p.setBrush(Bronze(20.0, 27.0));
    p.drawPath(Handle(20.0));

    // Legs behind the bowl.
    p.setBrush(Bronze(6.4, 10.4));
    p.drawPath(Leg(7.0));
    p.setBrush(Bronze(14.0, 18.0));
    p.drawPath(Leg(14.2));
    p.setBrush(Bronze(21.8, 25.8));
    p.drawPath(Leg(21.4));

    // The bowl: straight under the rim, rounding in towards the legs.
    QPainterPath bowl;
    bowl.moveTo(2.4, 12.6);
    bowl.lineTo(29.6, 12.6);
    bowl.lineTo(29.0, 16.0);
    bowl.cubicTo(28.4, 20.6, 26.0, 24.2, 24.2, 24.2);
    bowl.lineTo(7.8, 24.2);
    bowl.cubicTo(6.0, 24.2, 3.6, 20.6, 3.0, 16.0);
    bowl.closeSubpath();
    p.setBrush(Bronze(2.4, 29.6));
    p.drawPath(bowl);

    // The maroon band round the belly with its yellow key pattern.
    QPainterPath band = Polygon({{3.0, 16.0}, {29.0, 16.0}, {28.4, 19.2}, {3.6, 19.2}});
    p.save();
    p.setClipPath(bowl);
    p.setPen(Qt::NoPen);
    p.setBrush(kMaroon);
    p.drawPath(band);
    p.setPen(QPen(kYellow, 0.45, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (double x = 3.6; x < 28.6; x += 4.0) {
        p.drawPolyline(QPolygonF({QPointF(x, 18.4), QPointF(x + 1.0, 16.8), QPointF(x + 2.0, 18.4),
                                  QPointF(x + 3.0, 16.8)}));
    }
    p.setPen(QPen(kBlack, 0.35));
    p.drawLine(QPointF(2.0, 16.0), QPointF(30.0, 16.0));
    p.drawLine(QPointF(2.0, 19.2), QPointF(30.0, 19.2));
    p.restore();
    p.setPen(outline);
    p.setBrush(Qt::NoBrush);
    p.drawPath(bowl);

    // The lip: a wide yellow rim with its shadow line underneath.
    QLinearGradient lip(0, 9.4, 0, 12.8);
    lip.setColorAt(0.0, QColor(0xFF, 0xFF, 0x70));
    lip.setColorAt(0.6, kYellow);
    lip.setColorAt(1.0, QColor(0xC0, 0xA8, 0x00));
    p.setBrush(lip);
    p.drawRoundedRect(QRectF(1.6, 9.4, 28.8, 3.4), 0.8, 0.8);

    // A glint down the left of the bowl, as on the small icon.
    p.setPen(QPen(QColor(0xFF, 0xFF, 0x60, 0xC0), 0.6, Qt::SolidLine, Qt::RoundCap));
    QPainterPath glint;
    glint.moveTo(4.6, 13.6);
    glint.cubicTo(4.8, 19.0, 6.2, 21.8, 8.0, 23.2);
    p.drawPath(glint);
}

QImage Painted(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    PaintDing(p);
    p.end();
    return image;
}

bool Write(const QImage& image, const QString& dir, const QString& name)
{
    const QString folder = QStringLiteral("%1/%2x%2/apps").arg(dir).arg(image.width());
    if (!QDir().mkpath(folder)) return false;
    return image.save(folder + QLatin1Char('/') + name + QStringLiteral(".png"), "PNG");
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: wd-icons OUTDIR NAME\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);

    bool ok = Write(QImage(kIcon16), dir, name) && Write(QImage(kIcon32), dir, name);
    for (int size : {48, 64, 128, 256}) ok = ok && Write(Painted(size), dir, name);
    if (!ok) {
        std::fprintf(stderr, "wd-icons: cannot write the icons into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
