#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

// Buttons of a message box, and the answer the user gave.
enum class PromptButtons { Ok, YesNo };
enum class PromptAnswer { Ok, Yes, No };

// Chooser options, with the Windows values of the flags they stand for.
enum FileChooserFlag : unsigned {
    kChooserOverwritePrompt = 0x00000002,
    kChooserHideReadOnly = 0x00000004,
    kChooserAllowMultiSelect = 0x00000200,
    kChooserEnableSizing = 0x00800000,
};

// What a file chooser is asked to show.
struct FileChooserRequest {
    bool save = false;        // save chooser, else open chooser
    QString defaultExtension; // e.g. "*.xml"
    QString fileName;         // proposed name, may be empty
    QString filter;           // "Text|pattern|Text|pattern||"
    QString initialFolder;    // empty: the chooser's own default
    QString title;            // empty: the chooser's own title
    unsigned flags = 0;       // FileChooserFlag values
};

// Every message box and file chooser of the program goes through here, so tests answer them.
class CPrompts {
public:
    virtual ~CPrompts() = default;
    // A message box; an empty caption means the application's name and the icon the platform
    // adds, a caption of its own a box without icon. Returns the answer.
    virtual PromptAnswer MessageBox(QWidget* owner, const QString& text, const QString& caption,
                                    PromptButtons buttons) = 0;
    // A file chooser; the chosen full path, or nothing when cancelled.
    virtual std::optional<QString> ChooseFile(QWidget* owner,
                                              const FileChooserRequest& request) = 0;
    // An open chooser of existing files that may take several at once; the chosen full
    // paths in the order the chooser gives them, or none when cancelled.
    virtual QStringList ChooseFiles(QWidget* owner, const FileChooserRequest& request) = 0;
};
