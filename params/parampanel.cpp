#include "parampanel.h"

#include "paramclient.h"
#include "paramfile.h"

#include <QDir>

namespace {
constexpr int kClockTickMs = 200;
} // namespace

ParamPanel::ParamPanel(ParamClient &client, QObject *parent) : QObject(parent), m_client(client)
{
    m_clockTick.setInterval(kClockTickMs);
    connect(&m_clockTick, &QTimer::timeout, this, &ParamPanel::progressChanged);
    connect(&client, &ParamClient::answeredChanged, this, &ParamPanel::answeredChanged);
    connect(&client, &ParamClient::changed, this, &ParamPanel::componentChanged);
    connect(&client, &ParamClient::writeEnded, this, &ParamPanel::writeEnded);
}

void ParamPanel::setActive(bool active)
{
    if (active == m_active)
        return;
    m_active = active;
    m_client.setActive(active);
    emit activeChanged();
    emit progressChanged();
}

QStringList ParamPanel::components() const
{
    QStringList names;
    for (const ParamComponent *component : m_client.answered())
        names.append(component->name());
    return names;
}

void ParamPanel::setCurrent(int index)
{
    if (index == m_current || index < -1 || index >= static_cast<int>(m_client.answered().size()))
        return;
    m_current = index;
    m_table.clear();
    closePreview();
    showValues();
    emit currentChanged();
    emit progressChanged();
}

ParamComponent *ParamPanel::picked() const
{
    return m_current >= 0 ? m_client.answered()[static_cast<std::size_t>(m_current)] : nullptr;
}

int ParamPanel::received() const
{
    return picked() ? picked()->download().received() : 0;
}

int ParamPanel::count() const
{
    return picked() ? picked()->download().count() : 0;
}

bool ParamPanel::downloading() const
{
    return picked() && picked()->download().state() == ParamDownload::State::Running;
}

QString ParamPanel::progressText() const
{
    if (!picked())
        return QString();
    const double seconds = picked()->download().elapsed(m_client.now()) / 1000.0;
    return tr("%1 / %2 · %3 秒")
        .arg(received())
        .arg(count())
        .arg(QString::number(seconds, 'f', seconds < 10 ? 2 : 1));
}

QString ParamPanel::statusText() const
{
    const ParamComponent *component = picked();
    if (!component) {
        return m_client.downloading() ? tr("正在询问链路上的组件…") : tr("还没有组件回应参数请求");
    }
    QString status;
    switch (component->download().state()) {
    case ParamDownload::State::Complete:
        status = tr("已读取全部参数");
        break;
    case ParamDownload::State::Failed:
        status = component->download().failureText();
        break;
    default:
        status = tr("正在读取…");
        break;
    }
    if (component->encoding())
        status += tr("；") + component->encoding()->text;
    return status;
}

bool ParamPanel::hasValues() const
{
    return picked() && picked()->hasValues();
}

bool ParamPanel::complete() const
{
    return hasValues() && picked()->download().state() == ParamDownload::State::Complete;
}

bool ParamPanel::writing() const
{
    return picked() && picked()->writing();
}

bool ParamPanel::canWriteChanges() const
{
    return m_previewing && hasValues() && !writing() && m_changes.problems().isEmpty() &&
           !m_changes.comparison().changes.isEmpty();
}

void ParamPanel::refresh()
{
    if (ParamComponent *component = picked()) {
        m_client.refresh(component);
        m_table.clear();
        closePreview();
        emit progressChanged();
    }
}

bool ParamPanel::edit(int row, const QString &text)
{
    const QString refusal = m_table.edit(row, text);
    setMessage(refusal);
    return refusal.isEmpty();
}

void ParamPanel::writeEdits()
{
    write(m_table.edits());
    m_table.clearEdits();
}

QString ParamPanel::suggestedFile() const
{
    const ParamComponent *component = picked();
    if (!component)
        return QString();
    return QDir::home().filePath(
        QStringLiteral("params-%1-%2.params").arg(component->system()).arg(component->component()));
}

bool ParamPanel::save(const QString &path)
{
    const ParamComponent *component = picked();
    if (!complete()) {
        setMessage(tr("参数尚未全部读取，未保存"));
        return false;
    }
    const QString error =
        saveParamFile(path, component->values(), component->system(), component->component());
    setMessage(error.isEmpty()
                   ? tr("已将 %1 个参数保存到 %2").arg(component->values().size()).arg(path)
                   : error);
    return error.isEmpty();
}

void ParamPanel::load(const QString &path)
{
    const ParamComponent *component = picked();
    if (!hasValues())
        return;
    const ParamFileContents contents = loadParamFile(path);
    m_changes.show(
        compareParams(component->values(), contents.entries, component->encoding()->encoding),
        contents.problems);
    m_previewing = true;
    setMessage(QString());
    emit previewChanged();
}

void ParamPanel::writeChanges()
{
    if (!canWriteChanges())
        return;
    write(m_changes.values());
    closePreview();
}

void ParamPanel::closePreview()
{
    if (!m_previewing)
        return;
    m_previewing = false;
    m_changes.clear();
    emit previewChanged();
}

void ParamPanel::answeredChanged()
{
    const int count = static_cast<int>(m_client.answered().size());
    emit componentsChanged();
    if (m_current >= count) {
        m_current = -1;
        m_table.clear();
        closePreview();
        emit currentChanged();
    }
    // The first to answer is shown at once.
    if (m_current < 0 && count > 0)
        setCurrent(0);
    emit progressChanged();
}

void ParamPanel::componentChanged(ParamComponent *component)
{
    if (component != picked())
        return;
    if (downloading())
        m_clockTick.start();
    else
        m_clockTick.stop();
    showValues();
    emit progressChanged();
    emit previewChanged();
}

void ParamPanel::writeEnded(ParamComponent *component)
{
    if (component == picked())
        setMessage(component->writer()->summary());
}

void ParamPanel::showValues()
{
    const ParamComponent *component = picked();
    if (!component || !component->hasValues())
        return;
    const std::optional<ParamWriter> &writer = component->writer();
    m_table.show(component->values(), component->encoding()->encoding, writer ? &*writer : nullptr);
}

void ParamPanel::setMessage(const QString &message)
{
    if (message == m_message)
        return;
    m_message = message;
    emit messageChanged();
}

void ParamPanel::write(const QVector<ParamValue> &values)
{
    ParamComponent *component = picked();
    if (!component || values.isEmpty() || writing())
        return;
    const QStringList left = m_client.write(component, values);
    setMessage(left.isEmpty() ? tr("正在写入 %1 个参数…").arg(values.size())
                              : tr("无法经值字段准确传送，未写入：%1").arg(left.join(tr("、"))));
}
