// The tool's objects behind the main window: the QML engine, the start-up translator, the
// language switcher, the controller with its link status, the v2 gimbal link and the angles shown,
// the parameters of the components on the link and the Parameters view's state,
// the list of messages, the keyboard and gamepad input, the plot's history, the recorder, the port
// box's choice and the filter between the controller's messages and their list, published to QML
// under the names the window uses. Declared in creation order, so they are destroyed in reverse:
// the controller first, the engine last.
#pragma once

#include "angledisplay.h"
#include "baudrate.h"
#include "commandline.h"
#include "gimbalv2link.h"
#include "inputcontrol.h"
#include "linksettings.h"
#include "messagemodel.h"
#include "noticefilter.h"
#include "paramclient.h"
#include "parampanel.h"
#include "portchoice.h"
#include "qmllanguage.h"
#include "ravik.h"
#include "recorder.h"
#include "telemetryhistory.h"
#include "valuetext.h"

#include <QQmlApplicationEngine>
#include <QTranslator>

#include <optional>

class QGuiApplication;
class QSettings;

class Wiring
{
public:
    // `store` keeps the port, baud rate and language between runs (nullptr: nothing is
    // remembered, and the language comes from the default locale as it stands when this is
    // built). `options` come from the command line and win over what `store` remembers for this
    // run; a port or a log to replay given there is opened at once, and a recording started.
    explicit Wiring(QGuiApplication &app, QSettings *store = nullptr,
                    const StartOptions &options = {});
    // Takes the window down first, so that none of its bindings is evaluated again with the
    // controller or the switcher already gone.
    ~Wiring();
    Wiring(const Wiring &) = delete;
    Wiring &operator=(const Wiring &) = delete;

    QQmlApplicationEngine &engine() { return m_engine; }
    Ravik &controller() { return *m_ravik; }
    MessageModel &messages() { return m_messages; }
    InputControl &input() { return *m_input; }
    GimbalV2Link &v2Link() { return *m_v2; }
    AngleDisplay &angleDisplay() { return *m_angles; }
    Recorder &recorder() { return *m_recorder; }
    ParamPanel &paramPanel() { return *m_paramPanel; }

private:
    // Builds the v2 link with the tool's ids and protocol choice, the angles shown, and the
    // parameter client under the same ids.
    void publishV2(const StartOptions &options, QSettings *store);

    QQmlApplicationEngine m_engine;
    QTranslator m_translator;
    LinkSettings m_settings;
    // The remembered or command-line language, or -1 for the system's.
    int m_chosenLanguage;
    QmlLanguage m_qmlLanguage;
    MessageModel m_messages;
    ValueText m_valueText;
    BaudRate m_baudRate;
    // Built in the constructor's body, once the switcher is published.
    std::optional<Ravik> m_ravik;
    std::optional<GimbalV2Link> m_v2;
    std::optional<AngleDisplay> m_angles;
    std::optional<ParamClient> m_params;
    std::optional<ParamPanel> m_paramPanel;
    std::optional<InputControl> m_input;
    std::optional<TelemetryHistory> m_history;
    std::optional<Recorder> m_recorder;
    std::optional<PortChoice> m_portChoice;
    std::optional<NoticeFilter> m_notices;
};
