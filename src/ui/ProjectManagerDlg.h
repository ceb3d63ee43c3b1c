#pragma once

#include "ui/Prompts.h"
#include "ui/WindowServices.h"

#include <QDialog>
#include <QHash>
#include <QIcon>
#include <QList>
#include <QString>
#include <QUrl>
#include <cstdint>
#include <optional>

struct SProject;
class CFTPTransferDlg;
class CHistoryComboBox;
class CSortedListBox;
class CToolTipControl;
class QAbstractButton;
class QCheckBox;
class QLineEdit;

// The program's only window: the project's values in one dialog, its tooltips, remembered
// preferences and first-run greeting. The window's controls hold the current project.
class CProjectManagerDlg final : public QDialog {
    Q_OBJECT

public:
    // Builds every control with its initial value; services must outlive the window.
    explicit CProjectManagerDlg(const SWindowServices& services, QWidget* parent = nullptr);
    // Stores the auto-load preference; the history fields store their lists as they go.
    ~CProjectManagerDlg() override;

    CProjectManagerDlg(const CProjectManagerDlg&) = delete;
    CProjectManagerDlg& operator=(const CProjectManagerDlg&) = delete;

    // Initialises the window and runs it modally; returns QDialog::Accepted once closed.
    int DoModal();
    // Copies the controls into the values (true) or the values into the controls (false);
    // false when the timeout field holds no unsigned whole number (the user is told).
    bool UpdateData(bool saveAndValidate = true);
    // Opens the help file; both arguments are ignored.
    void WinHelp(uint32_t context, uint32_t command);
    // Loads the project file at path into the window; false after telling the user why not.
    bool LoadProjectFile(const QString& path);
    // Asks the shell to open a command line's file with its parameters; false after telling
    // the user that the shell refused. A leading quoted part is the file, else the first word.
    bool OpenShellCommand(const QString& commandLine);

    // Enter, Quit: the close operation.
    void accept() override;
    // Escape, the close box: the same close operation.
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    bool OnInitDialog();
    void OnQuit();
    void OnAutoload();
    void OnTestScript();
    void OnNewProject();
    void OnLoadProject();
    void OnSaveProject();
    void OnBrowseIni();
    void OnBrowseLog();
    void OnBrowseScript();
    void OnOpenIni();
    void OnOpenLog();
    void OnOpenScript();
    void OnExplore();
    void OnAddFiles();
    void OnDeleteFile();
    void OnDropFiles(const QList<QUrl>& urls);
    void OnUpload();
    void OnServiceStatus();
    void OnTimer(int timerId);
    static void ServiceProgress(const char* message, void* userData);

    void CloseWindow();
    void AttachControls();
    void ConnectHandlers();
    void LoadHistories(const QString& windowsDirectory, const QString& systemDirectory);
    void ShowUpdateFunction();
    void RegisterToolTips();
    void LoadLastProject();
    void GreetOnFirstRun();
    void StopStatusTimer();
    void TakePathSnapshots();
    bool ReadProjectText(const QString& path, QByteArray& content);
    void ShowFileError(const QString& text);
    std::optional<QString> ChooseFile(const FileChooserRequest& request);
    void OpenPath(const CHistoryComboBox& field, QString& snapshot);
    SProject HeldProject() const;
    void HoldProject(const SProject& project);
    void WriteConnectionFields(CFTPTransferDlg& transfer) const;
    void ShowServiceCaption(const QString& caption);
    bool Transfer(bool save, bool reportRefusal);

    void ExchangeText(bool save, int id, QString& value);
    void ExchangeCheck(bool save, int id, bool& value);
    void ExchangeThreeState(bool save, int id, int32_t& value);
    bool ExchangeUnsigned(bool save, int id, uint32_t& value, bool reportRefusal);

    // The control with the id, as the widget class it is; every handler file uses it.
    template <typename Widget> Widget* Control(int id) const {
        return dynamic_cast<Widget*>(m_controls.value(id));
    }

    SWindowServices m_services;
    QHash<int, QWidget*> m_controls;
    bool m_bAttached = false;

    QString m_strScriptFile;
    QString m_strIniPath;
    QString m_strLogPath;
    QString m_strScriptURL;
    CHistoryComboBox* m_cboScriptURL = nullptr;
    CHistoryComboBox* m_cboLogPath = nullptr;
    CHistoryComboBox* m_cboIniPath = nullptr;
    CHistoryComboBox* m_cboScriptFile = nullptr;
    CSortedListBox* m_lstUpload = nullptr;
    int32_t m_nServiceStatus = 0;
    QString m_strFTPServer;
    QString m_strPassword;
    bool m_bPASV = false;
    bool m_bPreconfig = false;
    QString m_strProxyServer;
    QString m_strServerFolder;
    uint32_t m_nTimeout = 15000;
    bool m_bUseProxy = true;
    QString m_strUsername;
    bool m_bAutoload = false;
    QIcon m_hIcon;
    int m_nTimerID = 0;
    CToolTipControl* m_ToolTip = nullptr;
};
