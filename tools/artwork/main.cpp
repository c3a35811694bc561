// qrx-artwork: draws the program's built-in pictures (backgrounds, button faces, launcher buttons,
// guide menu entries, tutorial diagrams, mode pictures, survey icons, sort arrows) and writes them,
// with the resource list, into a folder.
//
//   qrx-artwork <images folder> [<qrc file>]
//
// Every file of the artwork table is written in the table's format and size.

#include "controls/artwork_table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTextStream>

#include <cmath>
#include <cstdio>
#include <functional>
#include <map>

namespace {

QString g_family = QStringLiteral("DejaVu Sans");

void LoadFonts()
{
    const QString dir = QStringLiteral("/usr/share/wine/fonts/");
    const int id = QFontDatabase::addApplicationFont(dir + QStringLiteral("tahoma.ttf"));
    QFontDatabase::addApplicationFont(dir + QStringLiteral("tahomabd.ttf"));
    if (id >= 0) {
        const QStringList fams = QFontDatabase::applicationFontFamilies(id);
        if (!fams.isEmpty()) {
            g_family = fams.first();
        }
    }
}

QFont Font(double px, bool bold = false)
{
    QFont f(g_family);
    f.setPixelSize(int(std::lround(px)));
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

QFont TitleFont(double px, int weight = QFont::Bold)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(int(std::lround(px)));
    f.setWeight(QFont::Weight(weight));
    return f;
}

QImage Canvas(int w, int h, QColor fill = Qt::transparent)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(fill);
    return img;
}

void Aa(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
}

// ----------------------------------------------------------------------------------------------
// Drawn objects

// The access point: a white enclosure seen slightly from above, antennas, status lights, badge.
void DrawAccessPoint(QPainter& p, const QRectF& r, bool antennas = true, bool glow = false)
{
    p.save();
    const double w = r.width();
    const double h = r.height();
    const double topH = h * 0.28;
    const QRectF front(r.left(), r.top() + topH, w, h - topH);

    if (glow) {
        QRadialGradient g(r.center(), w * 0.9);
        g.setColorAt(0, QColor(90, 170, 255, 90));
        g.setColorAt(1, QColor(90, 170, 255, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(r.center(), w * 0.95, h * 1.3);
    }
    // Shadow.
    p.setPen(Qt::NoPen);
    QRadialGradient sh(QPointF(r.center().x(), r.bottom() + h * 0.06), w * 0.6);
    sh.setColorAt(0, QColor(0, 0, 0, 90));
    sh.setColorAt(1, QColor(0, 0, 0, 0));
    p.setBrush(sh);
    p.drawEllipse(QPointF(r.center().x(), r.bottom() + h * 0.05), w * 0.6, h * 0.12);

    if (antennas) {
        const double aw = std::max(2.5, w * 0.035);
        for (double fx : { 0.16, 0.84 }) {
            const double x = r.left() + w * fx;
            QRectF ant(x - aw / 2, r.top() - h * 0.85, aw, h * 0.95);
            QLinearGradient ag(ant.topLeft(), ant.topRight());
            ag.setColorAt(0, QColor(70, 74, 82));
            ag.setColorAt(0.5, QColor(130, 136, 146));
            ag.setColorAt(1, QColor(55, 58, 64));
            p.setBrush(ag);
            p.drawRoundedRect(ant, aw / 2, aw / 2);
            p.setBrush(QColor(50, 52, 58));
            p.drawRoundedRect(QRectF(x - aw * 0.9, r.top() + topH * 0.2, aw * 1.8, topH * 0.7), 1.5, 1.5);
        }
    }
    // Top face.
    QPainterPath top;
    const double inset = w * 0.06;
    top.moveTo(r.left() + inset, r.top());
    top.lineTo(r.right() - inset, r.top());
    top.lineTo(r.right(), r.top() + topH);
    top.lineTo(r.left(), r.top() + topH);
    top.closeSubpath();
    QLinearGradient tg(r.topLeft(), QPointF(r.left(), r.top() + topH));
    tg.setColorAt(0, QColor(250, 251, 253));
    tg.setColorAt(1, QColor(222, 228, 236));
    p.setBrush(tg);
    p.setPen(QPen(QColor(160, 170, 184), std::max(0.8, w * 0.006)));
    p.drawPath(top);
    // Front face.
    QLinearGradient fg(front.topLeft(), front.bottomLeft());
    fg.setColorAt(0, QColor(246, 248, 251));
    fg.setColorAt(0.55, QColor(226, 231, 238));
    fg.setColorAt(1, QColor(196, 204, 216));
    p.setBrush(fg);
    p.drawRoundedRect(front, h * 0.08, h * 0.08);
    // Blue trim line.
    const double trimY = front.top() + front.height() * 0.72;
    QLinearGradient trim(front.left(), 0, front.right(), 0);
    trim.setColorAt(0, QColor(30, 110, 200, 0));
    trim.setColorAt(0.2, QColor(30, 120, 215));
    trim.setColorAt(0.8, QColor(30, 120, 215));
    trim.setColorAt(1, QColor(30, 110, 200, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(trim);
    p.drawRect(QRectF(front.left() + 2, trimY, front.width() - 4, std::max(1.0, h * 0.035)));
    // Status lights.
    const double led = std::max(2.0, h * 0.07);
    const QColor leds[]
        = { QColor(60, 220, 90), QColor(60, 220, 90), QColor(70, 160, 255), QColor(255, 190, 40) };
    double lx = front.left() + front.width() * 0.58;
    const double ly = front.top() + front.height() * 0.38;
    for (const QColor& c : leds) {
        QRadialGradient lg(QPointF(lx, ly), led * 1.6);
        lg.setColorAt(0, c.lighter(150));
        lg.setColorAt(0.45, c);
        lg.setColorAt(1, QColor(c.red(), c.green(), c.blue(), 0));
        p.setBrush(lg);
        p.drawEllipse(QPointF(lx, ly), led * 1.4, led * 1.4);
        lx += led * 3.2;
    }
    // Badge.
    if (h > 26) {
        p.setPen(QColor(40, 70, 110));
        p.setFont(TitleFont(std::max(6.0, h * 0.17), QFont::Bold));
        p.drawText(QRectF(front.left() + w * 0.06, front.top(), w * 0.5, front.height() * 0.72),
            Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("QRX-512"));
    }
    p.restore();
}

void DrawWaves(QPainter& p, QPointF c, double r0, double step, int n, QColor col, double startDeg,
    double spanDeg, double width = 2.0)
{
    p.save();
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < n; ++i) {
        QColor cc = col;
        cc.setAlphaF(col.alphaF() * (1.0 - 0.22 * i));
        p.setPen(QPen(cc, width, Qt::SolidLine, Qt::RoundCap));
        const double rr = r0 + step * i;
        p.drawArc(QRectF(c.x() - rr, c.y() - rr, 2 * rr, 2 * rr), int(startDeg * 16), int(spanDeg * 16));
    }
    p.restore();
}

void DrawComputer(QPainter& p, const QRectF& r)
{
    p.save();
    const QRectF screen(r.left(), r.top(), r.width(), r.height() * 0.72);
    p.setPen(QPen(QColor(60, 66, 76), 1.2));
    QLinearGradient bez(screen.topLeft(), screen.bottomLeft());
    bez.setColorAt(0, QColor(88, 94, 106));
    bez.setColorAt(1, QColor(48, 52, 60));
    p.setBrush(bez);
    p.drawRoundedRect(screen, 3, 3);
    const QRectF glass = screen.adjusted(3, 3, -3, -6);
    QLinearGradient gg(glass.topLeft(), glass.bottomRight());
    gg.setColorAt(0, QColor(120, 190, 250));
    gg.setColorAt(1, QColor(30, 90, 170));
    p.setPen(Qt::NoPen);
    p.setBrush(gg);
    p.drawRect(glass);
    p.setBrush(QColor(255, 255, 255, 50));
    QPainterPath shine;
    shine.moveTo(glass.topLeft());
    shine.lineTo(glass.left() + glass.width() * 0.55, glass.top());
    shine.lineTo(glass.left(), glass.top() + glass.height() * 0.7);
    shine.closeSubpath();
    p.drawPath(shine);
    p.setBrush(QColor(90, 96, 108));
    const double cx = r.center().x();
    p.drawRect(QRectF(cx - r.width() * 0.06, screen.bottom(), r.width() * 0.12, r.height() * 0.16));
    p.drawRoundedRect(
        QRectF(cx - r.width() * 0.28, r.bottom() - r.height() * 0.1, r.width() * 0.56, r.height() * 0.1), 2,
        2);
    p.restore();
}

void DrawLaptop(QPainter& p, const QRectF& r)
{
    p.save();
    const QRectF lid(r.left() + r.width() * 0.1, r.top(), r.width() * 0.8, r.height() * 0.68);
    p.setPen(QPen(QColor(70, 76, 86), 1));
    p.setBrush(QColor(80, 86, 98));
    p.drawRoundedRect(lid, 2, 2);
    QLinearGradient gg(lid.topLeft(), lid.bottomRight());
    gg.setColorAt(0, QColor(130, 200, 255));
    gg.setColorAt(1, QColor(40, 100, 180));
    p.setPen(Qt::NoPen);
    p.setBrush(gg);
    p.drawRect(lid.adjusted(2, 2, -2, -2));
    QPainterPath base;
    base.moveTo(lid.left(), lid.bottom());
    base.lineTo(lid.right(), lid.bottom());
    base.lineTo(r.right(), r.bottom());
    base.lineTo(r.left(), r.bottom());
    base.closeSubpath();
    QLinearGradient bg(QPointF(0, lid.bottom()), QPointF(0, r.bottom()));
    bg.setColorAt(0, QColor(200, 206, 214));
    bg.setColorAt(1, QColor(150, 158, 170));
    p.setBrush(bg);
    p.setPen(QPen(QColor(110, 116, 128), 0.8));
    p.drawPath(base);
    p.restore();
}

// A four-port router seen from the back: WAN and LAN 1-4 ports, antennas.
void DrawRouter(QPainter& p, const QRectF& r, QList<QPointF>* lanPorts)
{
    p.save();
    p.setPen(Qt::NoPen);
    for (double fx : { 0.1, 0.9 }) {
        QLinearGradient ag(
            QPointF(r.left() + r.width() * fx - 2, 0), QPointF(r.left() + r.width() * fx + 2, 0));
        ag.setColorAt(0, QColor(40, 42, 48));
        ag.setColorAt(0.5, QColor(100, 104, 112));
        ag.setColorAt(1, QColor(40, 42, 48));
        p.setBrush(ag);
        p.drawRoundedRect(
            QRectF(r.left() + r.width() * fx - 2.5, r.top() - r.height() * 0.9, 5, r.height()), 2.5, 2.5);
    }
    QLinearGradient body(r.topLeft(), r.bottomLeft());
    body.setColorAt(0, QColor(74, 80, 92));
    body.setColorAt(1, QColor(34, 38, 46));
    p.setBrush(body);
    p.setPen(QPen(QColor(20, 22, 28), 1));
    p.drawRoundedRect(r, 6, 6);
    // Ports.
    const double pw = r.width() * 0.11;
    const double ph = r.height() * 0.38;
    const double py = r.top() + r.height() * 0.46;
    p.setFont(Font(9, true));
    for (int i = 0; i < 5; ++i) {
        const double px = r.left() + r.width() * 0.1 + i * (pw * 1.45) + (i > 0 ? pw * 0.5 : 0);
        const QRectF port(px, py, pw, ph);
        p.setPen(QPen(QColor(150, 156, 166), 1));
        p.setBrush(i == 0 ? QColor(28, 60, 110) : QColor(18, 20, 24));
        p.drawRect(port);
        p.setBrush(QColor(200, 170, 60));
        p.setPen(Qt::NoPen);
        p.drawRect(QRectF(port.left() + pw * 0.2, port.top() + 1.5, pw * 0.6, 2));
        p.setPen(QColor(215, 220, 228));
        p.drawText(QRectF(px - 6, port.top() - 13, pw + 12, 12), Qt::AlignHCenter | Qt::AlignBottom,
            i == 0 ? QStringLiteral("WAN") : QString::number(i));
        if (i > 0 && lanPorts) {
            lanPorts->append(QPointF(port.center().x(), port.bottom()));
        }
    }
    p.setPen(QColor(120, 200, 255));
    p.setFont(Font(9, true));
    p.drawText(QRectF(r.right() - r.width() * 0.22, r.bottom() - 12, r.width() * 0.2, 11), Qt::AlignRight,
        QStringLiteral("LAN"));
    p.restore();
}

void DrawCable(QPainter& p, const QPainterPath& path, QColor col, double width = 4)
{
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(col.darker(160), width + 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
    p.setPen(QPen(col, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
    p.setPen(QPen(col.lighter(150), width * 0.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path.translated(-width * 0.15, -width * 0.15));
    p.restore();
}

void DrawPlug(QPainter& p, QPointF at, double angleDeg, QColor col)
{
    p.save();
    p.translate(at);
    p.rotate(angleDeg);
    p.setPen(QPen(col.darker(170), 1));
    p.setBrush(col);
    p.drawRoundedRect(QRectF(-5, -14, 10, 14), 2, 2);
    p.setBrush(QColor(220, 225, 230));
    p.drawRect(QRectF(-3.5, -3, 7, 3));
    p.restore();
}

void StepBadge(QPainter& p, QPointF c, const QString& n)
{
    p.save();
    QRadialGradient g(c - QPointF(3, 3), 16);
    g.setColorAt(0, QColor(90, 170, 250));
    g.setColorAt(1, QColor(20, 90, 180));
    p.setPen(QPen(Qt::white, 2));
    p.setBrush(g);
    p.drawEllipse(c, 13, 13);
    p.setPen(Qt::white);
    p.setFont(TitleFont(15));
    p.drawText(QRectF(c.x() - 13, c.y() - 13, 26, 26), Qt::AlignCenter, n);
    p.restore();
}

void Label(QPainter& p, const QRectF& r, const QString& text, QColor col, double px, bool bold,
    int align = Qt::AlignHCenter | Qt::AlignTop)
{
    p.save();
    p.setPen(col);
    p.setFont(Font(px, bold));
    p.drawText(r, align | Qt::TextWordWrap, text);
    p.restore();
}

// ----------------------------------------------------------------------------------------------
// Backgrounds

void PaintBanner(QPainter& p, const QRectF& r)
{
    QLinearGradient g(r.topLeft(), r.topRight());
    g.setColorAt(0, QColor(8, 28, 60));
    g.setColorAt(0.6, QColor(18, 64, 128));
    g.setColorAt(1, QColor(28, 98, 176));
    p.fillRect(r, g);
    // Flowing light lines.
    p.save();
    p.setClipRect(r);
    for (int i = 0; i < 7; ++i) {
        QPainterPath path;
        const double y0 = r.top() + r.height() * (0.25 + 0.1 * i);
        path.moveTo(r.left() + r.width() * 0.25, y0 + 40);
        path.cubicTo(r.left() + r.width() * 0.5, y0 - 50, r.left() + r.width() * 0.7, y0 + 60, r.right() + 10,
            y0 - 20);
        p.setPen(QPen(QColor(140, 200, 255, 18 + 6 * i), 1.2));
        p.drawPath(path);
    }
    QRadialGradient glow(QPointF(r.right() - 120, r.top() + r.height() * 0.55), 160);
    glow.setColorAt(0, QColor(120, 190, 255, 70));
    glow.setColorAt(1, QColor(120, 190, 255, 0));
    p.fillRect(r, glow);
    p.restore();
}

QImage BGMain()
{
    QImage img = Canvas(600, 450, Qt::white);
    QPainter p(&img);
    Aa(p);
    PaintBanner(p, QRectF(0, 0, 600, 105));
    // Product name and the wizard's title.
    p.setPen(Qt::white);
    p.setFont(TitleFont(30, QFont::Bold));
    p.drawText(QRectF(24, 14, 340, 40), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("QRX-512"));
    p.setPen(QColor(170, 210, 250));
    p.setFont(TitleFont(13, QFont::Normal));
    p.drawText(QRectF(26, 52, 360, 20), Qt::AlignLeft | Qt::AlignVCenter,
        QStringLiteral("300 Mbps Wireless-N PoE Access Point"));
    p.setPen(QColor(255, 255, 255, 220));
    p.setFont(TitleFont(15, QFont::DemiBold));
    p.drawText(QRectF(26, 74, 360, 22), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Setup Wizard"));
    DrawWaves(p, QPointF(508, 44), 14, 9, 4, QColor(160, 215, 255, 200), 35, 110, 2.2);
    DrawAccessPoint(p, QRectF(448, 50, 120, 40), true, true);
    // Accent line under the banner.
    QLinearGradient acc(0, 0, 600, 0);
    acc.setColorAt(0, QColor(255, 170, 40));
    acc.setColorAt(1, QColor(255, 120, 30));
    p.fillRect(QRectF(0, 103, 600, 2), acc);
    // The page area (pages cover it with their own background).
    QLinearGradient pg(0, 105, 0, 429);
    pg.setColorAt(0, QColor(252, 253, 255));
    pg.setColorAt(1, QColor(226, 236, 247));
    p.fillRect(QRectF(0, 105, 600, 324), pg);
    // Footer.
    QLinearGradient fg(0, 429, 0, 450);
    fg.setColorAt(0, QColor(22, 52, 96));
    fg.setColorAt(1, QColor(10, 30, 62));
    p.fillRect(QRectF(0, 429, 600, 21), fg);
    p.setPen(QColor(160, 195, 235));
    p.setFont(Font(10));
    p.drawText(QRectF(14, 429, 572, 21), Qt::AlignVCenter | Qt::AlignLeft,
        QStringLiteral("IEEE 802.11n  \u00b7  2x2 MIMO  \u00b7  802.3af Power over Ethernet"));
    p.drawText(QRectF(14, 429, 572, 21), Qt::AlignVCenter | Qt::AlignRight, QStringLiteral("QRX-512"));
    return img;
}

QImage FrameBG()
{
    QImage img = Canvas(600, 323, Qt::white);
    QPainter p(&img);
    Aa(p);
    QLinearGradient g(0, 0, 0, 323);
    g.setColorAt(0, QColor(252, 253, 255));
    g.setColorAt(0.7, QColor(238, 244, 251));
    g.setColorAt(1, QColor(222, 233, 246));
    p.fillRect(img.rect(), g);
    // Soft sweeping arcs in the lower right.
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 6; ++i) {
        p.setPen(QPen(QColor(120, 170, 225, 26 - 3 * i), 1.4));
        const double rr = 160 + 26 * i;
        p.drawEllipse(QPointF(640, 360), rr, rr * 0.72);
    }
    // Button bar shading along the bottom.
    QLinearGradient bar(0, 280, 0, 323);
    bar.setColorAt(0, QColor(255, 255, 255, 0));
    bar.setColorAt(1, QColor(200, 218, 240, 120));
    p.fillRect(QRectF(0, 280, 600, 43), bar);
    p.setPen(QColor(200, 214, 232));
    p.drawLine(QPointF(12, 282.5), QPointF(588, 282.5));
    return img;
}

QImage BGProgress()
{
    QImage img = Canvas(190, 50, Qt::white);
    QPainter p(&img);
    Aa(p);
    QLinearGradient g(0, 0, 0, 50);
    g.setColorAt(0, QColor(255, 255, 255));
    g.setColorAt(1, QColor(224, 236, 250));
    p.fillRect(img.rect(), g);
    QLinearGradient acc(0, 0, 190, 0);
    acc.setColorAt(0, QColor(20, 70, 140));
    acc.setColorAt(1, QColor(40, 130, 220));
    p.fillRect(QRectF(0, 0, 190, 3), acc);
    p.setPen(QColor(90, 126, 168));
    p.setBrush(Qt::NoBrush);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.drawRect(0, 0, 189, 49);
    return img;
}

QImage BGAutorun()
{
    QImage img = Canvas(600, 450, QColor(8, 18, 36));
    QPainter p(&img);
    Aa(p);
    QRadialGradient g(QPointF(170, 250), 420);
    g.setColorAt(0, QColor(30, 78, 140));
    g.setColorAt(0.5, QColor(14, 38, 76));
    g.setColorAt(1, QColor(6, 14, 30));
    p.fillRect(img.rect(), g);
    // Light streaks.
    for (int i = 0; i < 9; ++i) {
        QPainterPath path;
        const double y0 = 300 + i * 14;
        path.moveTo(-20, y0);
        path.cubicTo(160, y0 - 120 + i * 6, 360, y0 + 60, 620, y0 - 170 + i * 4);
        p.setPen(QPen(QColor(120, 190, 255, 14 + 5 * i), 1.3));
        p.drawPath(path);
    }
    // Title.
    p.setPen(Qt::white);
    p.setFont(TitleFont(38, QFont::Bold));
    p.drawText(QRectF(34, 28, 400, 50), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("QRX-512"));
    p.setPen(QColor(160, 205, 250));
    p.setFont(TitleFont(14, QFont::Normal));
    p.drawText(QRectF(36, 76, 420, 22), Qt::AlignLeft | Qt::AlignVCenter,
        QStringLiteral("300 Mbps Wireless-N PoE Access Point"));
    QLinearGradient acc(36, 0, 236, 0);
    acc.setColorAt(0, QColor(255, 170, 40));
    acc.setColorAt(1, QColor(255, 120, 30, 0));
    p.fillRect(QRectF(36, 104, 220, 2), acc);
    // The product with its radio waves.
    DrawWaves(p, QPointF(170, 230), 40, 22, 5, QColor(150, 210, 255, 170), 30, 120, 3);
    DrawAccessPoint(p, QRectF(60, 240, 220, 74), true, true);
    // Reflection.
    p.setPen(Qt::NoPen);
    QLinearGradient refl(0, 330, 0, 370);
    refl.setColorAt(0, QColor(255, 255, 255, 28));
    refl.setColorAt(1, QColor(255, 255, 255, 0));
    p.setBrush(refl);
    p.drawRoundedRect(QRectF(62, 330, 216, 30), 6, 6);
    // The menu column.
    p.setPen(QColor(140, 190, 240, 90));
    p.drawLine(QPointF(340, 140), QPointF(340, 400));
    p.setPen(QColor(170, 210, 250));
    p.setFont(Font(12, true));
    p.drawText(
        QRectF(356, 118, 197, 20), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Installation CD"));
    p.setPen(QColor(120, 150, 190));
    p.setFont(Font(10));
    p.drawText(QRectF(20, 420, 560, 20), Qt::AlignLeft | Qt::AlignVCenter,
        QStringLiteral("Insert the CD, choose Setup Wizard and follow the steps on the screen."));
    return img;
}

// ----------------------------------------------------------------------------------------------
// Buttons: magenta outside the shape, edges blended with the colour they usually stand on.

QImage FlattenOnKey(const QImage& argb, QColor typicalBackground)
{
    QImage out(argb.size(), QImage::Format_RGB32);
    const QImage src = argb.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < src.height(); ++y) {
        const QRgb* s = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        QRgb* d = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < src.width(); ++x) {
            const int a = qAlpha(s[x]);
            if (a < 110) {
                d[x] = qRgb(255, 0, 255);
                continue;
            }
            const double f = a / 255.0;
            auto mix = [&](int c, int b) { return int(std::lround(c * f + b * (1 - f))); };
            int r = mix(qRed(s[x]), typicalBackground.red());
            int g = mix(qGreen(s[x]), typicalBackground.green());
            int b = mix(qBlue(s[x]), typicalBackground.blue());
            if (r == 255 && g == 0 && b == 255) {
                g = 1; // never the key colour inside the shape
            }
            d[x] = qRgb(r, g, b);
        }
    }
    return out;
}

enum class BtnState { Normal, Hot, Down };

QImage PageButton(BtnState st)
{
    const int w = 85, h = 21;
    QImage img = Canvas(w, h);
    QPainter p(&img);
    Aa(p);
    const QRectF r(0.5, 0.5, w - 1, h - 1);
    QColor top, mid, bot, border;
    switch (st) {
    case BtnState::Normal:
        top = QColor(255, 255, 255), mid = QColor(236, 242, 249), bot = QColor(206, 220, 238);
        border = QColor(112, 142, 180);
        break;
    case BtnState::Hot:
        top = QColor(255, 252, 240), mid = QColor(255, 236, 190), bot = QColor(252, 204, 110);
        border = QColor(214, 140, 30);
        break;
    case BtnState::Down:
        top = QColor(170, 196, 226), mid = QColor(196, 216, 240), bot = QColor(222, 234, 248);
        border = QColor(58, 100, 150);
        break;
    }
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, top);
    g.setColorAt(0.48, mid);
    g.setColorAt(0.52, mid.darker(103));
    g.setColorAt(1, bot);
    p.setPen(QPen(border, 1));
    p.setBrush(g);
    p.drawRoundedRect(r, 7, 7);
    if (st != BtnState::Down) {
        p.setPen(QPen(QColor(255, 255, 255, 190), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 6, 6);
    }
    p.end();
    return FlattenOnKey(img, QColor(238, 244, 251));
}

void DrawLauncherIcon(QPainter& p, const QRectF& r, int which, QColor col)
{
    p.save();
    p.setPen(QPen(col, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const QPointF c = r.center();
    switch (which) {
    case 0: { // wizard: a gear-like star and spark
        QPainterPath star;
        for (int i = 0; i < 10; ++i) {
            const double a = M_PI / 5 * i - M_PI / 2;
            const double rr = (i % 2 == 0) ? r.width() * 0.45 : r.width() * 0.2;
            const QPointF pt(c.x() + rr * std::cos(a), c.y() + rr * std::sin(a));
            i == 0 ? star.moveTo(pt) : star.lineTo(pt);
        }
        star.closeSubpath();
        p.setBrush(col);
        p.drawPath(star);
        break;
    }
    case 1: { // guide: an open book
        QPainterPath book;
        book.moveTo(c.x(), r.top() + 3);
        book.quadTo(c.x() - 4, r.top() + 1, r.left() + 1, r.top() + 2);
        book.lineTo(r.left() + 1, r.bottom() - 2);
        book.quadTo(c.x() - 4, r.bottom() - 3, c.x(), r.bottom() - 1);
        book.quadTo(c.x() + 4, r.bottom() - 3, r.right() - 1, r.bottom() - 2);
        book.lineTo(r.right() - 1, r.top() + 2);
        book.quadTo(c.x() + 4, r.top() + 1, c.x(), r.top() + 3);
        p.drawPath(book);
        p.drawLine(QPointF(c.x(), r.top() + 3), QPointF(c.x(), r.bottom() - 1));
        break;
    }
    case 2: { // registration: a check in a card
        p.drawRoundedRect(r.adjusted(1, 2, -1, -2), 2, 2);
        QPainterPath tick;
        tick.moveTo(r.left() + 4, c.y());
        tick.lineTo(c.x() - 1, r.bottom() - 5);
        tick.lineTo(r.right() - 3, r.top() + 5);
        p.setPen(QPen(col, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(tick);
        break;
    }
    default: { // exit: a power symbol
        p.setPen(QPen(col, 2, Qt::SolidLine, Qt::RoundCap));
        const double rr = r.width() * 0.38;
        p.drawArc(QRectF(c.x() - rr, c.y() - rr + 1, 2 * rr, 2 * rr), 120 * 16, 300 * 16);
        p.drawLine(QPointF(c.x(), r.top() + 1), QPointF(c.x(), c.y()));
        break;
    }
    }
    p.restore();
}

QImage LauncherButton(int w, int h, const QString& label, int icon, bool down)
{
    QImage img = Canvas(w, h);
    QPainter p(&img);
    Aa(p);
    const QRectF r(0.5, 0.5, w - 1, h - 1);
    const double rad = (h - 1) / 2.0;
    QLinearGradient g(0, 0, 0, h);
    if (down) {
        g.setColorAt(0, QColor(110, 190, 255));
        g.setColorAt(0.5, QColor(40, 130, 225));
        g.setColorAt(0.51, QColor(22, 110, 210));
        g.setColorAt(1, QColor(40, 150, 240));
    } else {
        g.setColorAt(0, QColor(70, 100, 140));
        g.setColorAt(0.5, QColor(34, 58, 94));
        g.setColorAt(0.51, QColor(22, 42, 74));
        g.setColorAt(1, QColor(32, 60, 100));
    }
    p.setPen(QPen(down ? QColor(170, 225, 255) : QColor(110, 150, 200), 1));
    p.setBrush(g);
    p.drawRoundedRect(r, rad, rad);
    // Gloss.
    QLinearGradient gloss(0, 1, 0, h / 2.0);
    gloss.setColorAt(0, QColor(255, 255, 255, down ? 110 : 70));
    gloss.setColorAt(1, QColor(255, 255, 255, 8));
    p.setPen(Qt::NoPen);
    p.setBrush(gloss);
    p.drawRoundedRect(QRectF(3, 1.5, w - 6, h / 2.0 - 1), rad - 2, rad - 2);
    // Icon disc.
    const double d = h - 8;
    const QRectF disc(5, 4, d, d);
    QRadialGradient dg(disc.center() - QPointF(2, 2), d);
    dg.setColorAt(0, down ? QColor(255, 255, 255) : QColor(255, 200, 90));
    dg.setColorAt(1, down ? QColor(200, 235, 255) : QColor(240, 140, 30));
    p.setBrush(dg);
    p.drawEllipse(disc);
    DrawLauncherIcon(p, disc.adjusted(d * 0.2, d * 0.2, -d * 0.2, -d * 0.2), icon,
        down ? QColor(20, 90, 180) : QColor(90, 40, 0));
    // Label.
    p.setFont(Font(13, true));
    p.setPen(QColor(0, 0, 0, 90));
    p.drawText(
        QRectF(disc.right() + 9, 1, w - disc.right() - 16, h), Qt::AlignLeft | Qt::AlignVCenter, label);
    p.setPen(Qt::white);
    p.drawText(
        QRectF(disc.right() + 8, 0, w - disc.right() - 16, h), Qt::AlignLeft | Qt::AlignVCenter, label);
    // Chevron.
    p.setPen(QPen(QColor(255, 255, 255, down ? 230 : 150), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const double cx = w - 15, cy = h / 2.0;
    p.drawPolyline(QList<QPointF> { { cx - 3, cy - 4 }, { cx + 1, cy }, { cx - 3, cy + 4 } });
    p.end();
    return FlattenOnKey(img, QColor(16, 40, 78));
}

QImage GuideEntry(const QString& label, bool hot)
{
    QImage img = Canvas(198, 21, QColor(14, 34, 66));
    QPainter p(&img);
    Aa(p);
    QLinearGradient g(0, 0, 198, 0);
    if (hot) {
        g.setColorAt(0, QColor(40, 130, 225));
        g.setColorAt(1, QColor(22, 80, 160));
    } else {
        g.setColorAt(0, QColor(24, 50, 90));
        g.setColorAt(1, QColor(14, 34, 66));
    }
    p.fillRect(img.rect(), g);
    p.setPen(hot ? QColor(150, 210, 255) : QColor(60, 96, 146));
    p.drawLine(QPointF(0, 20.5), QPointF(198, 20.5));
    p.setPen(Qt::NoPen);
    p.setBrush(hot ? QColor(255, 200, 80) : QColor(120, 170, 230));
    p.drawEllipse(QPointF(30, 10.5), 2.8, 2.8);
    p.setPen(hot ? Qt::white : QColor(200, 220, 245));
    p.setFont(Font(11, hot));
    p.drawText(QRectF(40, 0, 150, 21), Qt::AlignLeft | Qt::AlignVCenter, label);
    return img;
}

// ----------------------------------------------------------------------------------------------
// Tutorial diagrams and mode pictures

QImage Tutorial()
{
    QImage img = Canvas(516, 270, Qt::white);
    QPainter p(&img);
    Aa(p);
    QLinearGradient bg(0, 0, 0, 270);
    bg.setColorAt(0, QColor(255, 255, 255));
    bg.setColorAt(1, QColor(236, 243, 251));
    p.fillRect(img.rect(), bg);
    StepBadge(p, QPointF(24, 24), QStringLiteral("1"));
    Label(p, QRectF(44, 12, 460, 24), QStringLiteral("Connect the access point to your network"),
        QColor(20, 60, 120), 15, true, Qt::AlignLeft | Qt::AlignVCenter);

    // Computers on the local network.
    const QRectF pcs[] = { QRectF(22, 62, 62, 52), QRectF(22, 140, 62, 52) };
    for (const QRectF& r : pcs) {
        DrawComputer(p, r);
    }
    Label(p, QRectF(6, 196, 94, 30), QStringLiteral("Computers"), QColor(60, 70, 86), 11, true);

    // Router, seen from the back.
    QList<QPointF> lan;
    const QRectF router(150, 108, 176, 46);
    DrawRouter(p, router, &lan);
    Label(p, QRectF(176, 84, 124, 16), QStringLiteral("Router"), QColor(60, 70, 86), 11, true);

    // Network cables from the computers to router LAN 1 and 2.
    const QColor grey(150, 160, 175);
    for (int i = 0; i < 2; ++i) {
        QPainterPath c;
        const QPointF from(pcs[i].right() - 6, pcs[i].top() + pcs[i].height() * 0.85);
        c.moveTo(from);
        c.cubicTo(from + QPointF(40, 0), lan[i] + QPointF(0, 60), lan[i] + QPointF(0, 4));
        DrawCable(p, c, grey, 3);
    }

    // The access point.
    const QRectF ap(380, 120, 112, 38);
    DrawWaves(p, QPointF(436, 96), 12, 8, 3, QColor(40, 130, 225, 200), 35, 110, 2);
    DrawAccessPoint(p, ap, true, false);
    Label(p, QRectF(364, 170, 144, 16), QStringLiteral("Access Point"), QColor(60, 70, 86), 11, true);
    // Its LAN port.
    const QRectF apPort(ap.left() + ap.width() * 0.16, ap.bottom() - 11, 13, 9);
    p.setPen(QPen(QColor(90, 96, 108), 1));
    p.setBrush(QColor(24, 26, 30));
    p.drawRect(apPort);

    // The highlighted cable: router LAN 4 to the access point's LAN port.
    QPainterPath main;
    const QPointF a = lan[3] + QPointF(0, 4);
    const QPointF b(apPort.center().x(), apPort.bottom());
    main.moveTo(a);
    main.cubicTo(a + QPointF(0, 70), b + QPointF(-20, 70), b);
    DrawCable(p, main, QColor(255, 140, 20), 4.5);
    DrawPlug(p, a + QPointF(0, 14), 0, QColor(255, 150, 40));
    DrawPlug(p, b + QPointF(0, 14), 0, QColor(255, 150, 40));
    // Callouts.
    auto callout = [&](QPointF at, const QString& t) {
        p.save();
        p.setFont(Font(10, true));
        const double tw = QFontMetricsF(p.font()).horizontalAdvance(t) + 12;
        const QRectF box(at.x() - tw / 2, at.y(), tw, 17);
        p.setPen(QPen(QColor(230, 120, 10), 1));
        p.setBrush(QColor(255, 246, 230));
        p.drawRoundedRect(box, 8, 8);
        p.setPen(QColor(170, 80, 0));
        p.drawText(box, Qt::AlignCenter, t);
        p.restore();
    };
    callout(QPointF(lan[3].x() + 6, 192), QStringLiteral("LAN port"));
    callout(QPointF(b.x() + 40, 192), QStringLiteral("LAN (PoE)"));

    // The instruction.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 70, 140));
    p.drawRoundedRect(QRectF(10, 226, 496, 36), 6, 6);
    Label(p, QRectF(20, 226, 476, 36),
        QStringLiteral("Connect an Ethernet cable from a LAN port of the router to the LAN port of the "
                       "access point."),
        Qt::white, 12, true, Qt::AlignCenter);
    return img;
}

QImage Tutorial2()
{
    QImage img = Canvas(552, 240, Qt::white);
    QPainter p(&img);
    Aa(p);
    QLinearGradient bg(0, 0, 0, 240);
    bg.setColorAt(0, QColor(255, 255, 255));
    bg.setColorAt(1, QColor(236, 243, 251));
    p.fillRect(img.rect(), bg);
    StepBadge(p, QPointF(24, 24), QStringLiteral("2"));
    Label(p, QRectF(44, 12, 480, 24), QStringLiteral("Power on the access point"), QColor(20, 60, 120), 15,
        true, Qt::AlignLeft | Qt::AlignVCenter);

    // Rear panel of the access point, enlarged.
    const QRectF panel(196, 58, 330, 100);
    QLinearGradient pg(panel.topLeft(), panel.bottomLeft());
    pg.setColorAt(0, QColor(244, 246, 250));
    pg.setColorAt(1, QColor(200, 208, 220));
    p.setPen(QPen(QColor(140, 150, 166), 1.2));
    p.setBrush(pg);
    p.drawRoundedRect(panel, 10, 10);
    Label(p, QRectF(panel.left() + 12, panel.top() + 6, 200, 14), QStringLiteral("QRX-512  rear panel"),
        QColor(90, 100, 118), 10, true, Qt::AlignLeft);
    // LAN (PoE) port.
    const QRectF lanPort(panel.left() + 30, panel.top() + 38, 36, 28);
    p.setPen(QPen(QColor(100, 106, 118), 1.2));
    p.setBrush(QColor(26, 28, 34));
    p.drawRect(lanPort);
    p.setBrush(QColor(200, 170, 60));
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(lanPort.left() + 8, lanPort.top() + 3, 20, 3));
    Label(p, QRectF(lanPort.left() - 14, lanPort.bottom() + 6, 64, 14), QStringLiteral("LAN (PoE)"),
        QColor(60, 70, 86), 10, true);
    // Power jack.
    const QPointF jack(panel.left() + 150, panel.top() + 52);
    p.setPen(QPen(QColor(90, 96, 108), 1.5));
    p.setBrush(QColor(40, 42, 48));
    p.drawEllipse(jack, 11, 11);
    p.setBrush(QColor(190, 196, 204));
    p.drawEllipse(jack, 3, 3);
    Label(p, QRectF(jack.x() - 40, jack.y() + 20, 80, 14), QStringLiteral("DC 12V"), QColor(60, 70, 86), 10,
        true);
    // Power switch, set to On.
    const QRectF sw(panel.left() + 232, panel.top() + 36, 58, 30);
    p.setPen(QPen(QColor(90, 96, 108), 1.2));
    p.setBrush(QColor(50, 54, 62));
    p.drawRoundedRect(sw, 4, 4);
    QLinearGradient kg(sw.topLeft(), sw.bottomLeft());
    kg.setColorAt(0, QColor(120, 230, 120));
    kg.setColorAt(1, QColor(40, 160, 60));
    p.setBrush(kg);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(sw.left() + 3, sw.top() + 3, sw.width() / 2 - 3, sw.height() - 6), 3, 3);
    p.setPen(Qt::white);
    p.setFont(Font(10, true));
    p.drawText(QRectF(sw.left() + 3, sw.top(), sw.width() / 2 - 3, sw.height()), Qt::AlignCenter,
        QStringLiteral("ON"));
    p.setPen(QColor(170, 176, 186));
    p.drawText(QRectF(sw.center().x(), sw.top(), sw.width() / 2 - 3, sw.height()), Qt::AlignCenter,
        QStringLiteral("OFF"));
    Label(p, QRectF(sw.left() - 14, sw.bottom() + 6, sw.width() + 28, 14), QStringLiteral("Power switch"),
        QColor(60, 70, 86), 10, true);
    // Arrow to the switch.
    p.setPen(QPen(QColor(40, 160, 60), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(sw.left() + 14, sw.top() - 18), QPointF(sw.left() + 14, sw.top() - 4));
    p.drawPolyline(QList<QPointF> { { sw.left() + 9, sw.top() - 9 }, { sw.left() + 14, sw.top() - 3 },
        { sw.left() + 19, sw.top() - 9 } });

    // Power adapter with its cord to the jack and its wall plug.
    const QRectF brick(52, 84, 78, 50);
    QLinearGradient bgrad(brick.topLeft(), brick.bottomLeft());
    bgrad.setColorAt(0, QColor(70, 74, 84));
    bgrad.setColorAt(1, QColor(26, 28, 34));
    p.setPen(QPen(QColor(16, 18, 22), 1));
    p.setBrush(bgrad);
    p.drawRoundedRect(brick, 8, 8);
    p.setPen(QColor(170, 176, 188));
    p.setFont(Font(9, true));
    p.drawText(brick, Qt::AlignCenter, QStringLiteral("12V  1A"));
    // Prongs towards the wall.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 200, 206));
    p.drawRect(QRectF(brick.left() - 9, brick.top() + 14, 9, 4));
    p.drawRect(QRectF(brick.left() - 9, brick.top() + 32, 9, 4));
    // Wall outlet.
    p.setPen(QPen(QColor(160, 166, 176), 1));
    p.setBrush(QColor(246, 246, 242));
    p.drawRoundedRect(QRectF(14, 80, 28, 58), 4, 4);
    Label(p, QRectF(0, 142, 60, 14), QStringLiteral("Outlet"), QColor(60, 70, 86), 10, true);
    Label(p, QRectF(44, 142, 96, 14), QStringLiteral("Power adapter"), QColor(60, 70, 86), 10, true);
    // Cord.
    QPainterPath cord;
    cord.moveTo(brick.right(), brick.center().y());
    cord.cubicTo(
        brick.right() + 40, brick.center().y() + 50, jack.x() - 60, jack.y() + 70, jack.x() - 24, jack.y());
    DrawCable(p, cord, QColor(40, 42, 48), 3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 42, 48));
    p.drawRoundedRect(QRectF(jack.x() - 26, jack.y() - 5, 16, 10), 2, 2);

    // The instruction.
    p.setBrush(QColor(20, 70, 140));
    p.drawRoundedRect(QRectF(10, 190, 532, 40), 6, 6);
    Label(p, QRectF(20, 190, 512, 40),
        QStringLiteral(
            "Plug the power adapter into the access point and an outlet, then set the power switch "
            "to On."),
        Qt::white, 12, true, Qt::AlignCenter);
    return img;
}

QImage ModeAP()
{
    QImage img = Canvas(208, 102, Qt::white);
    QPainter p(&img);
    Aa(p);
    QLinearGradient bg(0, 0, 0, 102);
    bg.setColorAt(0, QColor(255, 255, 255));
    bg.setColorAt(1, QColor(228, 238, 250));
    p.fillRect(img.rect(), bg);
    // Wired side: the network.
    QList<QPointF> dummy;
    p.save();
    p.setPen(QPen(QColor(120, 130, 146), 1));
    p.setBrush(QColor(220, 230, 244));
    p.drawEllipse(QPointF(26, 60), 20, 14);
    p.drawEllipse(QPointF(16, 54), 10, 9);
    p.drawEllipse(QPointF(36, 52), 12, 10);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(26, 60), 19, 13);
    p.restore();
    Label(p, QRectF(4, 52, 44, 16), QStringLiteral("LAN"), QColor(40, 70, 120), 10, true, Qt::AlignCenter);
    QPainterPath c;
    c.moveTo(46, 62);
    c.cubicTo(60, 62, 62, 66, 78, 66);
    DrawCable(p, c, QColor(255, 140, 20), 2.5);
    DrawWaves(p, QPointF(100, 46), 9, 7, 3, QColor(40, 130, 225), 20, 140, 1.8);
    DrawAccessPoint(p, QRectF(76, 54, 50, 18), true, false);
    // Wireless clients.
    DrawWaves(p, QPointF(128, 58), 8, 7, 2, QColor(40, 130, 225, 160), -30, 60, 1.5);
    DrawLaptop(p, QRectF(150, 20, 44, 28));
    DrawLaptop(p, QRectF(156, 60, 40, 26));
    Label(p, QRectF(0, 86, 208, 16), QStringLiteral("Access Point"), QColor(20, 60, 120), 11, true);
    return img;
}

QImage ModeBridge()
{
    QImage img = Canvas(226, 117, Qt::white);
    QPainter p(&img);
    Aa(p);
    QLinearGradient bg(0, 0, 0, 117);
    bg.setColorAt(0, QColor(255, 255, 255));
    bg.setColorAt(1, QColor(228, 238, 250));
    p.fillRect(img.rect(), bg);
    // The existing wireless network's access point.
    DrawAccessPoint(p, QRectF(12, 60, 54, 20), true, false);
    Label(p, QRectF(0, 84, 80, 14), QStringLiteral("Wireless network"), QColor(60, 70, 86), 9, true);
    // The QRX-512 as a bridge, with a wired computer.
    DrawAccessPoint(p, QRectF(112, 60, 54, 20), true, false);
    Label(p, QRectF(96, 84, 86, 14), QStringLiteral("QRX-512"), QColor(60, 70, 86), 9, true);
    // The wireless link between them.
    p.setPen(QPen(QColor(40, 130, 225), 2, Qt::DashLine, Qt::RoundCap));
    QPainterPath link;
    link.moveTo(40, 40);
    link.quadTo(89, 14, 138, 40);
    p.setBrush(Qt::NoBrush);
    p.drawPath(link);
    DrawWaves(p, QPointF(39, 44), 6, 6, 2, QColor(40, 130, 225), 20, 140, 1.5);
    DrawWaves(p, QPointF(139, 44), 6, 6, 2, QColor(40, 130, 225), 20, 140, 1.5);
    QPainterPath c;
    c.moveTo(166, 72);
    c.cubicTo(180, 72, 180, 64, 190, 64);
    DrawCable(p, c, QColor(255, 140, 20), 2.5);
    DrawComputer(p, QRectF(186, 38, 34, 34));
    Label(p, QRectF(0, 100, 226, 16), QStringLiteral("Wireless Bridge"), QColor(20, 60, 120), 11, true);
    return img;
}

// ----------------------------------------------------------------------------------------------
// Survey icons (16 x 16) and sort arrows (10 x 10)

void IconAP(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 74, 84));
    p.drawRect(QRectF(3, 1, 1.5, 8));
    p.drawRect(QRectF(11.5, 1, 1.5, 8));
    QLinearGradient g(0, 8, 0, 14);
    g.setColorAt(0, QColor(250, 251, 253));
    g.setColorAt(1, QColor(180, 190, 204));
    p.setPen(QPen(QColor(90, 104, 124), 1));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(1.5, 8.5, 13, 5.5), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 200, 80));
    p.drawRect(QRectF(9, 10.5, 1.5, 1.5));
    p.setBrush(QColor(40, 130, 240));
    p.drawRect(QRectF(11.5, 10.5, 1.5, 1.5));
}

void IconAdapter(QPainter& p)
{
    // A USB wireless adapter with its signal.
    QLinearGradient g(0, 6, 0, 14);
    g.setColorAt(0, QColor(90, 150, 230));
    g.setColorAt(1, QColor(30, 80, 170));
    p.setPen(QPen(QColor(20, 50, 110), 1));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(1.5, 7.5, 10, 6), 1.5, 1.5);
    p.setBrush(QColor(200, 206, 214));
    p.setPen(QPen(QColor(120, 126, 136), 1));
    p.drawRect(QRectF(11.5, 8.5, 3, 4));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(40, 130, 225), 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(3.5, 3, 6, 6), 40 * 16, 100 * 16);
    p.drawArc(QRectF(1, 0.5, 11, 11), 45 * 16, 90 * 16);
}

void IconLock(QPainter& p)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(120, 90, 10), 1.3));
    p.drawArc(QRectF(10, 5.5, 5, 6), 0, 180 * 16);
    QLinearGradient g(0, 9, 0, 16);
    g.setColorAt(0, QColor(255, 220, 90));
    g.setColorAt(1, QColor(210, 150, 20));
    p.setPen(QPen(QColor(130, 90, 0), 1));
    p.setBrush(g);
    p.drawRect(QRectF(9, 9, 6.5, 6.5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(110, 70, 0));
    p.drawRect(QRectF(11.8, 11, 1, 2.5));
}

void IconSignal(QPainter& p, int filled)
{
    QColor on;
    if (filled == 1) {
        on = QColor(220, 40, 40);
    } else if (filled <= 3) {
        on = QColor(235, 190, 20);
    } else {
        on = QColor(30, 100, 220);
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    for (int i = 0; i < 5; ++i) {
        const int h = 3 + i * 3;
        const QRect bar(1 + i * 3, 15 - h, 2, h);
        if (i < filled) {
            p.fillRect(bar, on);
            p.fillRect(QRect(bar.left(), bar.top(), 1, bar.height()), on.lighter(130));
        } else {
            p.fillRect(bar, QColor(200, 204, 210));
        }
    }
}

QImage TypeIcon(int index)
{
    QImage img = Canvas(16, 16);
    QPainter p(&img);
    Aa(p);
    switch (index) {
    case 0:
        IconAP(p);
        break;
    case 1:
        IconAdapter(p);
        break;
    case 2:
        IconAP(p);
        IconLock(p);
        break;
    case 3:
        IconAdapter(p);
        IconLock(p);
        break;
    default:
        IconSignal(p, index - 3);
        break;
    }
    return img;
}

QImage SortArrow(bool up)
{
    QImage img(10, 10, QImage::Format_RGB32);
    img.fill(qRgb(255, 0, 255));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 90, 120));
    // A solid triangle, 7 pixels wide and 4 high, centred.
    for (int i = 0; i < 4; ++i) {
        const int y = up ? 3 + i : 6 - i;
        p.fillRect(QRect(4 - i, y, 1 + 2 * i, 1), QColor(70, 90, 120));
    }
    return img;
}

// ----------------------------------------------------------------------------------------------

std::map<std::string, std::function<QImage()>> Painters()
{
    std::map<std::string, std::function<QImage()>> m;
    m["ImgBGMain"] = BGMain;
    m["ImgFrameBG"] = FrameBG;
    m["ImgBtnN"] = [] { return PageButton(BtnState::Normal); };
    m["ImgBtnH"] = [] { return PageButton(BtnState::Hot); };
    m["ImgBtnD"] = [] { return PageButton(BtnState::Down); };
    m["ImgBGProgress"] = BGProgress;
    m["ImgTutorial"] = Tutorial;
    m["ImgBGAutorun"] = BGAutorun;
    m["ImgBtnSetupWizardN"]
        = [] { return LauncherButton(197, 32, QStringLiteral("Setup Wizard"), 0, false); };
    m["ImgBtnSetupWizardD"] = [] { return LauncherButton(197, 32, QStringLiteral("Setup Wizard"), 0, true); };
    m["ImgBtnUGN"] = [] { return LauncherButton(197, 31, QStringLiteral("User's Guide"), 1, false); };
    m["ImgBtnUGD"] = [] { return LauncherButton(197, 31, QStringLiteral("User's Guide"), 1, true); };
    m["ImgBtnProductRegN"]
        = [] { return LauncherButton(197, 30, QStringLiteral("Product Registration"), 2, false); };
    m["ImgBtnProductRegD"]
        = [] { return LauncherButton(197, 30, QStringLiteral("Product Registration"), 2, true); };
    m["ImgBtnExitN"] = [] { return LauncherButton(197, 31, QStringLiteral("Exit"), 3, false); };
    m["ImgBtnExitD"] = [] { return LauncherButton(197, 31, QStringLiteral("Exit"), 3, true); };
    m["ImgTutorial2"] = Tutorial2;
    m["ImgBtnUG_UGN"] = [] { return GuideEntry(QStringLiteral("User's Guide"), false); };
    m["ImgBtnUG_UGD"] = [] { return GuideEntry(QStringLiteral("User's Guide"), true); };
    m["ImgBtnUG_QIGN"] = [] { return GuideEntry(QStringLiteral("Quick Installation Guide"), false); };
    m["ImgBtnUG_QIGD"] = [] { return GuideEntry(QStringLiteral("Quick Installation Guide"), true); };
    m["ImgAP"] = ModeAP;
    m["ImgBridge"] = ModeBridge;
    m["IncBMP"] = [] { return SortArrow(true); };
    m["DecBMP"] = [] { return SortArrow(false); };
    return m;
}

bool Save(const QImage& img, const QString& file, std::string_view format)
{
    if (format == "JPEG") {
        QImageWriter w(file, "jpeg");
        w.setQuality(92);
        return w.write(img.convertToFormat(QImage::Format_RGB32));
    }
    if (format == "BMP") {
        QImageWriter w(file, "bmp");
        return w.write(img.convertToFormat(QImage::Format_RGB32)); // written as 24-bit
    }
    QImageWriter w(file, "png");
    return w.write(img.convertToFormat(QImage::Format_ARGB32));
}

QString Str(std::string_view s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: qrx-artwork <images folder> [<qrc file>]\n");
        return 2;
    }
    LoadFonts();
    const QDir out(args.at(1));
    if (!QDir().mkpath(out.path())) {
        std::fprintf(stderr, "qrx-artwork: cannot create %s\n", qPrintable(out.path()));
        return 1;
    }
    const auto painters = Painters();
    int failures = 0;
    for (const TArtworkEntry& e : kArtworkTable) {
        QImage img;
        if (e.kind == TArtKind::TypeIcon) {
            img = TypeIcon(e.index);
        } else {
            const auto it = painters.find(std::string(e.name));
            if (it == painters.end()) {
                std::fprintf(stderr, "qrx-artwork: no painter for %s\n", std::string(e.name).c_str());
                ++failures;
                continue;
            }
            img = it->second();
        }
        if (img.width() != e.width || img.height() != e.height) {
            std::fprintf(stderr, "qrx-artwork: %s drawn at the wrong size\n", std::string(e.name).c_str());
            ++failures;
            continue;
        }
        const QString file = out.filePath(QFileInfo(Str(e.path)).fileName());
        if (!Save(img, file, e.format)) {
            std::fprintf(stderr, "qrx-artwork: cannot write %s\n", qPrintable(file));
            ++failures;
        }
    }
    if (args.size() >= 4 && args.at(2) == QStringLiteral("--preview")) {
        // Viewable copies: every picture as PNG, the small ones enlarged on one sheet.
        const QDir pv(args.at(3));
        QDir().mkpath(pv.path());
        QImage sheet(900, 900, QImage::Format_RGB32);
        sheet.fill(QColor(128, 128, 128));
        QPainter sp(&sheet);
        int x = 4, y = 4, rowH = 0;
        for (const TArtworkEntry& e : kArtworkTable) {
            const QString name = QFileInfo(Str(e.path)).fileName();
            const QImage img(out.filePath(name));
            if (e.width >= 500) {
                img.save(pv.filePath(name + QStringLiteral(".png")));
                continue;
            }
            const int scale = e.width <= 16 ? 4 : (e.width <= 100 ? 2 : 1);
            const QImage big = img.scaled(img.size() * scale);
            if (x + big.width() > 896) {
                x = 4;
                y += rowH + 4;
                rowH = 0;
            }
            sp.drawImage(x, y, big);
            x += big.width() + 4;
            rowH = std::max(rowH, big.height());
        }
        sp.end();
        sheet.save(pv.filePath(QStringLiteral("sheet.png")));
        return failures == 0 ? 0 : 1;
    }
    if (args.size() >= 3) {
        QFile qrc(args.at(2));
        if (!qrc.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
            std::fprintf(stderr, "qrx-artwork: cannot write %s\n", qPrintable(args.at(2)));
            return 1;
        }
        const QString rel = QFileInfo(args.at(2)).absoluteDir().relativeFilePath(out.absolutePath());
        QTextStream ts(&qrc);
        ts << "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n  <qresource prefix=\"/\">\n";
        for (const TArtworkEntry& e : kArtworkTable) {
            const QString name = QFileInfo(Str(e.path)).fileName();
            ts << "    <file alias=\"images/" << name << "\">" << rel << '/' << name << "</file>\n";
        }
        ts << "  </qresource>\n</RCC>\n";
    }
    return failures == 0 ? 0 : 1;
}
