// Language switcher published to QML as `qmlLanguage`: holds the interface language, which the
// language box shows and sets, and swaps the translation catalogue that the engine's qsTr texts
// are looked up in.
#pragma once

#include <QObject>
#include <QTranslator>

class QGuiApplication;
class QQmlEngine;

class QmlLanguage : public QObject
{
    Q_OBJECT
    // 0 English, 1 Simplified Chinese: from start the one the user chose in an earlier run or on
    // the command line, else the system's (1 for a Chinese locale of any script or country, 0 for
    // every other language).
    Q_PROPERTY(int language READ language WRITE setLanguage NOTIFY languageChanged)

public:
    // `startupTranslator` is the translator that start-up installed for the language the tool
    // starts in (or nullptr when it installed none); choosing Simplified Chinese takes it out of
    // the lookup. `startLanguage` is that language's index.
    QmlLanguage(QGuiApplication *application, QQmlEngine *engine, QTranslator *startupTranslator,
                int startLanguage);

    int language() const { return m_language; }
    // 1 is Simplified Chinese, every other index English.
    void setLanguage(int indexOfLanguage);

signals:
    void languageChanged();

private:
    QGuiApplication *m_application;
    QQmlEngine *m_engine;
    QTranslator *m_startupTranslator;
    int m_language;
    // The chosen language's catalogue stays installed until the next choice, so texts evaluated
    // after the switch (late bindings, the engine's own retranslation on LanguageChange) keep it.
    QTranslator m_chosenTranslator;
};
