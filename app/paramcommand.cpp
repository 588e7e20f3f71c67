#include "paramcommand.h"

#include "paramsources.h"
#include "startuplanguage.h"
#include "terminationsignals.h"

#include <paramdiff.h>

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QTextStream>
#include <QTranslator>

namespace {
// A gimbal talks within a second or two of its first heartbeat and answers a list request
// within another; a link where nothing has answered after this long has no parameters to give.
constexpr int kAnswerWaitMs = 10000;
const QString DefaultBaud = QStringLiteral("115200");

GimbalV2Link::Ids toolIds(const StartOptions &options)
{
    return GimbalV2Link::Ids{}.orGiven(options.systemId, options.componentId);
}
} // namespace

ParamCommand::ParamCommand(const StartOptions &options, QObject *parent)
    : QObject(parent), m_options(options), m_v2(m_ravik, toolIds(options)),
      m_client(m_ravik.session(), toolIds(options).system, toolIds(options).component)
{
    m_v2.selector()->setChoice(
        ProtocolSelector::choiceNamed(options.protocol).value_or(ProtocolSelector::Auto));
    feedParamComponents(m_client, m_v2, m_ravik.session());
    connect(&m_client, &ParamClient::answeredChanged, this, &ParamCommand::answered);
    connect(&m_client, &ParamClient::downloadEnded, this, &ParamCommand::downloadEnded);
    connect(&m_client, &ParamClient::writeEnded, this, &ParamCommand::writeEnded);
    connect(&m_ravik.session(), &MavlinkSession::openChanged, this, &ParamCommand::linkChanged);
    m_answerWait.setSingleShot(true);
    m_answerWait.setInterval(kAnswerWaitMs);
    connect(&m_answerWait, &QTimer::timeout, this, [this] {
        fail(tr("%1 秒内 %2 上没有组件回应参数请求").arg(kAnswerWaitMs / 1000).arg(m_options.port));
    });
}

ParamCommand::~ParamCommand()
{
    disconnect(&m_ravik.session(), nullptr, this, nullptr);
}

int ParamCommand::run(const StartOptions &options)
{
    // Standard output and error are the command's answer; the controller's debug lines are not.
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    QTranslator translator;
    installStartupCatalogue(translator,
                            options.language >= 0 ? options.language : systemLanguage());
    TerminationSignals termination;
    ParamCommand command(options);
    QObject::connect(&termination, &TerminationSignals::received, &command,
                     [&command] { command.fail(tr("被信号中止")); });
    QObject::connect(&command, &ParamCommand::finished, &QCoreApplication::exit);
    QTimer::singleShot(0, &command, &ParamCommand::start);
    return QCoreApplication::exec();
}

void ParamCommand::start()
{
    // A file that cannot be read whole is not half applied: nothing goes to the link.
    if (!m_options.paramsLoad.isEmpty()) {
        m_file = loadParamFile(m_options.paramsLoad);
        for (const QString &line : qAsConst(m_file.problems))
            problem(QStringLiteral("%1: %2").arg(m_options.paramsLoad, line));
        if (m_problems > 0)
            return finish(1);
    }
    QString why;
    const QMetaObject::Connection messages = connect(
        &m_ravik, &Ravik::addMessage, this, [&why](const QString &message) { why = message; });
    m_ravik.switchSerial(m_options.port, m_options.baud.isEmpty() ? DefaultBaud : m_options.baud);
    disconnect(messages);
    if (!m_ravik.serialIsOpen() && !m_ravik.awaitingPort())
        return fail(why);
    m_answerWait.start();
    if (m_options.paramsSystem > 0) {
        const auto system = static_cast<std::uint8_t>(m_options.paramsSystem);
        const auto component = static_cast<std::uint8_t>(m_options.paramsComponent);
        m_client.addComponent(system, component, ParamClient::Role::Named);
        m_target = m_client.find(system, component);
        m_client.refresh(m_target);
    } else {
        m_client.setActive(true);
    }
}

void ParamCommand::answered()
{
    if (!m_target && !m_client.answered().empty())
        m_target = m_client.answered().front();
    if (m_target && m_target->download().count() > 0)
        m_answerWait.stop();
}

void ParamCommand::downloadEnded(ParamComponent *component)
{
    if (m_done || component != m_target)
        return;
    const ParamDownload &download = component->download();
    if (download.count() == 0)
        return fail(tr("%1 没有回应参数请求").arg(component->name()));
    say(tr("%1：%2 个参数，用时 %3 秒；%4")
            .arg(component->name())
            .arg(download.received())
            .arg(download.elapsed(m_client.now()) / 1000.0, 0, 'f', 2)
            .arg(component->encoding()->text));
    if (download.state() != ParamDownload::State::Complete)
        return fail(download.failureText());
    if (!m_options.paramsSave.isEmpty())
        save();
    else
        compare();
}

void ParamCommand::save()
{
    const QString error = saveParamFile(m_options.paramsSave, m_target->values(),
                                        m_target->system(), m_target->component());
    if (!error.isEmpty())
        return fail(error);
    say(tr("已将 %1 个参数保存到 %2").arg(m_target->values().size()).arg(m_options.paramsSave));
    finish(0);
}

void ParamCommand::compare()
{
    const ParamComparison comparison =
        compareParams(m_target->values(), m_file.entries, m_target->encoding()->encoding);
    for (const ParamChange &change : comparison.changes)
        say(QStringLiteral("%1: %2 → %3")
                .arg(change.device.name(), change.device.text(), change.file.text()));
    for (const ParamFileEntry &entry : comparison.unknown)
        problem(tr("%1：设备没有此参数").arg(entry.name));
    for (const ParamMisfit &misfit : comparison.misfits)
        problem(QStringLiteral("%1: %2").arg(misfit.entry.name, misfit.why));
    QVector<ParamValue> values;
    for (const ParamChange &change : comparison.changes)
        values.append(change.file);
    if (!m_options.paramsYes || values.isEmpty()) {
        if (!values.isEmpty())
            problem(tr("%1 个值与文件不同；未写入（加 --yes 写入）").arg(values.size()));
        return finish(m_problems > 0 ? 1 : 0);
    }
    m_client.write(m_target, values);
}

void ParamCommand::writeEnded(ParamComponent *component)
{
    if (m_done || component != m_target)
        return;
    for (const ParamWriter::Item &item : component->writer()->items()) {
        if (item.outcome == ParamWriter::Outcome::Refused)
            problem(tr("%1：被设备拒绝，仍为 %2").arg(item.wanted.name(), item.held.text()));
        else if (item.outcome != ParamWriter::Outcome::Confirmed)
            problem(tr("%1：写入未得到确认").arg(item.wanted.name()));
    }
    say(component->writer()->summary());
    finish(m_problems > 0 ? 1 : 0);
}

void ParamCommand::linkChanged()
{
    if (m_ravik.session().isOpen() || m_done)
        return;
    m_target = nullptr;
    fail(tr("链路已断开"));
}

void ParamCommand::fail(const QString &problem)
{
    this->problem(problem);
    finish(1);
}

void ParamCommand::problem(const QString &problem)
{
    ++m_problems;
    QTextStream(stderr) << "gimbal: " << problem << '\n';
}

void ParamCommand::say(const QString &line)
{
    QTextStream(stdout) << line << '\n';
}

void ParamCommand::finish(int exitCode)
{
    if (m_done)
        return;
    m_done = true;
    emit finished(exitCode);
}
