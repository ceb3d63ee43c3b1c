#pragma once

#include <QFont>
#include <QRect>

// Converts dialog template units to pixels for a font, as the platform's dialogs do: the
// horizontal base is the average width of the letters A-Z a-z, the vertical base the font's
// height; a horizontal unit is a quarter of the first, a vertical unit an eighth of the second.
class CDialogUnits {
public:
    // The base units of font.
    explicit CDialogUnits(const QFont& font);

    // Horizontal base unit in pixels.
    int BaseWidth() const { return m_nBaseWidth; }
    // Vertical base unit in pixels.
    int BaseHeight() const { return m_nBaseHeight; }
    // A horizontal length in pixels.
    int ToPixelsX(int dialogUnits) const;
    // A vertical length in pixels.
    int ToPixelsY(int dialogUnits) const;
    // A rectangle given as x, y, width, height in dialog units, in pixels.
    QRect ToPixels(int x, int y, int width, int height) const;

private:
    int m_nBaseWidth;
    int m_nBaseHeight;
};
