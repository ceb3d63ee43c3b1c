#include "platform/AnsiText.h"

#ifndef _WIN32
#include "project/TextEncoding.h"

#include <QHash>
#include <mutex>
#endif

#ifdef _WIN32

QString CAnsiText::FromBytes(const std::string& bytes) {
    return QString::fromLocal8Bit(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string CAnsiText::ToBytes(const QString& text) {
    return text.toLocal8Bit().toStdString();
}

#else

namespace {

// Lines that were not UTF-8, by the characters they showed as. The same characters read
// later from UTF-8 bytes take the entry back: the latest reading wins.
struct SReadLines {
    std::mutex lock;
    QHash<QString, std::string> bytesOf;
};

SReadLines& ReadLines() {
    static SReadLines lines;
    return lines;
}

template <typename Piece, typename Visit> void ForEachLine(const Piece& text, Visit visit) {
    qsizetype start = 0;
    for (;;) {
        qsizetype end = static_cast<qsizetype>(text.find('\n', static_cast<size_t>(start)));
        const bool last = end < 0;
        if (last)
            end = static_cast<qsizetype>(text.size());
        visit(start, end - start, last);
        if (last)
            return;
        start = end + 1;
    }
}

} // namespace

QString CAnsiText::FromBytes(const std::string& bytes) {
    if (IsValidUtf8(bytes) && bytes.find('\n') == std::string::npos) {
        const QString text = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
        SReadLines& lines = ReadLines();
        const std::lock_guard<std::mutex> guard(lines.lock);
        if (!lines.bytesOf.isEmpty())
            lines.bytesOf.remove(text);
        return text;
    }
    QString text;
    SReadLines& lines = ReadLines();
    const std::lock_guard<std::mutex> guard(lines.lock);
    ForEachLine(bytes, [&](qsizetype start, qsizetype length, bool last) {
        const std::string line =
            bytes.substr(static_cast<size_t>(start), static_cast<size_t>(length));
        const QString shown = QString::fromStdString(AsUtf8(line));
        if (IsValidUtf8(line))
            lines.bytesOf.remove(shown);
        else
            lines.bytesOf.insert(shown, line);
        text += shown;
        if (!last)
            text += QLatin1Char('\n');
    });
    return text;
}

std::string CAnsiText::ToBytes(const QString& text) {
    SReadLines& lines = ReadLines();
    const std::lock_guard<std::mutex> guard(lines.lock);
    if (lines.bytesOf.isEmpty())
        return text.toStdString();
    std::string bytes;
    const std::u16string_view units(reinterpret_cast<const char16_t*>(text.utf16()),
                                    static_cast<size_t>(text.size()));
    ForEachLine(units, [&](qsizetype start, qsizetype length, bool last) {
        const QString line = text.mid(start, length);
        const auto read = lines.bytesOf.constFind(line);
        bytes += read != lines.bytesOf.cend() ? *read : line.toStdString();
        if (!last)
            bytes += '\n';
    });
    return bytes;
}

#endif
