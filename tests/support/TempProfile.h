#pragma once

#include <QString>
#include <QTemporaryDir>

// Points every profile of this process at a fresh, empty temporary folder for its lifetime.
class CTempProfile {
public:
    CTempProfile();

    CTempProfile(const CTempProfile&) = delete;
    CTempProfile& operator=(const CTempProfile&) = delete;

    // The folder the profile files live in.
    QString Folder() const { return m_folder.path(); }

private:
    QTemporaryDir m_folder;
};
