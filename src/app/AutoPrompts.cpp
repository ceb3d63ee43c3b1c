#include "app/AutoPrompts.h"

#include <cstdio>

PromptAnswer CAutoPrompts::MessageBox(QWidget*, const QString& text, const QString&,
                                      PromptButtons buttons) {
    std::fprintf(stderr, "message box answered unattended: %s\n", qUtf8Printable(text));
    return buttons == PromptButtons::Ok ? PromptAnswer::Ok : PromptAnswer::No;
}

std::optional<QString> CAutoPrompts::ChooseFile(QWidget*, const FileChooserRequest&) {
    return std::nullopt;
}

QStringList CAutoPrompts::ChooseFiles(QWidget*, const FileChooserRequest&) {
    return QStringList();
}
