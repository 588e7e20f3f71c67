// The tool's objects behind the main window: the QML engine, the start-up translator for the
// system language, the language switcher and the controller, published to QML under the names the
// window uses. Declared in creation order, so they are destroyed in reverse: the controller first,
// the engine last.
#pragma once

#include "qmllanguage.h"
#include "ravik.h"

#include <QQmlApplicationEngine>
#include <QTranslator>

#include <optional>

class QGuiApplication;

class Wiring
{
public:
    // The language comes from the default locale (`QLocale()`) as it stands when this is built.
    explicit Wiring(QGuiApplication &app);
    // Takes the window down first, so that none of its bindings is evaluated again with the
    // controller or the switcher already gone.
    ~Wiring();
    Wiring(const Wiring &) = delete;
    Wiring &operator=(const Wiring &) = delete;

    QQmlApplicationEngine &engine() { return m_engine; }
    Ravik &controller() { return *m_ravik; }

private:
    QQmlApplicationEngine m_engine;
    QTranslator m_translator;
    QmlLanguage m_qmlLanguage;
    // Built in the constructor's body, once the switcher is published.
    std::optional<Ravik> m_ravik;
};
