// A settings file as a user leaves it after editing it by hand: the text is written as it is, in
// a folder of its own that goes with the object, and read back through QSettings as the tool
// reads its own.
#pragma once

#include <QByteArray>
#include <QSettings>
#include <QTemporaryDir>

#include <memory>

class HandWrittenSettings
{
public:
    explicit HandWrittenSettings(const QByteArray &text);

    // False when the file could not be written.
    bool isValid() const { return m_store != nullptr; }
    QSettings *store() const { return m_store.get(); }

private:
    QTemporaryDir m_folder;
    std::unique_ptr<QSettings> m_store;
};
