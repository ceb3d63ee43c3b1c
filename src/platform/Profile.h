#pragma once

#include <QSettings>
#include <QString>

// The per-user profile, under the company key "Quilldrake" and the executable's base name.
// It knows every value the program keeps, its section and its default.
class CProfile {
public:
    // The profile of this application; QSettings::setPath redirects it in tests.
    CProfile();

    // Any string value; the history lists use this with their own names.
    QString GetString(const QString& section, const QString& entry,
                      const QString& defaultValue = QString()) const;
    void WriteString(const QString& section, const QString& entry, const QString& value);
    int GetInt(const QString& section, const QString& entry, int defaultValue) const;
    void WriteInt(const QString& section, const QString& entry, int value);

    // Settings/UseTarvonFn: 1 for Tarvon(), 0 for TarvonWait(); default 1.
    int UseTarvonFn() const;
    void SetUseTarvonFn(int value);
    // Settings/FirstRun: 0 until the greeting was shown; default 0.
    int FirstRun() const;
    void SetFirstRun(int value);
    // Prefs/Autoload: the auto-load box; default 0.
    int Autoload() const;
    void SetAutoload(int value);
    // Paths/Last Project: the last project loaded or saved; default empty.
    QString LastProject() const;
    void SetLastProject(const QString& path);
    // FTP/CAFile: certificate authorities trusted for FTPS besides the system's; default empty.
    QString FtpCaFile() const;
    // FTP/HostKey <host:port>: the SSH host key fingerprint the user chose to trust for a
    // server its known hosts file does not list; default empty.
    QString FtpTrustedHostKey(const QString& hostAndPort) const;
    void SetFtpTrustedHostKey(const QString& hostAndPort, const QString& fingerprint);

private:
    // What the settings store holds for a string value.
    static QVariant Stored(const QString& value);

    QSettings m_settings;
};
