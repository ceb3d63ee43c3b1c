#include "platform/Profile.h"

#include "platform/AnsiText.h"
#include "project/TextEncoding.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

const QString kCompanyKey = QStringLiteral("Quilldrake");

// The profile key of this program: its executable's name without folder and extension.
QString ExecutableBaseName() {
    if (QCoreApplication::instance() == nullptr)
        return QCoreApplication::applicationName();
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

QString Key(const QString& section, const QString& entry) {
    return section + QLatin1Char('/') + entry;
}

} // namespace

CProfile::CProfile()
    : m_settings(QSettings::NativeFormat, QSettings::UserScope, kCompanyKey, ExecutableBaseName()) {
}

QString CProfile::GetString(const QString& section, const QString& entry,
                            const QString& defaultValue) const {
    const QVariant value = m_settings.value(Key(section, entry));
    if (!value.isValid())
        return defaultValue;
    // An INI line holding commas reads back as a list; keep its text as it was.
    if (value.userType() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    // Texts that are not UTF-8 are kept as their bytes.
    if (value.userType() == QMetaType::QByteArray)
        return CAnsiText::FromBytes(value.toByteArray().toStdString());
    return value.toString();
}

void CProfile::WriteString(const QString& section, const QString& entry, const QString& value) {
    m_settings.setValue(Key(section, entry), Stored(value));
    m_settings.sync();
}

QVariant CProfile::Stored(const QString& value) {
#ifndef _WIN32
    // An INI file holds UTF-8; other bytes, read from a file of another code page, are
    // written as bytes so that they come back unchanged.
    const std::string bytes = CAnsiText::ToBytes(value);
    if (!IsValidUtf8(bytes))
        return QByteArray::fromStdString(bytes);
#endif
    return value;
}

int CProfile::GetInt(const QString& section, const QString& entry, int defaultValue) const {
    bool isNumber = false;
    const int value = m_settings.value(Key(section, entry)).toInt(&isNumber);
    return isNumber ? value : defaultValue;
}

void CProfile::WriteInt(const QString& section, const QString& entry, int value) {
    // A plain int keeps the value a 32-bit number (a DWORD in the registry).
    m_settings.setValue(Key(section, entry), QVariant(static_cast<qint32>(value)));
    m_settings.sync();
}

int CProfile::UseTarvonFn() const {
    return GetInt(QStringLiteral("Settings"), QStringLiteral("UseTarvonFn"), 1);
}

void CProfile::SetUseTarvonFn(int value) {
    WriteInt(QStringLiteral("Settings"), QStringLiteral("UseTarvonFn"), value);
}

int CProfile::FirstRun() const {
    return GetInt(QStringLiteral("Settings"), QStringLiteral("FirstRun"), 0);
}

void CProfile::SetFirstRun(int value) {
    WriteInt(QStringLiteral("Settings"), QStringLiteral("FirstRun"), value);
}

int CProfile::Autoload() const {
    return GetInt(QStringLiteral("Prefs"), QStringLiteral("Autoload"), 0);
}

void CProfile::SetAutoload(int value) {
    WriteInt(QStringLiteral("Prefs"), QStringLiteral("Autoload"), value);
}

QString CProfile::LastProject() const {
    return GetString(QStringLiteral("Paths"), QStringLiteral("Last Project"));
}

void CProfile::SetLastProject(const QString& path) {
    WriteString(QStringLiteral("Paths"), QStringLiteral("Last Project"), path);
}

QString CProfile::FtpCaFile() const {
    return GetString(QStringLiteral("FTP"), QStringLiteral("CAFile"));
}

QString CProfile::FtpTrustedHostKey(const QString& hostAndPort) const {
    return GetString(QStringLiteral("FTP"), QStringLiteral("HostKey ") + hostAndPort);
}

void CProfile::SetFtpTrustedHostKey(const QString& hostAndPort, const QString& fingerprint) {
    WriteString(QStringLiteral("FTP"), QStringLiteral("HostKey ") + hostAndPort, fingerprint);
}
