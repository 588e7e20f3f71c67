#include "recordfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <filesystem>
#include <system_error>

namespace {
// Unbuffered, so that the writer sees each write's outcome at once (see RecordWriter).
constexpr QIODevice::OpenMode Mode = QIODevice::WriteOnly | QIODevice::Unbuffered;

// QDir::mkpath says only that it failed; the file opened next would then fail with "No such file
// or directory" whatever the cause, so the folder is made here with the system's reason, in the
// words QFile uses for the same error.
bool makeFolder(const QString &folder, QString &error)
{
    std::error_code code;
    std::filesystem::create_directories(std::filesystem::u8path(folder.toStdString()), code);
    if (code)
        error = qt_error_string(code.value());
    return !code;
}
} // namespace

std::unique_ptr<QFile> recordfile::createNamedFor(const QString &folder, const QDateTime &time,
                                                  const QString &extension, QString &error)
{
    const QString clean = QDir::cleanPath(folder);
    if (!makeFolder(clean, error))
        return nullptr;
    const QString stem = QDir(clean).filePath(QStringLiteral("gimbal-") +
                                              time.toString(QStringLiteral("yyyyMMdd-HHmmss")));
    for (int n = 1;; ++n) {
        auto file = std::make_unique<QFile>(
            n == 1 ? QStringLiteral("%1.%2").arg(stem, extension)
                   : QStringLiteral("%1-%2.%3").arg(stem).arg(n).arg(extension));
        // Created only when no file has the name, so that another recording, or another program,
        // never loses its file to this one.
        if (file->open(Mode | QIODevice::NewOnly))
            return file;
        if (!file->exists()) {
            error = file->errorString();
            return nullptr;
        }
    }
}

std::unique_ptr<QFile> recordfile::replace(const QString &path, QString &error)
{
    auto file = std::make_unique<QFile>(path);
    if (file->open(Mode | QIODevice::Truncate))
        return file;
    error = file->errorString();
    return nullptr;
}
