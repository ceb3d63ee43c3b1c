#pragma once

#include <QString>
#include <QStringList>

// A growable array of strings that fills itself by cutting a text at delimiter characters.
class CSplitStringArray : public QStringList {
public:
    // Replaces the contents by the pieces of source between delimiter characters: every
    // delimiter ends a piece (also an empty one); the text after the last one is kept only
    // when it is not empty.
    void Split(const QString& source, const QString& delimiters);
};
