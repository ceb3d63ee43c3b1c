#include "ui/DialogUnits.h"

#include <QFontMetrics>
#include <QString>

namespace {

const QString kAlphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");

// value * numerator / denominator, rounded half away from zero, as the platform's MulDiv.
int MulDiv(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : (product - half) / denominator);
}

} // namespace

CDialogUnits::CDialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int alphabetWidth = metrics.horizontalAdvance(kAlphabet);
    m_nBaseWidth = (alphabetWidth / 26 + 1) / 2;
    m_nBaseHeight = metrics.height();
}

int CDialogUnits::ToPixelsX(int dialogUnits) const {
    return MulDiv(dialogUnits, m_nBaseWidth, 4);
}

int CDialogUnits::ToPixelsY(int dialogUnits) const {
    return MulDiv(dialogUnits, m_nBaseHeight, 8);
}

QRect CDialogUnits::ToPixels(int x, int y, int width, int height) const {
    // Position and size are converted each on its own, as a dialog template's controls are.
    return QRect(ToPixelsX(x), ToPixelsY(y), ToPixelsX(width), ToPixelsY(height));
}
