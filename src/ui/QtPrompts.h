#pragma once

#include "ui/Prompts.h"

#include <QStringList>

class QFileDialog;

// Message boxes and file choosers shown with Qt's own dialogs.
class CQtPrompts final : public CPrompts {
public:
    // Shows text; an empty caption becomes the application's name, and a box with only OK
    // gets the warning icon, as the platform's plain message box does.
    PromptAnswer MessageBox(QWidget* owner, const QString& text, const QString& caption,
                            PromptButtons buttons) override;
    // Shows the open or save chooser the request describes.
    std::optional<QString> ChooseFile(QWidget* owner, const FileChooserRequest& request) override;
    // Shows the open chooser, taking several existing files when the request allows it.
    QStringList ChooseFiles(QWidget* owner, const FileChooserRequest& request) override;

    // A filter of "Text|pattern|Text|pattern||" as Qt's name filters "Text (pattern)", the
    // text's own "(pattern)" replaced; a pattern list separated by ';' becomes blank-separated.
    static QStringList NameFilters(const QString& filter);
    // A message's text as shown: CR LF line ends become single line feeds.
    static QString DisplayText(const QString& text);

private:
    // The request's mode, filters, extension and options on chooser.
    static void Prepare(QFileDialog& chooser, const FileChooserRequest& request, int fileMode);
};
