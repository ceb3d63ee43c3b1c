#include "TempProfile.h"

#include <QSettings>
#include <QStandardPaths>

CTempProfile::CTempProfile() {
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_folder.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_folder.path());
}
