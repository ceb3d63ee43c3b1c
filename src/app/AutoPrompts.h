#pragma once

#include "ui/Prompts.h"

// Prompts for unattended runs (screenshots, start-up timing): every message box is written
// to the error stream and answered with OK or No, every chooser is cancelled.
class CAutoPrompts final : public CPrompts {
public:
    // Logs the text and answers OK (or No when asked Yes/No).
    PromptAnswer MessageBox(QWidget* owner, const QString& text, const QString& caption,
                            PromptButtons buttons) override;
    // Cancels.
    std::optional<QString> ChooseFile(QWidget* owner, const FileChooserRequest& request) override;
    // Cancels.
    QStringList ChooseFiles(QWidget* owner, const FileChooserRequest& request) override;
};
