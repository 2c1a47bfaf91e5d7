#include "qt/pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace varn::desktop {

namespace {

const QColor kPaper(0xF4, 0xEE, 0xDC);
const QColor kInk(0x2B, 0x3A, 0x55);
const QColor kBrass(0xC8, 0x96, 0x2A);

// A key lying across the rectangle, bow on the left.
void DrawKey(QPainter& painter, const QRectF& area) {
    const qreal h = area.height();
    const qreal bowRadius = h * 0.32;
    const QPointF bowCentre(area.left() + bowRadius + h * 0.06, area.center().y());
    const qreal shaftTop = area.center().y() - h * 0.07;
    const qreal shaftHeight = h * 0.14;
    const qreal shaftLeft = bowCentre.x() + bowRadius * 0.8;
    const qreal shaftRight = area.right() - h * 0.06;

    QPainterPath key;
    key.addEllipse(bowCentre, bowRadius, bowRadius);
    key.addRect(QRectF(shaftLeft, shaftTop, shaftRight - shaftLeft, shaftHeight));
    const qreal tooth = h * 0.12;
    key.addRect(QRectF(shaftRight - tooth * 1.2, shaftTop + shaftHeight, tooth, h * 0.2));
    key.addRect(QRectF(shaftRight - tooth * 3.0, shaftTop + shaftHeight, tooth, h * 0.14));
    key.setFillRule(Qt::WindingFill);

    painter.setPen(QPen(kInk, std::max<qreal>(1.0, h / 40.0)));
    painter.setBrush(kBrass);
    painter.drawPath(key.simplified());
    painter.setBrush(kPaper);
    painter.drawEllipse(bowCentre, bowRadius * 0.45, bowRadius * 0.45);
}

void DrawFrame(QPainter& painter, const QRectF& area) {
    painter.setPen(QPen(kInk, 1));
    painter.setBrush(kPaper);
    painter.drawRect(area.adjusted(0.5, 0.5, -0.5, -0.5));
}

QPixmap ExitPicture() {
    QPixmap pixmap(112, 64);
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawFrame(painter, pixmap.rect());
    QFont font("DejaVu Sans Mono");
    font.setPixelSize(14);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(kInk);
    painter.drawText(QRectF(0, 4, 112, 20), Qt::AlignCenter, "A→D  B→E");
    DrawKey(painter, QRectF(10, 26, 92, 34));
    return pixmap;
}

QPixmap ExitBanner() {
    QPixmap pixmap(160, 25);
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawFrame(painter, pixmap.rect());
    DrawKey(painter, QRectF(4, 3, 42, 19));
    QFont font("DejaVu Sans Mono");
    font.setPixelSize(13);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(kInk);
    painter.drawText(QRectF(50, 0, 106, 25), Qt::AlignCenter, "YHQL YLGL");
    return pixmap;
}

QPixmap IconPixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    painter.setPen(QPen(kInk, std::max<qreal>(1.0, s / 32.0)));
    painter.setBrush(kPaper);
    painter.drawRoundedRect(QRectF(s * 0.06, s * 0.06, s * 0.88, s * 0.88), s * 0.12, s * 0.12);
    QFont font("DejaVu Sans");
    font.setPixelSize(static_cast<int>(s * 0.36));
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(kInk);
    painter.drawText(QRectF(0, s * 0.08, s, s * 0.45), Qt::AlignCenter, "V");
    DrawKey(painter, QRectF(s * 0.12, s * 0.52, s * 0.76, s * 0.34));
    return pixmap;
}

}  // namespace

QPixmap DrawPicture(const std::string& resource) {
    if (resource == "exit_picture") return ExitPicture();
    if (resource == "exit_banner") return ExitBanner();
    return {};
}

QIcon WindowIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 64}) icon.addPixmap(IconPixmap(size));
    return icon;
}

}  // namespace varn::desktop
