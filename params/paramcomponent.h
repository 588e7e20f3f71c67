// One component's parameters as the tool learns them over the link: who it is, the download of
// its set, the encoding its values are read in and what decided it, the values it holds now, and
// the write under way. Driven on the caller's clock, as the download and write machines are.
#pragma once

#include "paramdownload.h"
#include "paramencoding.h"
#include "paramwriter.h"

#include <QCoreApplication>
#include <QHash>
#include <QVector>

#include <cstdint>
#include <optional>

class ParamComponent
{
    Q_DECLARE_TR_FUNCTIONS(ParamComponent)

public:
    // What the tool knows it as: a v2 gimbal device, the gimbal of GIMBAL_REPORT, a component
    // whose heartbeat names an autopilot, or one that the user named.
    enum class Role { GimbalDevice, ReportGimbal, Autopilot, Named };

    ParamComponent(std::uint8_t system, std::uint8_t component, Role role);

    std::uint8_t system() const { return m_system; }
    std::uint8_t component() const { return m_component; }
    Role role() const { return m_role; }
    void setRole(Role role) { m_role = role; }
    // "1/154 v2 gimbal device", in the installed language.
    QString name() const;

    void setHeartbeat(std::uint8_t autopilot, std::uint8_t type);

    // AUTOPILOT_VERSION is asked for once, when the first download starts; what comes of it, or
    // a short wait without an answer, decides the encoding.
    bool versionDue() const { return m_versionState == Version::Due; }
    void versionAsked(qint64 now);
    void takeCapabilities(std::uint64_t capabilities);
    // The request was refused or is not known.
    void versionRefused();
    // Once decided.
    const std::optional<ParamEncodingChoice> &encoding() const { return m_encoding; }

    void startDownload(qint64 now);
    ParamDownload &download() { return m_download; }
    const ParamDownload &download() const { return m_download; }
    // The values it holds, in index order, once a download has ended and the encoding is
    // decided: every parameter, or those that came.
    bool hasValues() const { return m_hasValues; }
    const QVector<ParamValue> &values() const { return m_values; }

    // Starts writing `values` (at most one write at a time, once the values are there). The
    // values that cannot go are left out and returned by name.
    QStringList startWrite(const QVector<ParamValue> &values);
    const std::optional<ParamWriter> &writer() const { return m_writer; }
    std::optional<ParamWriter> &writer() { return m_writer; }
    bool writing() const { return m_writer && !m_writer->finished(); }

    // A PARAM_VALUE of the component: for the download, the write, and the value it holds.
    void take(const mavlink_param_value_t &value, qint64 now);
    // Moves on with time: decides the encoding once the wait is over, and makes the values once
    // the download has ended. True when something the user sees changed.
    bool settle(qint64 now);

private:
    enum class Version { Due, Asked, Answered };

    std::uint8_t m_system;
    std::uint8_t m_component;
    Role m_role;
    std::optional<std::uint8_t> m_autopilot;
    std::uint8_t m_type = 0;
    Version m_versionState = Version::Due;
    qint64 m_versionAskedAt = 0;
    std::optional<std::uint64_t> m_capabilities;
    std::optional<ParamEncodingChoice> m_encoding;
    ParamDownload m_download;
    bool m_hasValues = false;
    QVector<ParamValue> m_values;
    QHash<QString, int> m_positions;
    std::optional<ParamWriter> m_writer;
};
