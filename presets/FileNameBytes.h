#pragma once
// A file name as ReadRegularFile takes it: the system's bytes (UTF-8 on Windows).
// Header only, so that the Qt Core tools share it without the windows.

#include <QFile>
#include <QString>

#include <string>

inline std::string FileNameBytes(const QString& fileName) {
#ifdef Q_OS_WIN
    return fileName.toUtf8().toStdString();
#else
    return QFile::encodeName(fileName).toStdString();
#endif
}
