#include "ScriptedPrompts.h"

PromptAnswer CScriptedPrompts::MessageBox(QWidget* owner, const QString& text,
                                          const QString& caption, PromptButtons buttons) {
    m_messages.push_back({owner, text, caption, buttons});
    if (m_onMessage)
        m_onMessage(m_messages.back());
    if (!m_answers.empty()) {
        const PromptAnswer answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    return buttons == PromptButtons::YesNo ? PromptAnswer::Yes : PromptAnswer::Ok;
}

std::optional<QString> CScriptedPrompts::ChooseFile(QWidget* owner,
                                                    const FileChooserRequest& request) {
    m_choosers.push_back({owner, request});
    if (m_files.empty() || !m_files.front().has_value()) {
        if (!m_files.empty())
            m_files.pop_front();
        return std::nullopt;
    }
    const QString file = *m_files.front();
    m_files.pop_front();
    return file;
}

QStringList CScriptedPrompts::ChooseFiles(QWidget* owner, const FileChooserRequest& request) {
    m_choosers.push_back({owner, request});
    if (m_fileLists.empty())
        return QStringList();
    QStringList files = m_fileLists.front();
    m_fileLists.pop_front();
    return files;
}
