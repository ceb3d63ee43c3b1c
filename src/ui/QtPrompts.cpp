#include "ui/QtPrompts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScreen>

namespace {

// The chooser's starting point: folder and proposed name joined.
QString StartPath(const FileChooserRequest& request) {
    if (request.initialFolder.isEmpty())
        return request.fileName;
    if (request.fileName.isEmpty())
        return request.initialFolder;
    return QDir(request.initialFolder).filePath(request.fileName);
}

// "*.xml" or ".xml" as the bare suffix "xml".
QString Suffix(const QString& defaultExtension) {
    QString suffix = defaultExtension;
    while (suffix.startsWith(QLatin1Char('*')) || suffix.startsWith(QLatin1Char('.')))
        suffix.remove(0, 1);
    return suffix;
}

// A box stands over its owner while the owner is shown. An owner not shown yet (the window
// greets before it appears) would put the box in the screen's corner: centre it on the
// screen instead, as a box without owner is.
void CentreOverShownOwner(QWidget& box, const QWidget* owner) {
    if (owner == nullptr || owner->isVisible())
        return;
    const QScreen* screen =
        owner->screen() != nullptr ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    box.adjustSize();
    box.move(screen->availableGeometry().center() - box.rect().center());
}

} // namespace

PromptAnswer CQtPrompts::MessageBox(QWidget* owner, const QString& text, const QString& caption,
                                    PromptButtons buttons) {
    const bool yesNo = buttons == PromptButtons::YesNo;
    // The plain box gets the icon the platform adds; the window's own captioned box gets none.
    const bool plain = caption.isEmpty();
    const QMessageBox::Icon icon =
        !plain ? QMessageBox::NoIcon : (yesNo ? QMessageBox::Question : QMessageBox::Warning);
    QMessageBox box(icon, plain ? QCoreApplication::applicationName() : caption, DisplayText(text),
                    yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    CentreOverShownOwner(box, owner);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return PromptAnswer::Yes;
    case QMessageBox::No:
        return PromptAnswer::No;
    default:
        return PromptAnswer::Ok;
    }
}

std::optional<QString> CQtPrompts::ChooseFile(QWidget* owner, const FileChooserRequest& request) {
    QFileDialog chooser(owner, QString(), StartPath(request));
    // The chosen file need not exist, also in the open chooser.
    Prepare(chooser, request, QFileDialog::AnyFile);
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(chooser.selectedFiles().first());
}

QStringList CQtPrompts::ChooseFiles(QWidget* owner, const FileChooserRequest& request) {
    QFileDialog chooser(owner, request.title, StartPath(request));
    const bool several = (request.flags & kChooserAllowMultiSelect) != 0;
    Prepare(chooser, request, several ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    QStringList paths;
    if (chooser.exec() != QDialog::Accepted)
        return paths;
    for (const QString& path : chooser.selectedFiles())
        paths.append(QDir::toNativeSeparators(path));
    return paths;
}

void CQtPrompts::Prepare(QFileDialog& chooser, const FileChooserRequest& request, int fileMode) {
    chooser.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    chooser.setFileMode(static_cast<QFileDialog::FileMode>(fileMode));
    chooser.setNameFilters(NameFilters(request.filter));
    chooser.setDefaultSuffix(Suffix(request.defaultExtension));
    chooser.setOption(QFileDialog::DontConfirmOverwrite,
                      (request.flags & kChooserOverwritePrompt) == 0);
    chooser.setSizeGripEnabled((request.flags & kChooserEnableSizing) != 0);
}

QStringList CQtPrompts::NameFilters(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype index = 0; index + 1 < parts.size(); index += 2) {
        if (parts.at(index).isEmpty())
            break;
        QString patterns = parts.at(index + 1);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt reads the patterns from the last parentheses: replace the text's own copy.
        static const QRegularExpression shownPatterns(QStringLiteral("\\s*\\([^()]*\\)$"));
        QString text = parts.at(index);
        text.remove(shownPatterns);
        filters.append(text + QStringLiteral(" (") + patterns + QLatin1Char(')'));
    }
    return filters;
}

QString CQtPrompts::DisplayText(const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}
