#include "ui/ToolbarImages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr int ImageSize = 16;

const QColor Outline(40, 40, 40);
const QColor Paper(255, 255, 255);
const QColor Folder(236, 190, 70);
const QColor Disk(50, 90, 170);
const QColor Metal(170, 170, 180);
const QColor Board(170, 120, 60);
const QColor Handle(200, 40, 40);

// A sheet of paper with a folded top right corner.
void DrawPage(QPainter& p, QRectF r)
{
    const qreal fold = 4;
    QPainterPath page;
    page.moveTo(r.left(), r.top());
    page.lineTo(r.right() - fold, r.top());
    page.lineTo(r.right(), r.top() + fold);
    page.lineTo(r.right(), r.bottom());
    page.lineTo(r.left(), r.bottom());
    page.closeSubpath();
    p.setBrush(Paper);
    p.drawPath(page);
    p.drawPolyline(QPolygonF(
        {{r.right() - fold, r.top()}, {r.right() - fold, r.top() + fold}, {r.right(), r.top() + fold}}));
}

// Text lines on a page.
void DrawLines(QPainter& p, QRectF r)
{
    for (qreal y = r.top() + 5; y < r.bottom() - 1; y += 2)
        p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
}

void DrawNew(QPainter& p)
{
    DrawPage(p, QRectF(2.5, 0.5, 10, 14));
}

void DrawOpen(QPainter& p)
{
    p.setBrush(Folder.darker(115));
    p.drawPolygon(QPolygonF({{0.5, 3.5}, {5.5, 3.5}, {7, 5}, {13.5, 5}, {13.5, 13.5}, {0.5, 13.5}}));
    p.setBrush(Folder);
    p.drawPolygon(QPolygonF({{0.5, 13.5}, {3.5, 7.5}, {15.5, 7.5}, {13.5, 13.5}}));
}

void DrawSave(QPainter& p)
{
    p.setBrush(Disk);
    p.drawRect(QRectF(1.5, 1.5, 13, 13));
    p.setBrush(Paper);
    p.drawRect(QRectF(4, 1.5, 8, 5));
    p.setBrush(Metal);
    p.drawRect(QRectF(4.5, 9.5, 7, 5));
}

void DrawCut(QPainter& p)
{
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(5, 1), QPointF(10, 10));
    p.drawLine(QPointF(11, 1), QPointF(6, 10));
    p.setPen(QPen(Handle, 1.5));
    p.drawEllipse(QPointF(4.5, 12), 2.5, 2.5);
    p.drawEllipse(QPointF(11.5, 12), 2.5, 2.5);
}

void DrawCopy(QPainter& p)
{
    DrawPage(p, QRectF(1.5, 0.5, 8, 10));
    DrawPage(p, QRectF(6.5, 4.5, 8, 11));
    DrawLines(p, QRectF(6.5, 4.5, 8, 11));
}

void DrawPaste(QPainter& p)
{
    p.setBrush(Board);
    p.drawRect(QRectF(1.5, 2.5, 10, 12));
    p.setBrush(Metal);
    p.drawRect(QRectF(4.5, 0.5, 4, 3));
    DrawPage(p, QRectF(6.5, 5.5, 8, 10));
    DrawLines(p, QRectF(6.5, 5.5, 8, 10));
}

} // namespace

QIcon ToolbarIcon(ToolbarImage image)
{
    QPixmap pixmap(ImageSize, ImageSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Outline, 1));
    constexpr void (*Painters[])(QPainter&) = {DrawNew, DrawOpen, DrawSave, DrawCut, DrawCopy, DrawPaste};
    Painters[static_cast<int>(image)](p);
    return QIcon(pixmap);
}
