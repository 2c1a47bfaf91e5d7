#include "qt/pictures.h"

#include <QFont>
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

// Bold text in ink, centred in the rectangle.
void DrawCaption(QPainter& painter, const QRectF& area, const char* family, int pixelSize,
                 const QString& text) {
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(kInk);
    painter.drawText(area, Qt::AlignCenter, text);
}

// A picture of the window: paper in a frame, with `draw` painting what lies on it.
template <typename Draw>
QPixmap FramedPicture(int width, int height, Draw draw) {
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kInk, 1));
    painter.setBrush(kPaper);
    painter.drawRect(QRectF(pixmap.rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    draw(painter);
    return pixmap;
}

QPixmap ExitPicture() {
    return FramedPicture(112, 64, [](QPainter& painter) {
        DrawCaption(painter, QRectF(0, 4, 112, 20), "DejaVu Sans Mono", 14, "A→D  B→E");
        DrawKey(painter, QRectF(10, 26, 92, 34));
    });
}

QPixmap ExitBanner() {
    return FramedPicture(160, 25, [](QPainter& painter) {
        DrawKey(painter, QRectF(4, 3, 42, 19));
        DrawCaption(painter, QRectF(50, 0, 106, 25), "DejaVu Sans Mono", 13, "YHQL YLGL");
    });
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
    DrawCaption(painter, QRectF(0, s * 0.08, s, s * 0.45), "DejaVu Sans",
                static_cast<int>(s * 0.36), "V");
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
