#include "ui/NodeIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <array>
#include <cmath>

namespace ra7::editor {

namespace {

constexpr int kSize = 16;

void drawGeometry(QPainter& p)
{
    // A box seen from above a corner: front face, top and side.
    const QPolygonF front({{2, 6}, {10, 6}, {10, 14}, {2, 14}});
    const QPolygonF top({{2, 6}, {6, 2}, {14, 2}, {10, 6}});
    const QPolygonF side({{10, 6}, {14, 2}, {14, 10}, {10, 14}});
    p.setPen(QPen(QColor(40, 60, 110), 1));
    p.setBrush(QColor(120, 160, 230));
    p.drawPolygon(front);
    p.setBrush(QColor(170, 200, 250));
    p.drawPolygon(top);
    p.setBrush(QColor(80, 115, 190));
    p.drawPolygon(side);
}

void drawSprite(QPainter& p)
{
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const double angle = -M_PI / 2 + i * M_PI / 5;
        const double radius = i % 2 ? 3.0 : 7.0;
        star << QPointF(8 + radius * std::cos(angle), 8.5 + radius * std::sin(angle));
    }
    p.setPen(QPen(QColor(150, 100, 0), 1));
    p.setBrush(QColor(255, 210, 60));
    p.drawPolygon(star);
}

void drawLight(QPainter& p)
{
    p.setPen(QPen(QColor(140, 110, 0), 1));
    p.setBrush(QColor(255, 240, 120));
    p.drawEllipse(QRectF(3.5, 1.5, 9, 9));
    p.setBrush(QColor(120, 120, 120));
    p.drawRect(QRectF(5.5, 10.5, 5, 4));
    p.drawLine(QPointF(5.5, 12.5), QPointF(10.5, 12.5));
}

void drawParticles(QPainter& p)
{
    p.setPen(Qt::NoPen);
    const std::array<QPointF, 9> dots = {
        {{3, 12}, {6, 9}, {9, 11}, {12, 7}, {5, 4}, {10, 3}, {13, 12}, {8, 6}, {2, 7}}};
    const std::array<QColor, 3> colours = {QColor(230, 80, 30), QColor(250, 160, 40), QColor(200, 40, 40)};
    for (std::size_t i = 0; i < dots.size(); ++i) {
        p.setBrush(colours[i % colours.size()]);
        p.drawEllipse(dots[i], 1.6, 1.6);
    }
}

void drawCamera(QPainter& p)
{
    p.setPen(QPen(QColor(30, 30, 30), 1));
    p.setBrush(QColor(90, 90, 100));
    p.drawRoundedRect(QRectF(1.5, 5.5, 10, 8), 1.5, 1.5);
    const QPolygonF lens({{11.5, 8}, {15, 6}, {15, 13}, {11.5, 11}});
    p.drawPolygon(lens);
    p.setBrush(QColor(170, 200, 230));
    p.drawEllipse(QRectF(4, 7.5, 4, 4));
}

void drawSound(QPainter& p)
{
    p.setPen(QPen(QColor(30, 90, 40), 1));
    p.setBrush(QColor(90, 190, 110));
    const QPolygonF speaker({{2, 6}, {5, 6}, {9, 2.5}, {9, 13.5}, {5, 10}, {2, 10}});
    p.drawPolygon(speaker);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(7, 4, 6, 8), -50 * 16, 100 * 16);
    p.drawArc(QRectF(6, 1.5, 9.5, 13), -50 * 16, 100 * 16);
}

QIcon makeIcon(NodeImage image)
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    switch (image) {
    case NodeImage::Geometry:
        drawGeometry(painter);
        break;
    case NodeImage::Sprite:
        drawSprite(painter);
        break;
    case NodeImage::Light:
        drawLight(painter);
        break;
    case NodeImage::ParSystem:
        drawParticles(painter);
        break;
    case NodeImage::Camera:
        drawCamera(painter);
        break;
    case NodeImage::Sound:
        drawSound(painter);
        break;
    }
    return QIcon(pixmap);
}

} // namespace

const QIcon& NodeIcon(NodeImage image)
{
    // Kept for the whole run: pixmaps must not outlive the application
    // object, which a static destructor at exit would make them do.
    static const auto* icons = new std::array<QIcon, 6>{
        makeIcon(NodeImage::Geometry),  makeIcon(NodeImage::Sprite), makeIcon(NodeImage::Light),
        makeIcon(NodeImage::ParSystem), makeIcon(NodeImage::Camera), makeIcon(NodeImage::Sound)};
    return (*icons)[static_cast<std::size_t>(image)];
}

} // namespace ra7::editor
