#include "ui/ProjectManagerDlg.h"

#include "platform/AnsiText.h"
#include "platform/Profile.h"
#include "platform/Shell.h"
#include "platform/SystemInfo.h"
#include "platform/UpdateLibrary.h"
#include "project/AtomicFile.h"
#include "project/Project.h"
#include "project/ProjectFile.h"
#include "ui/DialogBuilder.h"
#include "ui/DialogUnits.h"
#include "ui/HistoryComboBox.h"
#include "ui/ProjectManagerTemplate.h"
#include "ui/Prompts.h"
#include "ui/SortedListBox.h"
#include "ui/SvgImage.h"
#include "ui/ToolTipControl.h"

#include <QCheckBox>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTimerEvent>

using namespace ProjectManagerTemplate;

namespace {

const QString kHistorySection = QStringLiteral("History");
constexpr int kStatusTimerPeriodMs = 1000;
constexpr int32_t kTestScriptTimeoutMs = 120000;
constexpr int kMaxTipWidth = 300;
constexpr int kTipShowTimeMs = 5000;
// The help operation's arguments for "show the help file" (they are ignored).
constexpr uint32_t kHelpContext = 0;
constexpr uint32_t kHelpCommand = 1;

const char* const kGreeting =
    "Hello %1,\r\n\r\nWelcome to the Brevane Project Manager Utility!\r\n\r\nAs this is the "
    "first time you have launched me, I will now open the Brevane help file, which contains "
    "all the information you will need to use the Brevane.  You can press F1 at any time within "
    "the Project Manager Utility to view the help documentation.\r\n\r\nPlease also check out "
    "the Start Menu additions for the Brevane.\r\n\r\nThank you for choosing the Brevane - we "
    "hope you like it!";
const char* const kGreetingCaption = "Welcome to the Brevane from Quilldrake!";
const char* const kNotAProject = "XML File '%1' is not a TarvonSCP project!";
const char* const kTooLarge =
    "XML File '%1' is larger than 256 MiB, too large for a TarvonSCP project; it was not read.";
const char* const kStartNewProject = "Start new project?";
const char* const kShellRefused = "An error occurred processing the command line \"%1\".";
// The longest file error text shown, as the platform's error message buffer holds.
constexpr int kMaxFileErrorLength = 255;
// A file that cannot be read is named, since at start-up nothing else tells which it was.
const char* const kCannotOpen = "Cannot open '%1': %2";
const char* const kCannotRead = "Cannot read '%1': %2";
constexpr qint64 kMaxProjectFileBytes = static_cast<qint64>(ProjectFile::kMaxFileBytes);
constexpr qint64 kReadChunkBytes = 1 << 16;

const char* const kProjectExtension = "*.xml";
const char* const kProjectFilter = "XML Project files (*.xml)|*.xml||";
const char* const kIniFilter = "INI files (*.ini)|*.ini||";
const char* const kLogFilter = "Log files (*.log)|*.log||";
const char* const kScriptFilter = "Text files (*.txt)|*.txt|All files (*.*)|*.*||";
const char* const kIniFileName = "TarvonSvc4.ini";
const char* const kLogFileName = "TarvonSvc4.log";
// Every chooser of the window: no read-only box, ask before overwriting, resizable.
constexpr unsigned kChooserFlags =
    kChooserHideReadOnly | kChooserOverwritePrompt | kChooserEnableSizing;
const char* const kNotAnInteger = "Please enter a whole number from 0 to 4294967295.";

QString FromLocal(const std::string& text) {
    return CAnsiText::FromBytes(text);
}

std::string ToLocal(const QString& text) {
    return CAnsiText::ToBytes(text);
}

FileChooserRequest ChooserRequest(bool save, const char* defaultExtension, const char* fileName,
                                  const char* filter, const QString& initialFolder) {
    FileChooserRequest request;
    request.save = save;
    request.defaultExtension = QString::fromLatin1(defaultExtension);
    request.fileName = QString::fromLatin1(fileName);
    request.filter = QString::fromLatin1(filter);
    request.initialFolder = initialFolder;
    request.flags = kChooserFlags;
    return request;
}

FileChooserRequest ProjectChooserRequest(bool save) {
    return ChooserRequest(save, kProjectExtension, "", kProjectFilter, QString());
}

// A message of the lower layers as a sentence: its first letter in capitals.
QString AsSentence(const std::string& text) {
    QString sentence = FromLocal(text);
    if (!sentence.isEmpty())
        sentence[0] = sentence[0].toUpper();
    return sentence;
}

QString FileErrorText(const char* format, const QString& path, const QFile& file) {
    return QString::fromLatin1(format).arg(path, file.errorString().left(kMaxFileErrorLength));
}

// A command line as the shell gets it: a quoted first part, or the text up to the first
// blank, is the file; what follows is the parameters.
std::pair<QString, QString> SplitCommandLine(const QString& commandLine) {
    const QChar quote = QLatin1Char('"');
    const QChar blank = QLatin1Char(' ');
    if (commandLine.startsWith(quote)) {
        const qsizetype closing = commandLine.indexOf(quote, 1);
        // Without a closing quote, the rest is the file.
        if (closing < 0)
            return {commandLine.mid(1), QString()};
        return {commandLine.mid(1, closing - 1), commandLine.mid(closing + 1)};
    }
    const qsizetype firstBlank = commandLine.indexOf(blank);
    if (firstBlank < 0)
        return {commandLine, QString()};
    return {commandLine.left(firstBlank), commandLine.mid(firstBlank + 1)};
}

QString InFolder(const QString& folder, const char* fileName) {
    return folder + QLatin1Char(kPathSeparator) + QLatin1String(fileName);
}

// The check state of a three-state box as the integer the window keeps: 0, 1 checked, 2.
int32_t FromCheckState(Qt::CheckState state) {
    switch (state) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    case Qt::Unchecked:
        break;
    }
    return 0;
}

Qt::CheckState ToCheckState(int32_t value) {
    switch (value) {
    case 1:
        return Qt::Checked;
    case 2:
        return Qt::PartiallyChecked;
    default:
        return Qt::Unchecked;
    }
}

QString ToolTipOf(int id) {
    for (const SControlTemplate& control : Controls()) {
        if (control.id == id && control.tooltip != nullptr)
            return QString::fromUtf8(control.tooltip);
    }
    return QString();
}

QFont WindowFont() {
    QFont font(QString::fromLatin1(kFontFamily), kFontPointSize);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

} // namespace

CProjectManagerDlg::CProjectManagerDlg(const SWindowServices& services, QWidget* parent)
    : QDialog(parent), m_services(services),
      m_hIcon(SvgImage::Icon(QStringLiteral(":/brevane/icon.svg"), {16, 24, 32, 48, 64, 256})) {
    setWindowTitle(QString::fromLatin1(kCaption));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFont(WindowFont());
    const CDialogUnits units(font());
    setFixedSize(units.ToPixelsX(kWidth), units.ToPixelsY(kHeight));
    m_controls = CDialogBuilder(*this, m_services.profile).Build(Controls());
    ConnectHandlers();
}

CProjectManagerDlg::~CProjectManagerDlg() {
    m_services.profile.SetAutoload(m_bAutoload ? 1 : 0);
    StopStatusTimer();
}

int CProjectManagerDlg::DoModal() {
    OnInitDialog();
    const int result = exec();
    // The window is gone once the modal run ends, and its timer with it.
    StopStatusTimer();
    return result;
}

bool CProjectManagerDlg::UpdateData(bool saveAndValidate) {
    return Transfer(saveAndValidate, true);
}

bool CProjectManagerDlg::Transfer(bool save, bool reportRefusal) {
    AttachControls();
    ExchangeThreeState(save, kServiceStatus, m_nServiceStatus);
    ExchangeText(save, kFtpServer, m_strFTPServer);
    ExchangeText(save, kPassword, m_strPassword);
    ExchangeCheck(save, kPasv, m_bPASV);
    ExchangeCheck(save, kPreconfig, m_bPreconfig);
    ExchangeText(save, kProxyServer, m_strProxyServer);
    ExchangeText(save, kServerFolder, m_strServerFolder);
    if (!ExchangeUnsigned(save, kTimeout, m_nTimeout, reportRefusal))
        return false;
    ExchangeCheck(save, kUseProxy, m_bUseProxy);
    ExchangeText(save, kUsername, m_strUsername);
    ExchangeCheck(save, kAutoload, m_bAutoload);
    return true;
}

void CProjectManagerDlg::WinHelp(uint32_t /*context*/, uint32_t /*command*/) {
    ShellRequest request;
    request.verb = "open";
    request.file = m_services.system.ProgramFolder() + "Brevane.chm";
    request.showMode = ShellShowMode::Restore;
    m_services.shell.Execute(request);
}

bool CProjectManagerDlg::LoadProjectFile(const QString& path) {
    QByteArray content;
    if (!ReadProjectText(path, content))
        return false;
    // Values the file does not hold stay as the fields show them now.
    TakePathSnapshots();
    SProject project = HeldProject();
    if (!ProjectFile::Load(content.toStdString(), project)) {
        m_services.prompts.MessageBox(this, QString::fromLatin1(kNotAProject).arg(path), QString(),
                                      PromptButtons::Ok);
        return false;
    }
    HoldProject(project);
    m_cboScriptFile->SetText(m_strScriptFile);
    m_cboIniPath->SetText(m_strIniPath);
    m_cboLogPath->SetText(m_strLogPath);
    m_cboScriptURL->SetText(m_strScriptURL);
    UpdateData(false);
    return true;
}

bool CProjectManagerDlg::OpenShellCommand(const QString& commandLine) {
    const auto [file, parameters] = SplitCommandLine(commandLine);
    ShellRequest request;
    request.verb = "open";
    request.file = ToLocal(file);
    request.parameters = ToLocal(parameters);
    request.showMode = ShellShowMode::Show;
    if (m_services.shell.Execute(request) > kShellLastFailure)
        return true;
    m_services.prompts.MessageBox(this, QString::fromLatin1(kShellRefused).arg(commandLine),
                                  QString(), PromptButtons::Ok);
    return false;
}

void CProjectManagerDlg::accept() {
    CloseWindow();
}

void CProjectManagerDlg::reject() {
    CloseWindow();
}

void CProjectManagerDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QDialog::keyPressEvent(event);
        return;
    }
    // Enter presses a focused push button; anywhere else it is the window's OK.
    if (auto* button = qobject_cast<QPushButton*>(focusWidget()))
        button->click();
    else
        accept();
}

void CProjectManagerDlg::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_nTimerID)
        OnTimer(event->timerId());
    QDialog::timerEvent(event);
}

bool CProjectManagerDlg::OnInitDialog() {
    UpdateData(false);
    setWindowIcon(m_hIcon);
    const QString windowsDirectory = FromLocal(m_services.system.WindowsDirectory());
    const QString systemDirectory = FromLocal(m_services.system.SystemDirectory());
    LoadHistories(windowsDirectory, systemDirectory);
    UpdateData(false);
    ShowUpdateFunction();
    RegisterToolTips();
    LoadLastProject();
    m_nTimerID = startTimer(kStatusTimerPeriodMs);
    GreetOnFirstRun();
    return true;
}

void CProjectManagerDlg::OnQuit() {
    CloseWindow();
}

void CProjectManagerDlg::OnAutoload() {
    UpdateData(true);
}

void CProjectManagerDlg::OnTestScript() {
    // A timeout the transfer refuses does not stop the test.
    UpdateData(true);
    TakePathSnapshots();
    if (Control<QRadioButton>(kUseTarvon)->isChecked())
        m_services.updateLibrary.Tarvon(ToLocal(m_strScriptURL));
    else
        m_services.updateLibrary.TarvonWait(ToLocal(m_strScriptURL), kTestScriptTimeoutMs);
}

void CProjectManagerDlg::OnNewProject() {
    if (m_services.prompts.MessageBox(this, QString::fromLatin1(kStartNewProject), QString(),
                                      PromptButtons::YesNo) != PromptAnswer::Yes)
        return;
    m_strScriptURL.clear();
    m_strScriptFile.clear();
    // The texts only: the histories keep their entries.
    m_cboScriptURL->setEditText(m_strScriptURL);
    m_cboScriptFile->setEditText(m_strScriptFile);
    m_lstUpload->clear();
    UpdateData(false);
}

void CProjectManagerDlg::OnLoadProject() {
    const std::optional<QString> path = ChooseFile(ProjectChooserRequest(false));
    if (path && LoadProjectFile(*path))
        m_services.profile.SetLastProject(*path);
}

void CProjectManagerDlg::OnSaveProject() {
    // A timeout the transfer refuses does not stop the save.
    UpdateData(true);
    TakePathSnapshots();
    const std::string text = ProjectFile::Save(HeldProject());
    const std::optional<QString> path = ChooseFile(ProjectChooserRequest(true));
    if (!path)
        return;
    // Written beside the target and renamed over it, so a failure keeps the old project.
    std::string error;
    if (!AtomicFile::Replace(QFile::encodeName(*path).toStdString(), text, error)) {
        ShowFileError(AsSentence(error));
        return;
    }
    m_services.profile.SetLastProject(*path);
}

void CProjectManagerDlg::OnBrowseIni() {
    const QString windowsDirectory = FromLocal(m_services.system.WindowsDirectory());
    UpdateData(true);
    const std::optional<QString> path =
        ChooseFile(ChooserRequest(false, "*.ini", kIniFileName, kIniFilter, windowsDirectory));
    if (!path)
        return;
    m_strIniPath = *path;
    m_cboIniPath->SetText(m_strIniPath);
    UpdateData(false);
}

void CProjectManagerDlg::OnBrowseLog() {
    UpdateData(true);
    const QString programFolder = FromLocal(m_services.system.ProgramFolder());
    const std::optional<QString> path =
        ChooseFile(ChooserRequest(false, "*.log", kLogFileName, kLogFilter, programFolder));
    if (!path)
        return;
    m_strLogPath = *path;
    m_cboLogPath->SetText(m_strLogPath);
    UpdateData(false);
}

void CProjectManagerDlg::OnBrowseScript() {
    UpdateData(true);
    const std::optional<QString> path =
        ChooseFile(ChooserRequest(false, "*.txt", "", kScriptFilter, QString()));
    if (!path)
        return;
    // No transfer to the controls follows: what the user typed elsewhere stays as typed.
    m_strScriptFile = *path;
    m_cboScriptFile->SetText(m_strScriptFile);
}

void CProjectManagerDlg::OnOpenIni() {
    OpenPath(*m_cboIniPath, m_strIniPath);
}

void CProjectManagerDlg::OnOpenLog() {
    OpenPath(*m_cboLogPath, m_strLogPath);
}

void CProjectManagerDlg::OnOpenScript() {
    OpenPath(*m_cboScriptFile, m_strScriptFile);
}

void CProjectManagerDlg::OnExplore() {
    ShellRequest request;
    request.ownerWindow = reinterpret_cast<void*>(winId());
    request.verb = "explore";
    request.directory = m_services.system.ProgramFolder();
    request.showMode = ShellShowMode::Normal;
    m_services.shell.Execute(request);
}

void CProjectManagerDlg::CloseWindow() {
    m_services.profile.SetUseTarvonFn(Control<QRadioButton>(kUseTarvon)->isChecked() ? 1 : 0);
    if (UpdateData(true))
        done(QDialog::Accepted);
}

void CProjectManagerDlg::AttachControls() {
    if (m_bAttached)
        return;
    m_cboScriptURL = Control<CHistoryComboBox>(kScriptURL);
    m_cboLogPath = Control<CHistoryComboBox>(kLogPath);
    m_cboIniPath = Control<CHistoryComboBox>(kIniPath);
    m_cboScriptFile = Control<CHistoryComboBox>(kScriptFile);
    m_lstUpload = Control<CSortedListBox>(kUploadList);
    m_bAttached = true;
}

void CProjectManagerDlg::ConnectHandlers() {
    connect(Control<QPushButton>(kQuit), &QPushButton::clicked, this, &CProjectManagerDlg::OnQuit);
    connect(Control<QPushButton>(kTestScript), &QPushButton::clicked, this,
            &CProjectManagerDlg::OnTestScript);
    connect(Control<QCheckBox>(kAutoload), &QCheckBox::clicked, this,
            &CProjectManagerDlg::OnAutoload);
    connect(Control<QCheckBox>(kServiceStatus), &QCheckBox::clicked, this,
            &CProjectManagerDlg::OnServiceStatus);
    const std::pair<int, void (CProjectManagerDlg::*)()> buttons[] = {
        {kNewProject, &CProjectManagerDlg::OnNewProject},
        {kLoadProject, &CProjectManagerDlg::OnLoadProject},
        {kSaveProject, &CProjectManagerDlg::OnSaveProject},
        {kBrowseIni, &CProjectManagerDlg::OnBrowseIni},
        {kBrowseLog, &CProjectManagerDlg::OnBrowseLog},
        {kBrowseScript, &CProjectManagerDlg::OnBrowseScript},
        {kOpenIni, &CProjectManagerDlg::OnOpenIni},
        {kOpenLog, &CProjectManagerDlg::OnOpenLog},
        {kOpenScript, &CProjectManagerDlg::OnOpenScript},
        {kExplore, &CProjectManagerDlg::OnExplore},
        {kAddFiles, &CProjectManagerDlg::OnAddFiles},
        {kDeleteFile, &CProjectManagerDlg::OnDeleteFile},
        {kUpload, &CProjectManagerDlg::OnUpload},
    };
    for (const auto& [id, handler] : buttons)
        connect(Control<QPushButton>(id), &QPushButton::clicked, this, handler);
    auto* uploadList = Control<CSortedListBox>(kUploadList);
    connect(uploadList, &QListWidget::itemDoubleClicked, this, &CProjectManagerDlg::OnDeleteFile);
    connect(uploadList, &CSortedListBox::UrlsDropped, this, &CProjectManagerDlg::OnDropFiles);
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setContext(Qt::ApplicationShortcut);
    connect(help, &QShortcut::activated, this, [this] { WinHelp(kHelpContext, kHelpCommand); });
}

void CProjectManagerDlg::LoadHistories(const QString& windowsDirectory,
                                       const QString& systemDirectory) {
    m_strScriptURL = m_cboScriptURL->LoadHistory(kHistorySection, QStringLiteral("ScriptURL"));
    m_strScriptFile = m_cboScriptFile->LoadHistory(kHistorySection, QStringLiteral("ScriptFile"));
    m_strIniPath = m_cboIniPath->LoadHistory(kHistorySection, QStringLiteral("IniFile"));
    if (m_strIniPath.isEmpty()) {
        m_strIniPath = InFolder(windowsDirectory, "TarvonSvc4.ini");
        m_cboIniPath->SetText(m_strIniPath);
    }
    m_strLogPath = m_cboLogPath->LoadHistory(kHistorySection, QStringLiteral("Logfile"));
    if (m_strLogPath.isEmpty()) {
        m_strLogPath = InFolder(systemDirectory, "TarvonSvc4.log");
        m_cboLogPath->SetText(m_strLogPath);
    }
}

void CProjectManagerDlg::ShowUpdateFunction() {
    const int useTarvon = m_services.profile.UseTarvonFn();
    Control<QRadioButton>(kUseTarvon)->setChecked(useTarvon != 0);
    Control<QRadioButton>(kUseTarvonWait)->setChecked(useTarvon == 0);
}

void CProjectManagerDlg::RegisterToolTips() {
    m_ToolTip = new CToolTipControl(this);
    m_ToolTip->SetMaxTipWidth(kMaxTipWidth);
    m_ToolTip->SetAutoPopDelay(kTipShowTimeMs);
    m_ToolTip->Activate(true);
    for (int id : ToolTipOrder())
        m_ToolTip->AddTool(m_controls.value(id), ToolTipOf(id));
}

void CProjectManagerDlg::LoadLastProject() {
    m_bAutoload = m_services.profile.Autoload() != 0;
    Control<QCheckBox>(kAutoload)->setChecked(m_bAutoload);
    if (!m_bAutoload)
        return;
    const QString lastProject = m_services.profile.LastProject();
    if (!lastProject.isEmpty())
        LoadProjectFile(lastProject);
}

void CProjectManagerDlg::GreetOnFirstRun() {
    if (m_services.profile.FirstRun() != 0)
        return;
    const QString user = FromLocal(m_services.system.LoginName());
    m_services.prompts.MessageBox(this, QString::fromLatin1(kGreeting).arg(user),
                                  QString::fromLatin1(kGreetingCaption), PromptButtons::Ok);
    WinHelp(kHelpContext, kHelpCommand);
    m_services.profile.SetFirstRun(1);
}

void CProjectManagerDlg::StopStatusTimer() {
    if (m_nTimerID == 0)
        return;
    killTimer(m_nTimerID);
    m_nTimerID = 0;
}

void CProjectManagerDlg::TakePathSnapshots() {
    m_strScriptFile = m_cboScriptFile->currentText();
    m_strIniPath = m_cboIniPath->currentText();
    m_strLogPath = m_cboLogPath->currentText();
    m_strScriptURL = m_cboScriptURL->currentText();
}

bool CProjectManagerDlg::ReadProjectText(const QString& path, QByteArray& content) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ShowFileError(FileErrorText(kCannotOpen, path, file));
        return false;
    }
    // Files of the system report no size; their length is checked as they are read.
    const auto tooLarge = [&] {
        m_services.prompts.MessageBox(this, QString::fromLatin1(kTooLarge).arg(path), QString(),
                                      PromptButtons::Ok);
        return false;
    };
    if (file.size() > kMaxProjectFileBytes)
        return tooLarge();
    content.clear();
    content.reserve(file.size());
    QByteArray chunk(kReadChunkBytes, Qt::Uninitialized);
    qint64 count = 0;
    while ((count = file.read(chunk.data(), chunk.size())) > 0) {
        content.append(chunk.constData(), count);
        if (content.size() > kMaxProjectFileBytes)
            return tooLarge();
    }
    if (count < 0) {
        ShowFileError(FileErrorText(kCannotRead, path, file));
        return false;
    }
    return true;
}

void CProjectManagerDlg::ShowFileError(const QString& text) {
    m_services.prompts.MessageBox(this, text, QString(), PromptButtons::Ok);
}

std::optional<QString> CProjectManagerDlg::ChooseFile(const FileChooserRequest& request) {
    return m_services.prompts.ChooseFile(this, request);
}

void CProjectManagerDlg::OpenPath(const CHistoryComboBox& field, QString& snapshot) {
    snapshot = field.currentText();
    const QChar quote = QLatin1Char('"');
    OpenShellCommand(quote + snapshot + quote);
}

SProject CProjectManagerDlg::HeldProject() const {
    SProject project;
    project.scriptFile = ToLocal(m_strScriptFile);
    project.iniPath = ToLocal(m_strIniPath);
    project.logPath = ToLocal(m_strLogPath);
    project.scriptURL = ToLocal(m_strScriptURL);
    project.ftpServer = ToLocal(m_strFTPServer);
    project.username = ToLocal(m_strUsername);
    project.password = ToLocal(m_strPassword);
    project.pasv = m_bPASV;
    project.preconfig = m_bPreconfig;
    project.proxyServer = ToLocal(m_strProxyServer);
    project.serverFolder = ToLocal(m_strServerFolder);
    project.timeout = m_nTimeout;
    project.useProxy = m_bUseProxy;
    const QStringList files = m_lstUpload->Strings();
    project.files.reserve(static_cast<size_t>(files.size()));
    for (const QString& file : files)
        project.files.push_back(ToLocal(file));
    return project;
}

void CProjectManagerDlg::HoldProject(const SProject& project) {
    m_strScriptFile = FromLocal(project.scriptFile);
    m_strIniPath = FromLocal(project.iniPath);
    m_strLogPath = FromLocal(project.logPath);
    m_strScriptURL = FromLocal(project.scriptURL);
    m_strFTPServer = FromLocal(project.ftpServer);
    m_strUsername = FromLocal(project.username);
    m_strPassword = FromLocal(project.password);
    m_bPASV = project.pasv;
    m_bPreconfig = project.preconfig;
    m_strProxyServer = FromLocal(project.proxyServer);
    m_strServerFolder = FromLocal(project.serverFolder);
    m_nTimeout = project.timeout;
    m_bUseProxy = project.useProxy;
    QStringList files;
    files.reserve(static_cast<qsizetype>(project.files.size()));
    for (const std::string& file : project.files)
        files.append(FromLocal(file));
    m_lstUpload->ResetContent(std::move(files));
}

void CProjectManagerDlg::ExchangeText(bool save, int id, QString& value) {
    auto* edit = Control<QLineEdit>(id);
    if (save)
        value = edit->text();
    else
        edit->setText(value);
}

void CProjectManagerDlg::ExchangeCheck(bool save, int id, bool& value) {
    auto* box = Control<QAbstractButton>(id);
    if (save)
        value = box->isChecked();
    else
        box->setChecked(value);
}

void CProjectManagerDlg::ExchangeThreeState(bool save, int id, int32_t& value) {
    auto* box = Control<QCheckBox>(id);
    if (save)
        value = FromCheckState(box->checkState());
    else
        box->setCheckState(ToCheckState(value));
}

bool CProjectManagerDlg::ExchangeUnsigned(bool save, int id, uint32_t& value, bool reportRefusal) {
    auto* edit = Control<QLineEdit>(id);
    if (!save) {
        edit->setText(QString::number(value));
        return true;
    }
    bool isNumber = false;
    const uint number = edit->text().toUInt(&isNumber, 10);
    if (!isNumber) {
        if (reportRefusal) {
            m_services.prompts.MessageBox(this, QString::fromLatin1(kNotAnInteger), QString(),
                                          PromptButtons::Ok);
            edit->setFocus();
            edit->selectAll();
        }
        return false;
    }
    value = number;
    return true;
}
