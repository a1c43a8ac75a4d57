#pragma once

#include <QWidget>

namespace mainwin {

// Positions in the play area are kept in twips, as the drill computes them.
inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kPlayAreaWidthTwips = 6825;
inline constexpr int kPlayAreaHeightTwips = 6345;
inline constexpr int kDropWidthTwips = 3735;
inline constexpr int kDropHeightTwips = 255;

constexpr int twipsToPixels(int twips) {
    // Round towards minus infinity so that a drop above the field stays above it.
    return twips >= 0 ? twips / kTwipsPerPixel : -((-twips + kTwipsPerPixel - 1) / kTwipsPerPixel);
}

// The field the words fall down: a quiet background with a line at the bottom edge.
class PlayArea : public QWidget {
public:
    explicit PlayArea(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace mainwin
