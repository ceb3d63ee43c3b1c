#include "ui/SplitStringArray.h"

void CSplitStringArray::Split(const QString& source, const QString& delimiters) {
    clear();
    qsizetype pieceStart = 0;
    for (qsizetype index = 0; index < source.size(); ++index) {
        if (!delimiters.contains(source.at(index)))
            continue;
        append(source.mid(pieceStart, index - pieceStart));
        pieceStart = index + 1;
    }
    const QString rest = source.mid(pieceStart);
    if (!rest.isEmpty())
        append(rest);
}
