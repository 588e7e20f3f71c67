#include "wiring.h"

#include "linkstatus.h"
#include "paramsources.h"
#include "qmltypes.h"
#include "replaylink.h"
#include "serial.h"
#include "serialevent.h"
#include "startuplanguage.h"

#include <QFont>
#include <QGuiApplication>
#include <QQmlContext>
#include <QQmlEngine>

namespace {
const QString DefaultBaud = QStringLiteral("115200");

int startLanguage(int chosen)
{
    return chosen >= 0 ? chosen : systemLanguage();
}
} // namespace

Wiring::Wiring(QGuiApplication &app, QSettings *store, const StartOptions &options)
    : m_settings(store),
      m_chosenLanguage(options.language >= 0 ? options.language : m_settings.language()),
      m_qmlLanguage(&app, &m_engine,
                    &installStartupCatalogue(m_translator, startLanguage(m_chosenLanguage)),
                    startLanguage(m_chosenLanguage))
{
    // The interface's one font family; its labels set only their sizes.
    QFont font = QGuiApplication::font();
    font.setFamily(QStringLiteral("微软雅黑"));
    QGuiApplication::setFont(font);

    QQmlContext *context = m_engine.rootContext();
    context->setContextProperty(QStringLiteral("qmlLanguage"), &m_qmlLanguage);
    m_ravik.emplace();
    m_ravik->setLanguage(m_qmlLanguage.language());
    app.installNativeEventFilter(m_ravik->watcher());
    context->setContextProperty(QStringLiteral("Ravik"), &*m_ravik);
    context->setContextProperty(QStringLiteral("mySerial"), m_ravik->wrapper());
    context->setContextProperty(QStringLiteral("linkStatus"), m_ravik->linkStatus());
    context->setContextProperty(QStringLiteral("replay"), m_ravik->replay());
    context->setContextProperty(QStringLiteral("messageModel"), &m_messages);
    context->setContextProperty(QStringLiteral("valueText"), &m_valueText);
    context->setContextProperty(QStringLiteral("baudRate"), &m_baudRate);
    publishV2(options, store);
    m_input.emplace(*m_ravik, store);
    context->setContextProperty(QStringLiteral("inputControl"), &*m_input);
    m_history.emplace(m_ravik->session());
    m_history->followChosen(m_v2->devices());
    context->setContextProperty(QStringLiteral("telemetryHistory"), &*m_history);
    registerQmlTypes();
    m_recorder.emplace(m_ravik->session(), store);
    context->setContextProperty(QStringLiteral("recorder"), &*m_recorder);

    const QString port = options.port.isEmpty() ? m_settings.port() : options.port;
    QString baud = options.baud.isEmpty() ? m_settings.baud() : options.baud;
    if (baud.isEmpty())
        baud = DefaultBaud;
    m_portChoice.emplace(port);
    context->setContextProperty(QStringLiteral("portChoice"), &*m_portChoice);
    context->setContextProperty(QStringLiteral("startBaud"), baud);

    m_notices.emplace(*m_ravik);
    QObject::connect(&*m_ravik, &Ravik::addMessage, &*m_notices, &NoticeFilter::take);
    QObject::connect(&*m_notices, &NoticeFilter::passed, &m_messages, &MessageModel::add);
    QObject::connect(&*m_notices, &NoticeFilter::withdrawn, &m_messages, &MessageModel::remove);
    QObject::connect(&*m_recorder, &Recorder::message, &m_messages, &MessageModel::add);
    // Choices made from here on are the user's; the start language above is not one.
    Ravik *ravik = &*m_ravik;
    QObject::connect(&m_qmlLanguage, &QmlLanguage::languageChanged, ravik, [this, ravik] {
        ravik->setLanguage(m_qmlLanguage.language());
        m_settings.rememberLanguage(m_qmlLanguage.language());
        m_portChoice->requestShow();
    });
    QObject::connect(&*m_portChoice, &PortChoice::chosen, ravik, &Ravik::cancelReopen);
    QObject::connect(ravik, &Ravik::serialIsOpenChanged, ravik, [this, ravik] {
        if (ravik->serialIsOpen() && !ravik->replaying())
            m_settings.rememberPort(ravik->portName(), ravik->baudRate());
    });
    if (!options.port.isEmpty())
        ravik->switchSerial(options.port, baud);
    if (!options.replayFile.isEmpty())
        ravik->openReplay(options.replayFile);
    if (!options.recordFile.isEmpty())
        m_recorder->startTo(options.recordFile);
}

void Wiring::publishV2(const StartOptions &options, QSettings *store)
{
    const GimbalV2Link::Ids ids =
        GimbalV2Link::Ids{}.orGiven(options.systemId, options.componentId);
    m_v2.emplace(
        *m_ravik, ids,
        GimbalV2Link::VehicleIds.orGiven(options.vehicleSystemId, options.vehicleComponentId));
    ProtocolSelector *selector = m_v2->selector();
    const QString protocol = options.protocol.isEmpty() ? m_settings.protocol() : options.protocol;
    selector->setChoice(ProtocolSelector::choiceNamed(protocol).value_or(ProtocolSelector::Auto));
    // From here on a choice is the user's, made in the window.
    QObject::connect(selector, &ProtocolSelector::choiceChanged, selector, [this, selector] {
        m_settings.rememberProtocol(ProtocolSelector::nameOf(selector->choice()));
    });
    m_angles.emplace(*m_ravik, *m_v2, store);

    QQmlContext *context = m_engine.rootContext();
    context->setContextProperty(QStringLiteral("gimbalV2"), &*m_v2);
    context->setContextProperty(QStringLiteral("protocolSelector"), selector);
    context->setContextProperty(QStringLiteral("v2Devices"), m_v2->devices());
    context->setContextProperty(QStringLiteral("v2Status"), m_v2->status());
    context->setContextProperty(QStringLiteral("v2Information"), m_v2->information());
    context->setContextProperty(QStringLiteral("managerControl"), m_v2->managerControl());
    context->setContextProperty(QStringLiteral("angleDisplay"), &*m_angles);

    // The parameters are asked as the tool's v2 identity, a ground station's.
    m_params.emplace(m_ravik->session(), ids.system, ids.component);
    feedParamComponents(*m_params, *m_v2, m_ravik->session());
    m_paramPanel.emplace(*m_params);
    context->setContextProperty(QStringLiteral("paramPanel"), &*m_paramPanel);
}

Wiring::~Wiring()
{
    qDeleteAll(m_engine.rootObjects());
}
