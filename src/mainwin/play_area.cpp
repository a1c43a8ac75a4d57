#include "play_area.h"

#include <QLinearGradient>
#include <QPainter>

namespace mainwin {

PlayArea::PlayArea(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("VelBackPic"));
    setFixedSize(kPlayAreaWidthTwips / kTwipsPerPixel, kPlayAreaHeightTwips / kTwipsPerPixel);
}

void PlayArea::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QLinearGradient sky(0, 0, 0, height());
    sky.setColorAt(0.0, QColor(0xe8, 0xf1, 0xfb));
    sky.setColorAt(1.0, QColor(0xfd, 0xfe, 0xff));
    painter.fillRect(rect(), sky);

    // Faint rulings, like an exercise book, help the eye follow a falling word.
    painter.setPen(QColor(0xd6, 0xe2, 0xf0));
    for (int y = 40; y < height(); y += 40)
        painter.drawLine(0, y, width(), y);

    painter.setPen(QColor(0xa9, 0xb8, 0xc9));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace mainwin
