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

std::vector<std::unique_ptr<QFile>> recordfile::createNamedFor(const QString &folder,
                                                               const QDateTime &time,
                                                               const QStringList &extensions,
                                                               QString &error)
{
    const QString clean = QDir::cleanPath(folder);
    if (!makeFolder(clean, error))
        return {};
    const QString stem = QDir(clean).filePath(QStringLiteral("gimbal-") +
                                              time.toString(QStringLiteral("yyyyMMdd-HHmmss")));
    for (int n = 1;; ++n) {
        const QString name = n == 1 ? stem : QStringLiteral("%1-%2").arg(stem).arg(n);
        std::vector<std::unique_ptr<QFile>> files;
        for (const QString &extension : extensions) {
            auto file = std::make_unique<QFile>(QStringLiteral("%1.%2").arg(name, extension));
            // Created only when no file has the name, so that another recording, or another
            // program, never loses its file to this one.
            if (file->open(Mode | QIODevice::NewOnly)) {
                files.push_back(std::move(file));
                continue;
            }
            const bool taken = file->exists();
            if (!taken)
                error = file->errorString();
            // The files made for this name are empty and nobody's yet: the name goes whole.
            for (const std::unique_ptr<QFile> &made : files)
                made->remove();
            files.clear();
            if (!taken)
                return {};
            break;
        }
        if (!files.empty())
            return files;
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
