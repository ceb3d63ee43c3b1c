#pragma once

#include "ui/Prompts.h"

#include <QString>
#include <deque>
#include <functional>
#include <vector>

// Prompts that record what they were asked and answer from a script instead of a user.
class CScriptedPrompts final : public CPrompts {
public:
    // One message box as it was asked for.
    struct SMessage {
        QWidget* owner;
        QString text;
        QString caption;
        PromptButtons buttons;
    };

    // One file chooser as it was asked for.
    struct SChooser {
        QWidget* owner;
        FileChooserRequest request;
    };

    // Records the box; answers with the next queued answer, else OK (Yes for Yes/No boxes).
    PromptAnswer MessageBox(QWidget* owner, const QString& text, const QString& caption,
                            PromptButtons buttons) override;
    // Records the request; answers with the next queued file, else as cancelled.
    std::optional<QString> ChooseFile(QWidget* owner, const FileChooserRequest& request) override;
    // Records the request; answers with the next queued list of files, else as cancelled.
    QStringList ChooseFiles(QWidget* owner, const FileChooserRequest& request) override;

    // Queues the answer of a following message box.
    void QueueAnswer(PromptAnswer answer) { m_answers.push_back(answer); }
    // Queues a following chooser's result (nothing: cancelled).
    void QueueFile(std::optional<QString> file) { m_files.push_back(std::move(file)); }
    // Queues a following several-file chooser's result (empty: cancelled).
    void QueueFiles(QStringList files) { m_fileLists.push_back(std::move(files)); }
    // Called inside each message box, while it would be open.
    void OnMessageBox(std::function<void(const SMessage&)> callback) {
        m_onMessage = std::move(callback);
    }

    const std::vector<SMessage>& Messages() const { return m_messages; }
    const std::vector<SChooser>& Choosers() const { return m_choosers; }

private:
    std::vector<SMessage> m_messages;
    std::vector<SChooser> m_choosers;
    std::deque<PromptAnswer> m_answers;
    std::deque<std::optional<QString>> m_files;
    std::deque<QStringList> m_fileLists;
    std::function<void(const SMessage&)> m_onMessage;
};
